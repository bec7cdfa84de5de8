#pragma once

#include <QWidget>

#include <functional>

namespace vantor {

// Runs `work` once on the widget's thread, after `window` has first been painted and that frame
// has gone to the screen: for work the first sight of a window need not wait for, and for
// telling a benchmark when the window became visible.
void AfterFirstPaint(QWidget& window, std::function<void()> work);

}  // namespace vantor
