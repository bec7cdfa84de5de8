#include "keymodel/KeyTables.h"

#include <algorithm>
#include <cstddef>

// Every constant fact about keys is typed in here once; the other tables are derived from
// these rows at compile time so that they cannot disagree with them.

namespace vantor {
namespace {

// A named row of the key table.
struct NamedRowSource {
    KeyCode code;
    const char* languageKey;
    const char* englishName;
    uint8_t vk;
    uint8_t deviceCode;
    uint16_t ordinal;
};

// A key of the key list: its row plus its button and LED position.
struct KeyListSource {
    NamedRowSource row;
    uint16_t buttonId;
    uint8_t ledPosition;
    uint8_t altVk = 0;  // 0: same as vk (only the numeric-pad keys differ)
};

// In key-list order (position 0 first).
constexpr KeyListSource kKeyListSource[] = {
    {{0x01E, "IDS_KEYBOARD_A", "A", 0x41, 0x04, 0}, 1058, 64},
    {{0x030, "IDS_KEYBOARD_B", "B", 0x42, 0x05, 1}, 1075, 90},
    {{0x02E, "IDS_KEYBOARD_C", "C", 0x43, 0x06, 2}, 1073, 88},
    {{0x020, "IDS_KEYBOARD_D", "D", 0x44, 0x07, 3}, 1060, 66},
    {{0x012, "IDS_KEYBOARD_E", "E", 0x45, 0x08, 4}, 1046, 45},
    {{0x021, "IDS_KEYBOARD_F", "F", 0x46, 0x09, 5}, 1061, 67},
    {{0x022, "IDS_KEYBOARD_G", "G", 0x47, 0x0A, 6}, 1062, 68},
    {{0x023, "IDS_KEYBOARD_H", "H", 0x48, 0x0B, 7}, 1063, 69},
    {{0x017, "IDS_KEYBOARD_I", "I", 0x49, 0x0C, 8}, 1051, 50},
    {{0x024, "IDS_KEYBOARD_J", "J", 0x4A, 0x0D, 9}, 1064, 70},
    {{0x025, "IDS_KEYBOARD_K", "K", 0x4B, 0x0E, 10}, 1065, 71},
    {{0x026, "IDS_KEYBOARD_L", "L", 0x4C, 0x0F, 11}, 1066, 72},
    {{0x032, "IDS_KEYBOARD_M", "M", 0x4D, 0x10, 12}, 1077, 92},
    {{0x031, "IDS_KEYBOARD_N", "N", 0x4E, 0x11, 13}, 1076, 91},
    {{0x018, "IDS_KEYBOARD_O", "O", 0x4F, 0x12, 14}, 1052, 51},
    {{0x019, "IDS_KEYBOARD_P", "P", 0x50, 0x13, 15}, 1053, 52},
    {{0x010, "IDS_KEYBOARD_Q", "Q", 0x51, 0x14, 16}, 1044, 43},
    {{0x013, "IDS_KEYBOARD_R", "R", 0x52, 0x15, 17}, 1047, 46},
    {{0x01F, "IDS_KEYBOARD_S", "S", 0x53, 0x16, 18}, 1059, 65},
    {{0x014, "IDS_KEYBOARD_T", "T", 0x54, 0x17, 19}, 1048, 47},
    {{0x016, "IDS_KEYBOARD_U", "U", 0x55, 0x18, 20}, 1050, 49},
    {{0x02F, "IDS_KEYBOARD_V", "V", 0x56, 0x19, 21}, 1074, 89},
    {{0x011, "IDS_KEYBOARD_W", "W", 0x57, 0x1A, 22}, 1045, 44},
    {{0x02D, "IDS_KEYBOARD_X", "X", 0x58, 0x1B, 23}, 1072, 87},
    {{0x015, "IDS_KEYBOARD_Y", "Y", 0x59, 0x1C, 24}, 1049, 48},
    {{0x02C, "IDS_KEYBOARD_Z", "Z", 0x5A, 0x1D, 25}, 1071, 86},
    {{0x002, "IDS_KEYBOARD_1", "1", 0x31, 0x1E, 26}, 1030, 22},
    {{0x003, "IDS_KEYBOARD_2", "2", 0x32, 0x1F, 27}, 1031, 23},
    {{0x004, "IDS_KEYBOARD_3", "3", 0x33, 0x20, 28}, 1032, 24},
    {{0x005, "IDS_KEYBOARD_4", "4", 0x34, 0x21, 29}, 1033, 25},
    {{0x006, "IDS_KEYBOARD_5", "5", 0x35, 0x22, 30}, 1034, 26},
    {{0x007, "IDS_KEYBOARD_6", "6", 0x36, 0x23, 31}, 1035, 27},
    {{0x008, "IDS_KEYBOARD_7", "7", 0x37, 0x24, 32}, 1036, 28},
    {{0x009, "IDS_KEYBOARD_8", "8", 0x38, 0x25, 33}, 1037, 29},
    {{0x00A, "IDS_KEYBOARD_9", "9", 0x39, 0x26, 34}, 1038, 30},
    {{0x00B, "IDS_KEYBOARD_0", "0", 0x30, 0x27, 35}, 1039, 31},
    {{0x01C, "IDS_KEYBOARD_ENTER", "Enter", 0x0D, 0x28, 36}, 1070, 76},
    {{0x001, "IDS_KEYBOARD_ESC", "Esc", 0x1B, 0x29, 37}, 1022, 0},
    {{0x00E, "IDS_KEYBOARD_BS", "Backspace", 0x08, 0x2A, 38}, 1043, 34},
    {{0x00F, "IDS_KEYBOARD_TAB", "Tab", 0x09, 0x2B, 39}, 1056, 42},
    {{0x039, "IDS_KEYBOARD_SPACE", "Space", 0x20, 0x2C, 40}, 1090, 108},
    {{0x00C, "IDS_KEYBOARD_MINUS", "-", 0xBD, 0x2D, 41}, 1040, 32},
    {{0x00D, "IDS_KEYBOARD_EQU", "=", 0xBB, 0x2E, 42}, 1041, 33},
    {{0x01A, "IDS_KEYBOARD_SB1", "[", 0xDB, 0x2F, 43}, 1054, 53},
    {{0x01B, "IDS_KEYBOARD_SB2", "]", 0xDD, 0x30, 44}, 1055, 54},
    {{0x02B, "IDS_KEYBOARD_AV", "\\", 0xDC, 0x31, 45}, 1042, 55},
    {{0x027, "IDS_KEYBOARD_SEM", ";", 0xBA, 0x33, 46}, 1067, 73},
    {{0x028, "IDS_KEYBOARD_QUOT", "'", 0xDE, 0x34, 47}, 1068, 74},
    {{0x029, "IDS_KEYBOARD_AID1", "`", 0xC0, 0x35, 48}, 1029, 21},
    {{0x033, "IDS_KEYBOARD_COMMA", ",", 0xBC, 0x36, 49}, 1078, 93},
    {{0x034, "IDS_KEYBOARD_PER", ".", 0xBE, 0x37, 50}, 1079, 94},
    {{0x035, "IDS_KEYBOARD_VIR", "/", 0xBF, 0x38, 51}, 1080, 95},
    {{0x03B, "IDS_KEYBOARD_F1", "F1", 0x70, 0x3A, 52}, 1010, 1},
    {{0x03C, "IDS_KEYBOARD_F2", "F2", 0x71, 0x3B, 53}, 1011, 2},
    {{0x03D, "IDS_KEYBOARD_F3", "F3", 0x72, 0x3C, 54}, 1012, 3},
    {{0x03E, "IDS_KEYBOARD_F4", "F4", 0x73, 0x3D, 55}, 1013, 4},
    {{0x03F, "IDS_KEYBOARD_F5", "F5", 0x74, 0x3E, 56}, 1014, 5},
    {{0x040, "IDS_KEYBOARD_F6", "F6", 0x75, 0x3F, 57}, 1015, 6},
    {{0x041, "IDS_KEYBOARD_F7", "F7", 0x76, 0x40, 58}, 1023, 7},
    {{0x042, "IDS_KEYBOARD_F8", "F8", 0x77, 0x41, 59}, 1024, 8},
    {{0x043, "IDS_KEYBOARD_F9", "F9", 0x78, 0x42, 60}, 1025, 9},
    {{0x044, "IDS_KEYBOARD_F10", "F10", 0x79, 0x43, 61}, 1026, 10},
    {{0x057, "IDS_KEYBOARD_F11", "F11", 0x7A, 0x44, 62}, 1027, 11},
    {{0x058, "IDS_KEYBOARD_F12", "F12", 0x7B, 0x45, 63}, 1028, 12},
    {{0x137, "IDS_KEYBOARD_PRINT", "Print Screen", 0x2C, 0x46, 64}, 1091, 14},
    {{0x045, "IDS_KEYBOARD_PAUSE", "Pause", 0x13, 0x48, 65}, 1093, 16},
    {{0x152, "IDS_KEYBOARD_INSERT", "Insert", 0x2D, 0x49, 67}, 1094, 35},
    {{0x153, "IDS_KEYBOARD_DELETE", "Delete", 0x2E, 0x4C, 68}, 1097, 56},
    {{0x147, "IDS_KEYBOARD_HOME", "Home", 0x24, 0x4A, 69}, 1095, 36},
    {{0x14F, "IDS_KEYBOARD_END", "End", 0x23, 0x4D, 70}, 1098, 57},
    {{0x149, "IDS_KEYBOARD_PAGE_UP", "Page Up", 0x21, 0x4B, 71}, 1096, 37},
    {{0x151, "IDS_KEYBOARD_PAGE_DOWN", "Page Down", 0x22, 0x4E, 72}, 1099, 58},
    {{0x148, "IDS_KEYBOARD_UP", "↑", 0x26, 0x52, 73}, 1103, 99},
    {{0x150, "IDS_KEYBOARD_DOWN", "↓", 0x28, 0x51, 74}, 1101, 120},
    {{0x14B, "IDS_KEYBOARD_LEFT", "←", 0x25, 0x50, 75}, 1100, 119},
    {{0x14D, "IDS_KEYBOARD_RIGHT", "→", 0x27, 0x4F, 76}, 1102, 121},
    {{0x046, "IDS_KEYBOARD_SCROLL", "Scroll Lock", 0x91, 0x47, 77}, 1092, 15},
    {{0x03A, "IDS_KEYBOARD_CAPS", "Caps Lock", 0x14, 0x39, 78}, 1069, 63},
    {{0x15D, "IDS_KEYBOARD_APP", "App", 0x5D, 0x65, 97}, 1088, 111},
    {{0x01D, "IDS_KEYBOARD_LCTRL", "Ctrl", 0xA2, 0xE0, 98}, 1083, 105},
    {{0x11D, "IDS_KEYBOARD_RCTRL", "Right Ctrl", 0xA3, 0xE4, 102}, 1089, 113},
    {{0x02A, "IDS_KEYBOARD_LSHIFT", "Shift", 0xA0, 0xE1, 99}, 1082, 84},
    {{0x036, "IDS_KEYBOARD_RSHIFT", "Right Shift", 0xA1, 0xE5, 103}, 1081, 97},
    {{0x038, "IDS_KEYBOARD_LALT", "Alt", 0xA4, 0xE2, 100}, 1085, 107},
    {{0x138, "IDS_KEYBOARD_RALT", "Right Alt", 0xA5, 0xE6, 104}, 1086, 109},
    {{0x15B, "IDS_KEYBOARD_LWIN", "Win", 0x5B, 0xE3, 101}, 1084, 106},
    {{0x15C, "IDS_KEYBOARD_RWIN", "Right Win", 0x5C, 0xE7, 105}, 1087, 112},
    {{0x04F, "IDS_KEYBOARD_S_1", "Num 1", 0x61, 0x59, 85}, 1115, 101, 0x23},
    {{0x050, "IDS_KEYBOARD_S_2", "Num 2", 0x62, 0x5A, 86}, 1116, 102, 0x28},
    {{0x051, "IDS_KEYBOARD_S_3", "Num 3", 0x63, 0x5B, 87}, 1117, 103, 0x22},
    {{0x04B, "IDS_KEYBOARD_S_4", "Num 4", 0x64, 0x5C, 88}, 1112, 80, 0x25},
    {{0x04C, "IDS_KEYBOARD_S_5", "Num 5", 0x65, 0x5D, 89}, 1113, 81, 0x0C},
    {{0x04D, "IDS_KEYBOARD_S_6", "Num 6", 0x66, 0x5E, 90}, 1114, 82, 0x27},
    {{0x047, "IDS_KEYBOARD_S_7", "Num 7", 0x67, 0x5F, 91}, 1108, 59, 0x24},
    {{0x048, "IDS_KEYBOARD_S_8", "Num 8", 0x68, 0x60, 92}, 1109, 60, 0x26},
    {{0x049, "IDS_KEYBOARD_S_9", "Num 9", 0x69, 0x61, 93}, 1110, 61, 0x21},
    {{0x052, "IDS_KEYBOARD_S_0", "Num 0", 0x60, 0x62, 94}, 1120, 123, 0x2D},
    {{0x145, "IDS_KEYBOARD_NUM", "Num Lock", 0x90, 0x53, 79}, 1104, 38},
    {{0x11C, "IDS_KEYBOARD_S_ENTER", "Num Enter", 0x0D, 0x58, 84}, 1118, 104},
    {{0x053, "IDS_KEYBOARD_S_DEL", "Num .", 0x6E, 0x63, 95}, 1119, 124, 0x2E},
    {{0x135, "IDS_KEYBOARD_S_VIR", "Num /", 0x6F, 0x54, 80}, 1105, 39},
    {{0x037, "IDS_KEYBOARD_S_AST", "Num *", 0x6A, 0x55, 81}, 1106, 40},
    {{0x04A, "IDS_KEYBOARD_S_MINUS", "Num -", 0x6D, 0x56, 82}, 1107, 41},
    {{0x04E, "IDS_KEYBOARD_S_PLUS", "Num +", 0x6B, 0x57, 83}, 1111, 62},
    {{0x056, "IDS_KEYBOARD_K45", "K45", 0xE2, 0x64, 96}, 1199, 85},
    {{0x073, "IDS_KEYBOARD_K56", "K56", 0xC1, 0x87, 0x8014}, 1200, 96},
};
static_assert(std::size(kKeyListSource) == kKeyListSize);

// The other named rows, by key code.
constexpr NamedRowSource kOtherRowSource[] = {
    {0x054, "IDS_KEYBOARD_SYSREQ", "Sys Req", 0x2C, 0x00, 0x8012},
    {0x064, "", "F13", 0x7C, 0x00, 0x802D},
    {0x070, "IDS_KEYBOARD_ROMA", "ROMA (133)", 0xFF, 0x88, 0x8018},
    {0x071, "IDS_KEYBOARD_KL", "KL", 0xE9, 0x91, 0x8019},
    {0x072, "IDS_KEYBOARD_KR", "KR", 0xFF, 0x90, 0x801A},
    {0x079, "IDS_KEYBOARD_CHG", "CHG (132)", 0xFF, 0x8A, 0x8017},
    {0x07B, "IDS_KEYBOARD_N_CHG", "N-CHG (131)", 0xEB, 0x8B, 0x8016},
    {0x07D, "IDS_KEYBOARD_K14", "K14", 0xFF, 0x89, 0x8013},
    {0x07E, "IDS_KEYBOARD_K107", "K107", 0xC2, 0x85, 0x8015},
    {0x110, "MEDIA_PREV_TRACK_4", "Prev Track", 0xB1, 0xD0, 0x8021},
    {0x119, "MEDIA_Next_TRACK_5", "Next Track", 0xB0, 0xD1, 0x8022},
    {0x120, "MEDIA_MUTE_8", "Mute", 0xAD, 0xCD, 0x8025},
    {0x121, "MEDIA_CALC_17", "Calc", 0xB7, 0xC4, 0x801C},
    {0x122, "MEDIA_PALY_PAUSE_2", "Play/Pause", 0xB3, 0xCE, 0x801F},
    {0x124, "MEDIA_STOP_PALY_3", "Stop Play", 0xB2, 0xCF, 0x8020},
    {0x12E, "MEDIA_V_LOW_6", "V-", 0xAE, 0xC1, 0x8024},
    {0x130, "MEDIA_V_ADD_7", "V+", 0xAF, 0xC0, 0x8023},
    {0x132, "MEDIA_WWW_HOME_9", "WWW Home", 0xAC, 0xC7, 0x8026},
    {0x136, "IDS_KEYBOARD_RSHIFT", "Right Shift", 0xA1, 0xE5, 103},
    {0x146, "IDS_KEYBOARD_BREAK", "Break", 0x03, 0x48, 66},
    {0x15E, "IDS_KEYBOARD_POWER", "Power", 0xFF, 0x81, 0x8001},
    {0x15F, "IDS_KEYBOARD_SLEEP", "Sleep", 0x5F, 0x82, 0x8002},
    {0x161, "IDS_KEYBOARD_ROLL_UP", "Roll Up", 0xD1, 0xF4, 110},
    {0x162, "IDS_KEYBOARD_ROLL_DOWN", "Roll Down", 0xD2, 0xF5, 111},
    {0x163, "IDS_KEYBOARD_WAKE", "Wake", 0xFF, 0x83, 0x8003},
    {0x165, "MEDIA_WWW_SEARCH_15", "WWW Search", 0xAA, 0xC6, 0x802C},
    {0x166, "MEDIA_WWW_FAVORITE_14", "WWW Favorite", 0xAB, 0xCC, 0x802B},
    {0x167, "MEDIA_WWW_REFRESH_10", "WWW Refresh", 0xA8, 0xCB, 0x8027},
    {0x168, "MEDIA_WWW_STOP_11", "WWW Stop", 0xA9, 0xCA, 0x8028},
    {0x169, "MEDIA_WWW_FORWARD_13", "WWW Forward", 0xA7, 0xC9, 0x802A},
    {0x16A, "MEDIA_WWW_BACK_12", "WWW Back", 0xA6, 0xC8, 0x8029},
    {0x16B, "MEDIA_MY_PC_16", "My PC", 0xB6, 0xC5, 0x801B},
    {0x16C, "MEDIA_MAIL_18", "Mail", 0xB4, 0xC3, 0x801D},
    {0x16D, "MEDIA_PALYER_1", "Media Player", 0xB5, 0xC2, 0x801E},
    {0x16E, "IDS_KEYBOARD_MOU_PANLEFT", "Pan Left", 0x88, 0x00, 0x8005},
    {0x16F, "IDS_KEYBOARD_MOU_PANRIGHT", "Pan Right", 0x89, 0x00, 0x8006},
    {0x170, "IDS_KEYBOARD_MOU_DBCLICK", "Double Click", 0x8A, 0x00, 0x8004},
    {0x171, "IDS_KEYBOARD_MOU_LEFT", "Left Button", 0x01, 0xF1, 107},
    {0x172, "IDS_KEYBOARD_MOU_RIGHT", "Right Button", 0x02, 0xF2, 108},
    {0x173, "IDS_KEYBOARD_MOU_MIDDLE", "Middle Button", 0x04, 0xF3, 109},
    {0x174, "IDS_KEYBOARD_FUNC_ZOOMOUT", "Zoom-", 0x8B, 0xD2, 0x8007},
    {0x175, "IDS_KEYBOARD_FUNC_ZOOMIN", "Zoom+", 0x8C, 0xD3, 0x8008},
    {0x176, "IDS_KEYBOARD_FUNC_COPY", "Copy", 0x97, 0x00, 0x8009},
    {0x177, "IDS_KEYBOARD_FUNC_CUT", "Cut", 0x98, 0x00, 0x800A},
    {0x178, "IDS_KEYBOARD_FUNC_PASTE", "Paste", 0x99, 0x00, 0x800B},
    {0x179, "IDS_KEYBOARD_FUNC_MINI", "Minimize", 0x9A, 0x00, 0x800C},
    {0x17A, "IDS_KEYBOARD_FUNC_MAXI", "Maximize", 0x9B, 0x00, 0x800D},
    {0x17B, "IDS_KEYBOARD_FUNC_WORD", "Word", 0x9C, 0xD4, 0x800E},
    {0x17C, "IDS_KEYBOARD_FUNC_EXCEL", "Excel", 0x9D, 0xD5, 0x800F},
    {0x17D, "IDS_KEYBOARD_FUNC_POWERPOINT", "PowerPoint", 0x9E, 0x00, 0x8010},
    {0x17E, "IDS_KEYBOARD_FUNC_CALENDAR", "Calendar", 0x9F, 0x00, 0x8011},
};

// Rows whose code appears twice would silently overwrite each other; the builder reports
// that as a compile error instead.
constexpr std::array<KeyRow, kKeyTableRows> BuildKeyTable() {
    std::array<KeyRow, kKeyTableRows> table{};
    std::array<bool, kKeyTableRows> used{};
    auto place = [&](KeyCode code, const KeyRow& row) {
        const int index = RowOfCode(code);
        if (!IsKeyTableRow(index) || used[index]) throw "key code placed twice or outside the table";
        used[index] = true;
        table[index] = row;
    };
    for (const KeyListSource& k : kKeyListSource) {
        const NamedRowSource& s = k.row;
        place(s.code, KeyRow{s.vk, k.altVk ? k.altVk : s.vk, s.ordinal, s.englishName, s.deviceCode,
                             s.languageKey});
    }
    for (const NamedRowSource& s : kOtherRowSource) {
        place(s.code, KeyRow{s.vk, s.vk, s.ordinal, s.englishName, s.deviceCode, s.languageKey});
    }
    return table;
}

// Virtual-key codes the mouse-pan, double-click, zoom and office rows use internally; no
// key produces them.
constexpr bool IsPseudoVk(int vk) { return (vk >= 0x88 && vk <= 0x8C) || (vk >= 0x97 && vk <= 0x9F); }

// Inverse of the VK column. Where rows share a code the lower row wins, which is the main
// block's key (Enter over numeric Enter, row 0x36 over 0xB6); the dedicated navigation keys
// come before the numeric pad's Num-Lock-off codes, which only fill codes nobody else has
// (VK_CLEAR). The generic modifiers give the left-hand keys, and VK_SNAPSHOT gives Print
// Screen, the key that produces it, rather than Sys Req (its Alt form).
constexpr std::array<uint8_t, 256> BuildVkTable(const std::array<KeyRow, kKeyTableRows>& keys) {
    std::array<uint8_t, 256> table{};
    for (int row = 0; row < kKeyTableRows; ++row) {
        const int vk = keys[row].vk;
        if (vk != 0xFF && !IsPseudoVk(vk) && table[vk] == 0) table[vk] = static_cast<uint8_t>(row);
    }
    for (int row = 0; row < kKeyTableRows; ++row) {
        const int vk = keys[row].altVk;
        if (vk != 0xFF && !IsPseudoVk(vk) && table[vk] == 0) table[vk] = static_cast<uint8_t>(row);
    }
    table[0x10] = 0x2A;  // VK_SHIFT -> Left Shift
    table[0x11] = 0x1D;  // VK_CONTROL -> Left Ctrl
    table[0x12] = 0x38;  // VK_MENU -> Left Alt
    table[0x2C] = 0xB7;  // VK_SNAPSHOT -> Print Screen
    return table;
}

template <typename T, std::size_t N, typename F>
constexpr std::array<T, N> FromKeyList(F field) {
    std::array<T, N> out{};
    for (std::size_t i = 0; i < N; ++i) out[i] = field(kKeyListSource[i]);
    return out;
}

}  // namespace

constexpr std::array<KeyRow, kKeyTableRows> KeyTable = BuildKeyTable();

constexpr std::array<uint8_t, 256> VkTable = BuildVkTable(KeyTable);

constexpr std::array<uint16_t, kConsumerSlots> ConsumerTable = {
    0x00E9,  // 0xC0 volume up
    0x00EA,  // 0xC1 volume down
    0x0183,  // 0xC2 media player
    0x018A,  // 0xC3 mail
    0x0192,  // 0xC4 calculator
    0x0194,  // 0xC5 my computer
    0x0221,  // 0xC6 search
    0x0223,  // 0xC7 home
    0x0224,  // 0xC8 back
    0x0225,  // 0xC9 forward
    0x0226,  // 0xCA stop
    0x0227,  // 0xCB refresh
    0x022A,  // 0xCC bookmarks
    0x00E2,  // 0xCD mute
    0x00CD,  // 0xCE play/pause
    0x00B7,  // 0xCF stop
    0x00B6,  // 0xD0 previous track
    0x00B5,  // 0xD1 next track
};

constexpr std::array<KeyCode, kKeyListSize> KeyList =
    FromKeyList<KeyCode, kKeyListSize>([](const KeyListSource& s) { return s.row.code; });
constexpr std::array<uint16_t, kKeyListSize> KeyListButtonIds =
    FromKeyList<uint16_t, kKeyListSize>([](const KeyListSource& s) { return s.buttonId; });
constexpr std::array<uint8_t, kKeyListSize> KeyListLedPositions =
    FromKeyList<uint8_t, kKeyListSize>([](const KeyListSource& s) { return s.ledPosition; });

constexpr std::array<uint16_t, kExtraKeyButtonCount> ExtraKeyButtonIds = {
    1000, 1001, 1002, 1003, 1004, 1140, 1141, 1142, 1143,
};

constexpr std::array<MediaEntry, kMediaCount> MediaList = {{
    {0x16D, 0x0183, "MEDIA_PALYER_1"},
    {0x122, 0x00CD, "MEDIA_PALY_PAUSE_2"},
    {0x124, 0x00B7, "MEDIA_STOP_PALY_3"},
    {0x110, 0x00B6, "MEDIA_PREV_TRACK_4"},
    {0x119, 0x00B5, "MEDIA_Next_TRACK_5"},
    {0x12E, 0x00EA, "MEDIA_V_LOW_6"},
    {0x130, 0x00E9, "MEDIA_V_ADD_7"},
    {0x120, 0x00E2, "MEDIA_MUTE_8"},
    {0x132, 0x0223, "MEDIA_WWW_HOME_9"},
    {0x167, 0x0227, "MEDIA_WWW_REFRESH_10"},
    {0x168, 0x0226, "MEDIA_WWW_STOP_11"},
    {0x16A, 0x0224, "MEDIA_WWW_BACK_12"},
    {0x169, 0x0225, "MEDIA_WWW_FORWARD_13"},
    {0x166, 0x022A, "MEDIA_WWW_FAVORITE_14"},
    {0x165, 0x0221, "MEDIA_WWW_SEARCH_15"},
    {0x16B, 0x0194, "MEDIA_MY_PC_16"},
    {0x121, 0x0192, "MEDIA_CALC_17"},
    {0x16C, 0x018A, "MEDIA_MAIL_18"},
}};

constexpr std::array<const char*, kFunctionCount> FunctionList = {
    "FUNC_KEY_DESC1", "FUNC_KEY_DESC2", "FUNC_KEY_DESC3", "FUNC_KEY_DESC4",
    "FUNC_KEY_DESC5", "FUNC_KEY_DESC6", "FUNC_KEY_DESC7", "FUNC_KEY_DESC8",
    "FUNC_KEY_DESC9", "FUNC_KEY_DESC10", "FUNC_KEY_DESC11",
};

constexpr std::array<MouseEntry, kMouseCount> MouseList = {{
    {0x171, "IDS_KEYBOARD_MOU_LEFT"},
    {0x172, "IDS_KEYBOARD_MOU_RIGHT"},
    {0x173, "IDS_KEYBOARD_MOU_MIDDLE"},
    {0x161, "IDS_KEYBOARD_ROLL_UP"},
    {0x162, "IDS_KEYBOARD_ROLL_DOWN"},
}};

int LedPositionOfKeyListPosition(int p) {
    if (p < 0 || p >= kKeyListSize) return -1;
    return KeyListLedPositions[p];
}

int KeyListPositionOfButton(int controlId) {
    const auto* it = std::find(KeyListButtonIds.begin(), KeyListButtonIds.end(), controlId);
    return it == KeyListButtonIds.end() ? -1 : static_cast<int>(it - KeyListButtonIds.begin());
}

int ExtraKeyButtonIndexOf(int controlId) {
    const auto* it = std::find(ExtraKeyButtonIds.begin(), ExtraKeyButtonIds.end(), controlId);
    return it == ExtraKeyButtonIds.end() ? -1 : static_cast<int>(it - ExtraKeyButtonIds.begin());
}

int KeyPositionOfControl(int controlId) {
    if (controlId == kFnButtonId) return kFnLedPosition;
    const int position = KeyListPositionOfButton(controlId);
    return position < 0 ? 0 : LedPositionOfKeyListPosition(position);
}

int KeyPositionOfExtraKey(int controlId) {
    return ExtraKeyButtonIndexOf(controlId) < 0 ? 0 : kExtraKeyLedPosition;
}

}  // namespace vantor
