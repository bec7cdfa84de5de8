#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace vantor {

// Where a dialog opened for a button goes on a screen: centred when asked; otherwise its
// top-left corner takes the first of these that keeps it whole on the screen: right of and
// below the button, right and above, left and below, left and above; when none does, right
// of and below the button anyway. `screen` and `button` are in the same coordinates.
QPoint DialogPosition(const QRect& screen, const QRect& button, const QSize& dialog, bool centred);

}  // namespace vantor
