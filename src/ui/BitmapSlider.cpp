#include "ui/BitmapSlider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace vantor {

BitmapSlider::BitmapSlider(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void BitmapSlider::SetPictures(const Pictures& pictures) {
    m_pictures = pictures;
    update();
}

void BitmapSlider::SetPosition(int position) {
    const int clamped = std::clamp(position, 0, kMaxPosition);
    if (clamped == m_position) return;
    m_position = clamped;
    update();
}

int BitmapSlider::PositionAt(int x) const {
    if (width() <= 0) return 0;
    return std::clamp(x * (kMaxPosition + 1) / width(), 0, kMaxPosition);
}

void BitmapSlider::MoveTo(int position) {
    const int clamped = std::clamp(position, 0, kMaxPosition);
    if (clamped == m_position) return;
    SetPosition(clamped);
    emit Moved(clamped);
}

void BitmapSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap& picture = m_pictures[size_t(m_position)];
    if (!picture.isNull()) {
        painter.drawPixmap(rect(), picture);
        return;
    }
    // No picture in the skin: a plain track with the thumb, so the control stays usable.
    painter.setRenderHint(QPainter::Antialiasing);
    const int mid = height() / 2;
    const int pad = std::min(10, width() / 12);
    const int x = pad + (width() - 2 * pad) * m_position / kMaxPosition;
    painter.setPen(QPen(palette().color(QPalette::Mid), 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(pad, mid, width() - pad, mid);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Highlight));
    painter.drawEllipse(QPoint(x, mid), 6, 6);
}

void BitmapSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) MoveTo(PositionAt(event->position().toPoint().x()));
}

void BitmapSlider::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) MoveTo(PositionAt(event->position().toPoint().x()));
}

void BitmapSlider::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Down: MoveTo(m_position - 1); break;
        case Qt::Key_Right:
        case Qt::Key_Up: MoveTo(m_position + 1); break;
        case Qt::Key_Home: MoveTo(0); break;
        case Qt::Key_End: MoveTo(kMaxPosition); break;
        default: QWidget::keyPressEvent(event);
    }
}

}  // namespace vantor
