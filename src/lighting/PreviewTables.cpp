#include "lighting/PreviewTables.h"

#include "keymodel/KeyTables.h"

#include <algorithm>

namespace vantor::preview {

namespace {

// The wheel's rising and falling ramps, 32 steps each.
constexpr std::array<uint8_t, 32> kRise = {
    1,  3,  5,  7,  10,  14,  18,  22,  26,  32,  38,  44,  50,  57,  65,  73,
    81, 89, 99, 109, 119, 129, 140, 152, 164, 176, 188, 200, 213, 227, 241, 255,
};
constexpr std::array<uint8_t, 32> kFall = {
    248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124, 114, 104, 94, 85, 77,
    69,  61,  53,  47,  41,  35,  29,  24,  20,  16,  12,  8,   6,   4,  2,  0,
};

// Entries 0-47 of wave table A; the other half mirrors them.
constexpr std::array<uint8_t, 48> kWaveAHalf = {
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255,
};

// Entries 0-15 of the breathing table; wave A's first half follows, then the mirror.
constexpr std::array<uint8_t, 16> kBreathStart = {
    3, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 18, 20,
};

constexpr std::array<uint8_t, kWaveACount> MakeWaveA() {
    std::array<uint8_t, kWaveACount> table{};
    for (int k = 0; k < 48; ++k) table[k] = table[kWaveACount - 1 - k] = kWaveAHalf[k];
    return table;
}

constexpr std::array<uint8_t, kBreathCount> MakeBreath() {
    std::array<uint8_t, kBreathCount> table{};
    for (int k = 0; k < 64; ++k) {
        table[k] = table[kBreathCount - 1 - k] = k < 16 ? kBreathStart[k] : kWaveAHalf[k - 16];
    }
    return table;
}

constexpr std::array<uint8_t, kWaveBCount> MakeWaveB() {
    constexpr uint8_t start[80] = {
        0,   4,   8,   14,  22,  33,  45,  61,  77,  94,  114, 134, 158, 182, 206, 234,
        255, 248, 241, 234, 227, 220, 213, 206, 200, 194, 188, 182, 176, 170, 164, 158,
        152, 146, 140, 134, 129, 124, 119, 114, 109, 104, 99,  94,  89,  85,  81,  77,
        73,  69,  65,  61,  57,  53,  49,  45,  42,  39,  36,  33,  30,  27,  24,  22,
        20,  18,  16,  14,  12,  10,  9,   8,   7,   6,   5,   4,   3,   2,   2,   1,
    };
    std::array<uint8_t, kWaveBCount> table{};  // 0 from entry 80 on
    for (int k = 0; k < 80; ++k) table[k] = start[k];
    return table;
}

// LED position of each control id from 1000 to 1199 when it is a preview key, else -1.
constexpr int kFirstId = 1000;
constexpr int kIdSpan = 200;

std::array<int8_t, kIdSpan> MakeLedOfId() {
    std::array<int8_t, kIdSpan> table;
    table.fill(-1);
    for (const uint16_t id : KeyOrder) table[id - kFirstId] = int8_t(KeyPositionOfControl(id));
    return table;
}

}  // namespace

Rgb HueEntry(int h) {
    const int k = h % 32;
    switch (h / 32) {
    case 0: return {255, kRise[k], 0};
    case 1: return {kFall[k], 255, 0};
    case 2: return {0, 255, kRise[k]};
    case 3: return {0, kFall[k], 255};
    case 4: return {kRise[k], 0, 255};
    default: return {255, 0, kFall[k]};
    }
}

const std::array<uint8_t, kWaveACount> WaveA = MakeWaveA();
const std::array<uint8_t, kWaveBCount> WaveB = MakeWaveB();
const std::array<uint8_t, kBreathCount> Breath = MakeBreath();

Rgb Scaled(const Rgb& colour, uint8_t level) {
    return {uint8_t(colour.red * level / 255), uint8_t(colour.green * level / 255),
            uint8_t(colour.blue * level / 255)};
}

// Each line is one column, rows 0 to 5.
const std::array<std::array<uint16_t, kGridRows>, kGridColumns> Grid = {{
    {0, 0, 0, 0, 0, 1083},
    {0, 1029, 1056, 1069, 1082, 1084},
    {1022, 1030, 1044, 1058, 1071, 1085},
    {1010, 1031, 1045, 1059, 1072, 0},
    {1011, 1032, 1046, 1060, 1073, 0},
    {1012, 1033, 1047, 1061, 1074, 0},
    {1013, 1034, 1048, 1062, 1075, 1090},
    {0, 1035, 1049, 1063, 1076, 0},
    {1014, 1036, 1050, 1064, 1077, 0},
    {1015, 1037, 1051, 1065, 1078, 1086},
    {1023, 1038, 1052, 1066, 1079, 1086},
    {1024, 1039, 1053, 1067, 1080, 1174},
    {1025, 1040, 1054, 1068, 0, 1088},
    {1026, 1041, 1055, 1070, 0, 0},
    {1027, 1043, 1042, 0, 1081, 1089},
    {1028, 1043, 1042, 0, 1081, 1089},
    {1091, 1094, 1097, 0, 0, 1100},
    {1092, 1095, 1098, 0, 1103, 1101},
    {1093, 1096, 1099, 0, 0, 1102},
    {0, 1104, 1108, 1112, 1115, 1120},
    {0, 1105, 1109, 1113, 1116, 1120},
    {0, 1106, 1110, 1114, 1117, 1119},
    {0, 1107, 0, 1111, 1118, 0},
}};

const std::array<uint16_t, kOrderCount> KeyOrder = {
    1093, 1092, 1091, 1028, 1027, 1026, 1025, 1024, 1023, 1015, 1014, 1013, 1012, 1011, 1010,
    1022, 1029, 1056, 1069, 1082, 1083, 1084, 1085, 1090, 1086, 1174, 1088, 1089, 1100, 1101,
    1102, 1120, 1119, 1118, 1111, 1107, 1106, 1105, 1104, 1096, 1095, 1094, 1043, 1041, 1040,
    1039, 1038, 1037, 1036, 1035, 1034, 1033, 1032, 1031, 1030, 1044, 1058, 1071, 1072, 1073,
    1074, 1075, 1076, 1077, 1078, 1079, 1080, 1081, 1103, 1115, 1116, 1117, 1114, 1110, 1109,
    1108, 1099, 1098, 1097, 1042, 1055, 1054, 1053, 1052, 1051, 1050, 1049, 1048, 1047, 1046,
    1045, 1059, 1060, 1061, 1062, 1063, 1064, 1065, 1066, 1067, 1068, 1070, 1112, 1113,
};

const std::array<KeyGroup, kRingCount> Rings = {{
    {1052},
    {1038, 1051, 1065, 1066, 1053, 1039},
    {1024, 1037, 1050, 1064, 1077, 1078, 1079, 1067, 1054, 1040},
    {1023, 1036, 1049, 1063, 1076, 1086, 1080, 1068, 1055, 1041, 1025},
    {1015, 1035, 1048, 1062, 1075, 1174, 1081, 1070, 1042, 1043, 1026, 1027},
    {1014, 1034, 1047, 1061, 1074, 1090, 1088, 1089, 1097, 1094, 1028},
    {1013, 1033, 1046, 1060, 1073, 1100, 1103, 1098, 1095, 1091},
    {1012, 1032, 1045, 1059, 1072, 1101, 1102, 1099, 1096, 1093, 1092},
    {1011, 1031, 1044, 1058, 1071, 1085, 1115, 1112, 1108, 1104},
    {1010, 1030, 1056, 1069, 1082, 1084, 1120, 1116, 1113, 1109, 1105},
    {1022, 1029, 1083, 1119, 1117, 1114, 1110, 1106},
    {1118, 1111, 1107},
}};

const std::array<uint8_t, kOrderCount> TwinkleOrder = {
    88, 24, 101, 57, 16, 69, 35, 34, 36, 51, 78, 18, 12, 66, 97, 9,  33, 41, 55, 52, 48,
    95, 77, 70,  10, 23, 39, 3,  102, 17, 65, 22, 31, 4,  85, 76, 15, 60, 54, 21, 83, 94,
    6,  61, 49,  20, 5,  14, 68, 98, 71, 27, 81, 1,  0,  87, 46, 75, 37, 73, 32, 79, 8,
    29, 72, 56,  44, 99, 13, 47, 42, 93, 91, 80, 86, 89, 43, 28, 58, 59, 38, 53, 2,  62,
    64, 90, 96,  74, 92, 40, 25, 26, 7,  30, 50, 84, 45, 67, 19, 103, 100, 82, 11, 63,
};

const std::array<std::array<uint16_t, 6>, kPathASteps> PathA = {{
    {1022, 1118},
    {1010, 1119},
    {1011, 1120},
    {1012, 1102, 1029, 1118},
    {1013, 1101, 1030, 1117},
    {1014, 1100, 1031, 1116},
    {1015, 1089, 1032, 1115, 1056, 1111},
    {1023, 1088, 1033, 1103, 1044, 1114},
    {1024, 1174, 1034, 1081, 1045, 1113},
    {1025, 1086, 1035, 1080, 1046, 1112},
    {1041, 1078, 1036, 1079, 1047},
    {1055, 1065, 1037, 1078, 1048},
    {1068, 1051, 1038, 1065, 1049, 1070},
    {1080, 1038, 1039, 1051, 1050, 1068},
    {1079, 1039, 1053, 1038, 1051, 1067},
    {1078, 1040, 1066, 1039, 1052, 1066},
    {1065, 1041, 1065, 1053, 1053, 1065},
    {1051, 1055, 1051, 1066, 1054},
    {1038, 1068},
    {1039, 1080},
}};

const std::array<std::array<uint16_t, 2>, kPathBSteps> PathB = {{
    {1038, 1080}, {1039, 1079}, {1040, 1078}, {1041, 1065}, {1055, 1051}, {1068, 1038},
    {1080, 1039}, {1079, 1040}, {1078, 1041}, {1065, 1055}, {1051, 1068}, {1052, 1067},
    {1053, 1066}, {1054, 1052}, {1067, 1053}, {1066, 1054}, {1052, 0},    {0, 0},
    {0, 0},       {0, 0},       {0, 0},       {0, 0},       {1038, 1051}, {1065, 1066},
    {1053, 1039}, {0, 0},       {0, 0},       {0, 0},       {1024, 1037}, {1050, 1064},
    {1077, 1078},
}};

int LedOfPreviewKey(int controlId) {
    static const std::array<int8_t, kIdSpan> ledOfId = MakeLedOfId();
    const int i = controlId - kFirstId;
    return i >= 0 && i < kIdSpan ? ledOfId[size_t(i)] : -1;
}

}  // namespace vantor::preview
