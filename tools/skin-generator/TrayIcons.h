#pragma once

#include <QString>

namespace vantor::skingen {

// Writes the tray pictures named in TrayIconFiles.h.
bool WriteTrayIcons(const QString& folder);

// The sizes of the application icon in the desktop's icon theme.
inline constexpr int kApplicationIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// Writes the application icon (the connected keyboard) as "<N>x<N>/apps/vantor.png" under
// the given hicolor theme folder, at every size above.
bool WriteApplicationIcons(const QString& hicolorFolder);

}  // namespace vantor::skingen
