#include "ui/ImageButton.h"

#include "ui/SkinPictureCache.h"

#include <QCursor>
#include <QEnterEvent>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QToolTip>

#include <cmath>

namespace vantor {

namespace {

// Longest window text a button draws.
constexpr qsizetype kMaxText = 259;

QColor ColourOf(uint32_t colourRef) { return QColor::fromRgb(RgbOfColourRef(colourRef)); }

}  // namespace

ImageButton::ImageButton(QWidget* parent) : QAbstractButton(parent) {
    m_toolTipTimer.setSingleShot(true);
    m_toolTipTimer.setInterval(kToolTipDelayMs);
    connect(&m_toolTipTimer, &QTimer::timeout, this, &ImageButton::ShowToolTip);
}

ImageButton::~ImageButton() = default;

void ImageButton::SetPictures(QPoint origin, const ButtonFaces& faces, bool redraw) {
    m_origin = origin;
    SetPictures(faces, redraw);
}

void ImageButton::SetPictures(const ButtonFaces& faces, bool redraw) {
    m_faces = faces;
    m_hover = false;
    setDown(false);
    if (redraw) {
        Redraw();
    }
}

void ImageButton::SetTogglePair(const QPixmap* first, const QPixmap* second, bool toggleMode,
                               bool showSecond, bool redraw) {
    m_toggleFirst = first;
    m_toggleSecond = second;
    m_toggleMode = toggleMode;
    m_showSecond = showSecond;
    if (redraw) {
        Redraw();
    }
}

void ImageButton::SetSelected(bool selected, bool redraw) {
    m_selected = selected;
    if (redraw) {
        Redraw();
    }
}

void ImageButton::SetTextStyle(const ButtonTextStyle& style) {
    m_style = style;
    update();
}

void ImageButton::SetEscapement(int escapement, bool rotated) {
    m_escapement = escapement;
    m_rotated = rotated;
    update();
}

void ImageButton::SetOutline(uint32_t colourRef, bool on) {
    m_outlineColour = colourRef;
    m_outline = on;
}

void ImageButton::SetAfterDraw(AfterDraw callback) { m_afterDraw = std::move(callback); }

void ImageButton::SetToolTipText(const QString& text, bool activate) {
    m_toolTip = text;
    m_toolTipActive = activate;
    if (!activate || text.isEmpty()) {
        m_toolTipTimer.stop();
        if (QToolTip::isVisible() && m_hover) {
            QToolTip::hideText();
        }
    } else if (m_hover && QToolTip::isVisible()) {
        ShowToolTip();
    }
}

void ImageButton::Redraw() { update(); }

ButtonFace ImageButton::CurrentFace() const {
    ButtonFaceInputs inputs;
    inputs.enabled = isEnabled();
    inputs.toggleMode = m_toggleMode;
    inputs.toggleSecond = m_showSecond;
    inputs.pressed = isDown();
    inputs.hover = m_hover;
    inputs.selected = m_selected;
    return ChooseButtonFace(inputs);
}

const QPixmap* ImageButton::PictureOf(ButtonFace face) const {
    switch (face) {
    case ButtonFace::Normal:
        return m_faces.normal;
    case ButtonFace::Hover:
        return m_faces.hover;
    case ButtonFace::Pressed:
        return m_faces.pressed;
    case ButtonFace::Disabled:
        return m_faces.disabled;
    case ButtonFace::Selected:
        return m_faces.selected;
    case ButtonFace::ToggleFirst:
        return m_toggleFirst;
    case ButtonFace::ToggleSecond:
        return m_toggleSecond;
    }
    return nullptr;
}

bool ImageButton::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonDblClick: {
        // The second click of a double click is one more press, so the button clicks twice.
        const auto* click = static_cast<QMouseEvent*>(event);
        QMouseEvent press(QEvent::MouseButtonPress, click->position(), click->scenePosition(),
                          click->globalPosition(), click->button(), click->buttons(),
                          click->modifiers(), click->pointingDevice());
        const bool handled = QAbstractButton::event(&press);
        event->setAccepted(press.isAccepted());
        return handled;
    }
    case QEvent::ToolTip:
        // The button shows its own tooltip after its own delay.
        return true;
    default:
        return QAbstractButton::event(event);
    }
}

