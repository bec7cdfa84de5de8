#pragma once

#include <QByteArray>
#include <QWidget>

namespace vantor {

// Writes `line` and a newline to standard error once, after `window` has first been painted and
// that frame has gone to the screen: how a benchmark outside the process sees the window become
// visible. Nothing more is done afterwards; the window keeps painting as before.
void MarkFirstPaint(QWidget& window, QByteArray line);

}  // namespace vantor
