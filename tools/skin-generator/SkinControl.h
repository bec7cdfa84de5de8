#pragma once

#include <QPainter>
#include <QRect>
#include <QString>

#include <functional>

namespace vantor::skingen {

// The four full-window pictures every window is drawn in. `Alt` is the fourth picture: the
// selected face of most buttons and the disabled face of the few whose fourth slot is disabled.
enum class Face { Normal, Over, Down, Alt };

// One picture being drawn: the face, and a window-specific variant (the page set of the key
// assignment dialog, the colour-view pair of the main window).
struct RenderPass {
    Face face = Face::Normal;
    int variant = 0;
};

using ControlPainter = std::function<void(QPainter&, const QRectF&, const RenderPass&)>;

// How the program reads a control's geometry: an image button takes its faces from the state
// pictures; a rectangle is a plain widget moved to the place.
enum class ControlKind { Button, Rect };

// One placed control of a skin window.
struct SkinControl {
    QString key;
    QRect rect;  // where the program puts the widget, in window coordinates
    ControlKind kind = ControlKind::Button;
    ControlPainter paint;  // what the pictures show under the control; empty for nothing
};

}  // namespace vantor::skingen
