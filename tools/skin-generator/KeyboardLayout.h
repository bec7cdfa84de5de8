#pragma once

#include "keymodel/KeyCode.h"

#include <QString>

#include <vector>

namespace vantor::skingen {

// One key of the drawn keyboard, in key units from the top-left of the function row.
struct PlacedKey {
    KeyCode code;
    double x, y, w, h;
};

// A full-size keyboard: function row, main block, navigation block, numeric pad. The two
// international keys (K45, K56) are not on this model.
const std::vector<PlacedKey>& FullSizeLayout();

// Width and height of the layout in key units.
inline constexpr double kLayoutWidth = 22.5;
inline constexpr double kLayoutHeight = 6.25;

// The printed legend of a key, from its English name: "Right Ctrl" prints "Ctrl", "Num 7"
// prints "7", long names break over lines where the cap is narrow.
QString KeyLegend(KeyCode code);

}  // namespace vantor::skingen
