#pragma once

#include "SkinWindow.h"

#include <QRectF>
#include <QString>

#include <vector>

namespace vantor::skingen {

// The cards the lighting panel's control groups sit on, in main window coordinates.
std::vector<QRectF> LightingPanelCards();

// Places every control of the lighting panel. The three direction sets (plain, suffix 2 and
// suffix 3) share one place: the program shows one set at a time.
void AddLightingPanel(SkinWindow& window);

// The panel's bitmaps, each the size of the control that shows it: lamp, direction pairs,
// colour pictures, random toggles, tool pictures, slider pictures "0.bmp"-"11.bmp" and the
// busy frames "jdt1.bmp"-"jdt10.bmp".
bool WriteLightingBitmaps(const SkinWindow& window, const QString& folder);

}  // namespace vantor::skingen
