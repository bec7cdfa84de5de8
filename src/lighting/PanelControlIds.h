#pragma once

#include <array>

// The control ids of the lighting panel of the main window: its controls, the per-key colour
// controls and the labels that take their texts from section "LIGHT" of the language file.
namespace vantor::ControlIds {

inline constexpr int kEffectList = 1146;
inline constexpr int kBrightnessSlider = 1178;
inline constexpr int kSpeedSlider = 1179;
inline constexpr std::array<int, 2> kDirectionPictures = {1149, 1150};  // first, second
inline constexpr int kHxColourButton = 1155;
inline constexpr int kHxRandomToggle = 1156;
inline constexpr int kFyColourButton = 1152;
inline constexpr int kFyRandomToggle = 1175;
inline constexpr std::array<int, 4> kColourPictures = {1194, 1195, 1196, 1197};

// Per-key colours.
inline constexpr int kLamp = 1167;
inline constexpr int kModeList = 1198;
inline constexpr int kKeyColourButton = 1160;
inline constexpr int kBaseColourButton = 1162;
inline constexpr std::array<int, 2> kToolPictures = {1164, 1165};
inline constexpr std::array<int, 3> kColourValueBoxes = {1208, 1209, 1210};  // red, green, blue

// Labels.
inline constexpr int kReportRateLabel = 1204;
inline constexpr int kLampLabel = 1171;
inline constexpr int kBrightnessLabel = 1172;
inline constexpr int kDirectionLabel = 1148;
inline constexpr int kSpeedLabel = 1166;
inline constexpr int kHxColourLabel = 1151;
inline constexpr int kFyColourLabel = 1154;
inline constexpr int kKeyColourLabel = 1159;
inline constexpr int kBaseColourLabel = 1161;
inline constexpr int kHxRandomLabel = 1173;
inline constexpr int kFyRandomLabel = 1176;
inline constexpr int kToolLabel = 1163;
inline constexpr int kRgbLabel = 1207;

}  // namespace vantor::ControlIds
