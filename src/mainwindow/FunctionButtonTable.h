#pragma once

#include <array>

namespace vantor {

// The main window's full-window state pictures a face is cut from.
enum class StateImage { N, O, D, X, A };

// One function button or indicator of the main window: where the skin places it, its faces
// (normal, hover, pressed, disabled, selected), its language text and tooltip.
struct FunctionButtonSpec {
    int id;
    const char* skinKey;
    std::array<StateImage, 5> faces;
    const char* textKey = nullptr;     // language text drawn on the button, none when null
    int textSize = 0;                  // point size of that text
    const char* toolTipKey = nullptr;  // language text of the tooltip, none when null
    bool disabled = false;             // created disabled and never enabled here
};

namespace FunctionButtonIds {
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kProfiles = 1005;
inline constexpr int kApply = 1006;
inline constexpr int kMacro = 1007;
inline constexpr int kLink = 1121;
inline constexpr int kLockAb = 1128;
inline constexpr int kFlip0 = 1129;
inline constexpr int kFlip1 = 1130;
inline constexpr int kFlip2 = 1131;
inline constexpr int kLeftArrow = 1132;
inline constexpr int kRightArrow = 1133;
inline constexpr int kVersion = 1134;
inline constexpr int kSwitch = 1144;
// F1-F4 and F5 of the key list, and D1-D6, which stand in their place while Flip is on.
inline constexpr std::array<int, 4> kF1ToF4 = {1010, 1011, 1012, 1013};
inline constexpr int kF5 = 1014;
inline constexpr std::array<int, 6> kD1ToD6 = {1016, 1017, 1018, 1019, 1020, 1021};
// The extra key whose pages hold the macro editor.
inline constexpr int kMacroExtraKey = 1143;
}  // namespace FunctionButtonIds

namespace detail {
using S = StateImage;
inline constexpr std::array<StateImage, 5> kNodnn = {S::N, S::O, S::D, S::N, S::N};
inline constexpr std::array<StateImage, 5> kNodnx = {S::N, S::O, S::D, S::N, S::X};
inline constexpr std::array<StateImage, 5> kNnnno = {S::N, S::N, S::N, S::N, S::O};
}  // namespace detail

// Every function button and indicator, in the order they are placed (later ones lie on top).
inline constexpr FunctionButtonSpec kFunctionButtons[] = {
    {1121, "PELMAR_LINK", {StateImage::N, StateImage::O, StateImage::X, StateImage::N, StateImage::N}},
    {1005, "FUNC_PROFILES", detail::kNodnn},
    {1007, "FUNC_MACRO", detail::kNodnn, "PROFILE_MACRO", 10},
    {1, "CONTROL_OK", detail::kNodnn, "PROFILE_OK", 8},
    {2, "CONTROL_CANCEL", detail::kNodnn, "PROFILE_CANCLE", 8},
    {1006, "CONTROL2_APPLY", {StateImage::N, StateImage::O, StateImage::D, StateImage::X, StateImage::N},
     "PROFILE_APPLY", 8},
    {1122, "CONTROL_HELP", detail::kNodnn, nullptr, 0, "MAIN_HELP_PROMPT"},
    {1123, "CONTROL_MINIMIZE", detail::kNodnn, nullptr, 0, "MAIN_MINIMIZE_PROMPT"},
    {1124, "CONTROL_CLOSE", detail::kNodnn, nullptr, 0, "MAIN_CLOSE_PROMPT"},
    {1139, "CONTROL_MENU", detail::kNodnn, nullptr, 0, "MAIN_MENU_PROMPT"},
    {1135, "FUNC_PROFILE1", detail::kNodnx, "PROFILE_1", 10},
    {1136, "FUNC_PROFILE2", detail::kNodnx, "PROFILE_2", 10},
    {1137, "FUNC_PROFILE3", detail::kNodnx, "PROFILE_3", 10},
    {1138, "FUNC_DEFAULT", detail::kNodnx, "PROFILE_DEFAULT", 8},
    {1147, "FUNC_REPORT1", detail::kNodnx},
    {1168, "FUNC_REPORT2", detail::kNodnx},
    {1169, "FUNC_REPORT3", detail::kNodnx},
    {1170, "FUNC_REPORT4", detail::kNodnx},
    {1125, "LOCK_CAPS", detail::kNnnno, nullptr, 0, nullptr, true},
    {1126, "LOCK_NUM", detail::kNnnno, nullptr, 0, nullptr, true},
    {1127, "LOCK_SCROLL", detail::kNnnno, nullptr, 0, nullptr, true},
    {1128, "LOCK_AB", detail::kNnnno, nullptr, 0, nullptr, true},
    {1129, "FLIP_0", {StateImage::N, StateImage::N, StateImage::N, StateImage::N, StateImage::X},
     nullptr, 0, nullptr, true},
    {1130, "FLIP_1", detail::kNodnx},
    {1131, "FLIP_2", detail::kNodnx},
    {1132, "LEFT_ARROW", {StateImage::A, StateImage::A, StateImage::A, StateImage::A, StateImage::A},
     nullptr, 0, nullptr, true},
    {1133, "RIGHT_ARROW", {StateImage::A, StateImage::A, StateImage::A, StateImage::A, StateImage::A},
     nullptr, 0, nullptr, true},
    {1134, "PELMAR_VER", {StateImage::N, StateImage::N, StateImage::N, StateImage::N, StateImage::N},
     nullptr, 0, nullptr, true},
    {1144, "FUNC_SWITCH", detail::kNodnx},
};

}  // namespace vantor
