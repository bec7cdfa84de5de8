#pragma once

#include "SkinWindow.h"

#include <QString>

namespace vantor::skingen {

// Geometry of the main window that the lighting panel and the bitmaps share.
namespace mainlayout {
inline constexpr int kWidth = 1044;
inline constexpr int kHeight = 756;
inline constexpr int kUnit = 40;           // one key unit in pixels
inline constexpr int kKeysLeft = 106;      // left edge of the function row's Esc
inline constexpr int kKeysTop = 160;       // top edge of the function row
inline constexpr int kPanelTop = 440;      // lighting panel cards
inline constexpr int kPanelHeight = 252;
inline constexpr int kBottomBarTop = 702;
}  // namespace mainlayout

// The main window: title bar, profile bar, keyboard deck, lighting panel and bottom bar.
SkinWindow BuildMainWindow();

// Writes "Main.ini" and every picture it and the main window name, including the lighting
// panel's bitmaps and the colour template, into the folder.
bool WriteMainSkin(const QString& folder);

}  // namespace vantor::skingen
