#pragma once

#include "mainwindow/ControlIds.h"

#include <array>

namespace vantor {

// The main window's full-window state pictures a face is cut from.
enum class StateImage { N, O, D, X, A };

// One function button or indicator of the main window: where the skin places it, its faces
// (normal, hover, pressed, disabled, selected), its language text and tooltip.
struct FunctionButtonRow {
    int id;
    const char* skinKey;
    std::array<StateImage, 5> faces;
    const char* textKey = nullptr;     // language text drawn on the button, none when null
    int textSize = 0;                  // point size of that text
    const char* toolTipKey = nullptr;  // language text of the tooltip, none when null
    bool disabled = false;             // created disabled and never enabled here
};

namespace detail {
using S = StateImage;
inline constexpr std::array<StateImage, 5> kNodnn = {S::N, S::O, S::D, S::N, S::N};
inline constexpr std::array<StateImage, 5> kNodnx = {S::N, S::O, S::D, S::N, S::X};
inline constexpr std::array<StateImage, 5> kNnnno = {S::N, S::N, S::N, S::N, S::O};
}  // namespace detail

// Every function button and indicator, in the order they are placed (later ones lie on top).
inline constexpr FunctionButtonRow kFunctionButtons[] = {
    {ControlIds::kLink, "PELMAR_LINK", {StateImage::N, StateImage::O, StateImage::X, StateImage::N, StateImage::N}},
    {ControlIds::kProfiles, "FUNC_PROFILES", detail::kNodnn},
    {ControlIds::kMacro, "FUNC_MACRO", detail::kNodnn, "PROFILE_MACRO", 10},
    {ControlIds::kOk, "CONTROL_OK", detail::kNodnn, "PROFILE_OK", 8},
    {ControlIds::kCancel, "CONTROL_CANCEL", detail::kNodnn, "PROFILE_CANCLE", 8},
    {ControlIds::kApply, "CONTROL2_APPLY", {StateImage::N, StateImage::O, StateImage::D, StateImage::X, StateImage::N},
     "PROFILE_APPLY", 8},
    {ControlIds::kHelp, "CONTROL_HELP", detail::kNodnn, nullptr, 0, "MAIN_HELP_PROMPT"},
    {ControlIds::kMinimize, "CONTROL_MINIMIZE", detail::kNodnn, nullptr, 0, "MAIN_MINIMIZE_PROMPT"},
    {ControlIds::kClose, "CONTROL_CLOSE", detail::kNodnn, nullptr, 0, "MAIN_CLOSE_PROMPT"},
    {ControlIds::kBackupMenu, "CONTROL_MENU", detail::kNodnn, nullptr, 0, "MAIN_MENU_PROMPT"},
    {ControlIds::kProfileButtons[0], "FUNC_PROFILE1", detail::kNodnx, "PROFILE_1", 10},
    {ControlIds::kProfileButtons[1], "FUNC_PROFILE2", detail::kNodnx, "PROFILE_2", 10},
    {ControlIds::kProfileButtons[2], "FUNC_PROFILE3", detail::kNodnx, "PROFILE_3", 10},
    {ControlIds::kDefault, "FUNC_DEFAULT", detail::kNodnx, "PROFILE_DEFAULT", 8},
    {ControlIds::kReports[0], "FUNC_REPORT1", detail::kNodnx},
    {ControlIds::kReports[1], "FUNC_REPORT2", detail::kNodnx},
    {ControlIds::kReports[2], "FUNC_REPORT3", detail::kNodnx},
    {ControlIds::kReports[3], "FUNC_REPORT4", detail::kNodnx},
    {ControlIds::kLockCaps, "LOCK_CAPS", detail::kNnnno, nullptr, 0, nullptr, true},
    {ControlIds::kLockNum, "LOCK_NUM", detail::kNnnno, nullptr, 0, nullptr, true},
    {ControlIds::kLockScroll, "LOCK_SCROLL", detail::kNnnno, nullptr, 0, nullptr, true},
    {ControlIds::kLockAb, "LOCK_AB", detail::kNnnno, nullptr, 0, nullptr, true},
    {ControlIds::kFlip0, "FLIP_0", {StateImage::N, StateImage::N, StateImage::N, StateImage::N, StateImage::X},
     nullptr, 0, nullptr, true},
    {ControlIds::kFlip1, "FLIP_1", detail::kNodnx},
    {ControlIds::kFlip2, "FLIP_2", detail::kNodnx},
    {ControlIds::kLeftArrow, "LEFT_ARROW", {StateImage::A, StateImage::A, StateImage::A, StateImage::A, StateImage::A},
     nullptr, 0, nullptr, true},
    {ControlIds::kRightArrow, "RIGHT_ARROW", {StateImage::A, StateImage::A, StateImage::A, StateImage::A, StateImage::A},
     nullptr, 0, nullptr, true},
    {ControlIds::kVersion, "PELMAR_VER", {StateImage::N, StateImage::N, StateImage::N, StateImage::N, StateImage::N},
     nullptr, 0, nullptr, true},
    {ControlIds::kSwitch, "FUNC_SWITCH", detail::kNodnx},
};

}  // namespace vantor
