#include "ui/StatePicture.h"

#include <QPainter>

namespace vantor {

StatePicture::StatePicture(QWidget* parent) : QAbstractButton(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void StatePicture::SetPictures(const QPixmap& off, const QPixmap& on) {
    m_offPicture = off;
    m_onPicture = on;
    update();
}

void StatePicture::SetOn(bool on) {
    if (on == m_on) return;
    m_on = on;
    update();
}

void StatePicture::paintEvent(QPaintEvent*) {
    const QPixmap& picture = Shown();
    if (picture.isNull()) return;
    QPainter painter(this);
    painter.drawPixmap(rect(), picture);
}

}  // namespace vantor
