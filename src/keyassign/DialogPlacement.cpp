#include "keyassign/DialogPlacement.h"

namespace vantor {

QPoint DialogPosition(const QRect& screen, const QRect& button, const QSize& dialog, bool centred) {
    const int w = dialog.width();
    const int h = dialog.height();
    if (centred) {
        return {screen.left() + (screen.width() - w) / 2, screen.top() + (screen.height() - h) / 2};
    }
    // Edges as the button's outer sides: right and bottom lie just past its last pixel.
    const int right = button.left() + button.width();
    const int bottom = button.top() + button.height();
    const bool roomRight = screen.left() + screen.width() - right >= w;
    const bool roomBelow = screen.top() + screen.height() - bottom >= h;
    const bool roomLeft = button.left() - screen.left() >= w;
    const bool roomAbove = button.top() - screen.top() >= h;
    if (roomRight && roomBelow) return {right, bottom};
    if (roomRight && roomAbove) return {right, button.top() - h};
    if (roomLeft && roomBelow) return {button.left() - w, bottom};
    if (roomLeft && roomAbove) return {button.left() - w, button.top() - h};
    return {right, bottom};
}

}  // namespace vantor
