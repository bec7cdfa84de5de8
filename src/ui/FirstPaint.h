#pragma once

#include <QWidget>

#include <functional>

namespace vantor {

// Runs `work` once on the widget's thread, after `window` has first been painted on the screen
// and that frame has gone out: for work the first sight of a window need not wait for, and for
// telling a benchmark when the window became visible. A paint of the window while it is hidden
// (PaintAhead) does not count.
void AfterFirstPaint(QWidget& window, std::function<void()> work);

// Paints a hidden top-level window into its backing store once, for a window about to be
// shown: the pictures it shows are made ready, the fonts of its texts loaded and the store's
// memory in place, so that showing it only repaints on warm ground and hands the frame over.
// Showing still repaints the whole window, so what changes in between is shown as it is then.
// Does nothing for a visible window or one without a native window yet.
void PaintAhead(QWidget& window);

}  // namespace vantor
