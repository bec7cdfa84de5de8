#pragma once

#include <QWidget>

#include <functional>

namespace vantor {

// Runs `work` once on the widget's thread, after `window` has first been painted on the screen
// and that frame has gone out: for work the first sight of a window need not wait for, and for
// telling a benchmark when the window became visible. A paint of the window while it is hidden
// does not count.
void AfterFirstPaint(QWidget& window, std::function<void()> work);

}  // namespace vantor
