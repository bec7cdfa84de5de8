#include "ui/ColourButton.h"

#include "ui/ColourPalette.h"

#include <QPainter>

namespace vantor {

ColourButton::ColourButton(QWidget* parent) : QAbstractButton(parent) {
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
    connect(this, &QAbstractButton::clicked, this, &ColourButton::ShowPalette);
}

void ColourButton::SetColour(QColor colour) {
    if (colour == m_colour) return;
    m_colour = colour;
    update();
}

void ColourButton::ShowPalette() {
    if (m_palette) return;
    m_palette = new ColourPalette(m_automatic, m_colour, this);
    connect(m_palette, &ColourPalette::Chosen, this, [this](QColor colour) {
        SetColour(colour);
        emit ColourChosen(colour);
    });
    m_palette->adjustSize();
    m_palette->move(mapToGlobal(QPoint(0, height())));
    m_palette->show();
}

void ColourButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(underMouse() && isEnabled() ? QColor(0xff, 0xb0, 0x5c) : QColor(0x5a, 0x60, 0x6c), 1));
    painter.setBrush(QColor(0x1b, 0x1e, 0x25));
    painter.drawRoundedRect(frame, 4, 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(isEnabled() ? m_colour : m_colour.darker(250));
    painter.drawRoundedRect(frame.adjusted(3, 3, -3, -3), 2.5, 2.5);
}

}  // namespace vantor
