#pragma once

#include <QString>

namespace vantor::skingen {

// Writes the tray pictures named in TrayIconFiles.h.
bool WriteTrayIcons(const QString& folder);

}  // namespace vantor::skingen