void ImageButton::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void ImageButton::enterEvent(QEnterEvent* event) {
    m_hover = true;
    update();
    if (m_toolTipActive && !m_toolTip.isEmpty()) {
        m_toolTipTimer.start();
    }
    QAbstractButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent* event) {
    m_hover = false;
    m_toolTipTimer.stop();
    if (QToolTip::isVisible() && QToolTip::text() == m_toolTip) {
        QToolTip::hideText();
    }
    update();
    QAbstractButton::leaveEvent(event);
}

void ImageButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        update();
    }
    QAbstractButton::changeEvent(event);
}

void ImageButton::ShowToolTip() {
    if (!m_hover || !m_toolTipActive || m_toolTip.isEmpty()) {
        return;
    }
    QToolTip::showText(QCursor::pos(), m_toolTip, this, rect());
}

void ImageButton::paintEvent(QPaintEvent*) {
    const ButtonFace face = CurrentFace();
    // A picture still decoding is waited for on its first use.
    const QPixmap* picture = SkinPictureCache::Ready(PictureOf(face));
    {
        QPainter painter(this);
        if (m_outline) {
            // A 2-pixel pen centred on (1,1)-(w-1,h-1) covers the outer two pixels all round.
            painter.setPen(QPen(ColourOf(m_outlineColour), 2, Qt::SolidLine, Qt::SquareCap,
                                Qt::MiterJoin));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(1, 1, width() - 2, height() - 2));
        } else if (picture) {
            painter.drawPixmap(QPoint(0, 0), *picture,
                               QRect(m_origin - QPoint(1, 1), size()));
        }
        m_lastPicture = picture;
        if (m_style.drawText && !text().isEmpty()) {
            DrawText(painter, face);
        }
    }
    if (m_afterDraw) {
        m_afterDraw(this, picture == m_faces.normal);
    }
}

void ImageButton::DrawText(QPainter& painter, ButtonFace face) {
    QFont font;
    font.setFamilies({m_style.family, QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    // Points at the screen's vertical resolution give the character height in pixels.
    const int pixels = static_cast<int>(std::lround(m_style.pointSize * logicalDpiY() / 72.0));
    font.setPixelSize(std::max(pixels, 1));
    font.setBold(m_rotated);
    painter.setFont(font);
    painter.setPen(ColourOf(m_style.colours[static_cast<size_t>(TextColourIndex(face))]));

    const QString label = text().left(kMaxText);
    const TextPlacement placement = TextPlacementOfFormat(m_style.format);
    int flags = static_cast<int>(placement.alignment);
    if (placement.singleLine) {
        flags |= Qt::TextSingleLine;
    } else if (placement.wordWrap) {
        flags |= Qt::TextWordWrap;
    }
    if (m_escapement == 0 && !m_rotated) {
        painter.drawText(QRectF(rect()), flags, label);
        return;
    }

    // Turned text: placed unturned in its rectangle, then turned about its top-left corner.
    const QFontMetricsF metrics(font);
    const QSizeF textSize(metrics.horizontalAdvance(label), metrics.height());
    const QRectF area = m_rotated ? RotatedTextRect(QRectF(rect()), textSize, m_escapement)
                                  : QRectF(rect());
    QPointF anchor(area.left(), area.top());
    if (placement.alignment & Qt::AlignHCenter) {
        anchor.setX(area.left() + (area.width() - textSize.width()) / 2);
    } else if (placement.alignment & Qt::AlignRight) {
        anchor.setX(area.right() - textSize.width());
    }
    if (placement.alignment & Qt::AlignVCenter) {
        anchor.setY(area.top() + (area.height() - textSize.height()) / 2);
    } else if (placement.alignment & Qt::AlignBottom) {
        anchor.setY(area.bottom() - textSize.height());
    }
    painter.save();
    painter.translate(anchor);
    painter.rotate(-m_escapement / 10.0);
    painter.drawText(QRectF(QPointF(0, 0), textSize), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     label);
    painter.restore();
}

}  // namespace vantor
