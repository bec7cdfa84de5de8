#include "ui/ButtonText.h"

#include <cmath>
#include <numbers>

namespace vantor {

TextPlacement TextPlacementOfFormat(uint32_t format) {
    TextPlacement placement;
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (format & TextFormat::kCenter) {
        horizontal = Qt::AlignHCenter;
    } else if (format & TextFormat::kRight) {
        horizontal = Qt::AlignRight;
    }
    placement.singleLine = (format & TextFormat::kSingleLine) != 0;
    placement.wordWrap = !placement.singleLine && (format & TextFormat::kWordBreak) != 0;
    Qt::Alignment vertical = Qt::AlignTop;
    if (placement.singleLine) {
        if (format & TextFormat::kVCenter) {
            vertical = Qt::AlignVCenter;
        } else if (format & TextFormat::kBottom) {
            vertical = Qt::AlignBottom;
        }
    }
    placement.alignment = horizontal | vertical;
    return placement;
}

QRectF RotatedTextRect(const QRectF& client, const QSizeF& text, int escapement) {
    const double angle = escapement / 10.0 * std::numbers::pi / 180.0;
    const double turnedWidth = text.width() * std::cos(angle);
    const double turnedHeight = text.width() * std::sin(angle);
    QRectF rect = client;
    if (turnedWidth < client.width()) {
        rect.setLeft(rect.left() + (client.width() - turnedWidth) / 2 -
                     text.height() * std::sin(angle) / 2);
    }
    if (turnedHeight < client.height()) {
        rect.setBottom(rect.bottom() - (client.height() - turnedHeight) / 2 +
                       text.height() * std::cos(angle) / 2);
    }
    return rect;
}

}  // namespace vantor
