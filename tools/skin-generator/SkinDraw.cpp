#include "SkinDraw.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>

#include <cmath>

namespace vantor::skingen {

QFont SkinFont(qreal pixelSize, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qRound(pixelSize));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

namespace {

// The legend broken at its spaces when one line is too wide, in the largest font (down to a
// floor) whose lines all fit the width and height.
struct FittedLegend {
    QString text;
    QFont font;
};

FittedLegend FitLegend(const QString& legend, qreal pixelSize, const QSizeF& area) {
    for (qreal size = pixelSize; size >= 7; size -= 0.5) {
        const QFont font = SkinFont(size);
        const QFontMetricsF fm(font);
        if (fm.horizontalAdvance(legend) <= area.width() && fm.height() <= area.height()) return {legend, font};
        const QStringList lines = legend.split(u' ');
        qreal widest = 0;
        for (const QString& line : lines) widest = std::max(widest, fm.horizontalAdvance(line));
        if (widest <= area.width() && fm.lineSpacing() * lines.size() <= area.height() + 2)
            return {lines.join(u'\n'), font};
    }
    return {legend, SkinFont(7)};
}

}  // namespace

void DrawKeyCap(QPainter& p, const QRectF& r, const QString& legend, Face face, AltMeaning alt) {
    const bool selected = face == Face::Alt && alt == AltMeaning::Selected;
    const bool disabled = face == Face::Alt && alt == AltMeaning::Disabled;
    const bool down = face == Face::Down;
    const bool over = face == Face::Over;

    // Skirt: the cap's lower body, visible as a darker rim below the top surface.
    const QRectF body = r.adjusted(1, 1, -1, -1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawRoundedRect(body.translated(0, 1.5), 6, 6);
    QColor skirt = selected ? palette::kAccentDark : palette::kCapSkirt;
    p.setBrush(skirt);
    p.drawRoundedRect(body, 6, 6);

    // Top surface: inset more at the bottom than at the top, so the cap reads as raised;
    // pressed caps sink and lose most of their skirt.
    const qreal sink = down ? 2.5 : 0;
    QRectF top = body.adjusted(3, 2 + sink, -3, -5 + sink * 0.6);
    QColor a = palette::kCapTop, b = palette::kCap;
    if (over) a = a.lighter(135), b = b.lighter(135);
    if (down) a = a.darker(125), b = b.darker(125);
    if (selected) a = palette::kAccentLight, b = palette::kAccent;
    if (disabled) a = a.darker(140), b = b.darker(140);
    QLinearGradient g(top.topLeft(), top.bottomLeft());
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    p.setBrush(g);
    p.drawRoundedRect(top, 5, 5);
    if (over) {
        p.setPen(QPen(palette::kAccent, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(body.adjusted(0.8, 0.8, -0.8, -0.8), 6, 6);
    }

    if (legend.isEmpty()) return;
    QColor ink = selected ? QColor(0x1a, 0x10, 0x05) : palette::kLegend;
    if (disabled) ink = palette::kMuted.darker(130);
    if (over && !selected) ink = QColor(0xff, 0xff, 0xff);
    const QRectF area = top.adjusted(3, 2, -3, -2);
    p.setPen(ink);
    if (legend.size() == 1) {
        // Letters, digits and symbols sit in the cap's upper left like printed legends.
        p.setFont(SkinFont(std::min(15.0, top.height() * 0.5), true));
        p.drawText(area.adjusted(3, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, legend);
        return;
    }
    const FittedLegend fitted = FitLegend(legend, 10.5, area.size());
    p.setFont(fitted.font);
    p.drawText(area, Qt::AlignCenter, fitted.text);
}

void DrawPushButton(QPainter& p, const QRectF& r, Face face, AltMeaning alt, const QString& label,
                    qreal radius) {
    const bool selected = face == Face::Alt && alt == AltMeaning::Selected;
    const bool disabled = face == Face::Alt && alt == AltMeaning::Disabled;
    QRectF body = r.adjusted(1, 1, -1, -1);
    if (face == Face::Down) body.translate(0, 1);
    QColor a(0x3a, 0x3f, 0x4a), b(0x2a, 0x2e, 0x37);
    if (face == Face::Over) a = a.lighter(125), b = b.lighter(125);
    if (face == Face::Down) a = QColor(0x1f, 0x22, 0x29), b = QColor(0x26, 0x29, 0x31);
    if (selected) a = palette::kAccentLight, b = palette::kAccent;
    if (disabled) a = QColor(0x24, 0x27, 0x2e), b = QColor(0x20, 0x22, 0x28);
    QLinearGradient g(body.topLeft(), body.bottomLeft());
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    p.setBrush(g);
    QColor edge = face == Face::Over ? palette::kAccent : QColor(0x4a, 0x50, 0x5c);
    if (face == Face::Down) edge = palette::kAccentDark;
    if (disabled) edge = QColor(0x30, 0x34, 0x3c);
    if (selected) edge = palette::kAccentLight;
    p.setPen(QPen(edge, 1.2));
    p.drawRoundedRect(body, radius, radius);
    if (!label.isEmpty()) {
        QColor ink = disabled ? palette::kMuted.darker(130) : palette::kLegend;
        if (selected) ink = QColor(0x1a, 0x10, 0x05);
        if (face == Face::Over) ink = palette::kAccentLight;
        DrawLabel(p, body, label, std::min(13.0, body.height() * 0.42), ink, Qt::AlignCenter, true);
    }
}

void DrawCard(QPainter& p, const QRectF& r, const QColor& fill, const QColor& edge, qreal radius) {
    p.setBrush(fill);
    p.setPen(QPen(edge, 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

void DrawWell(QPainter& p, const QRectF& r, qreal radius) {
    p.setBrush(palette::kWell);
    p.setPen(QPen(QColor(0x33, 0x38, 0x42), 1));
    p.drawRoundedRect(r.adjusted(-1.5, -1.5, 1.5, 1.5), radius, radius);
}

void DrawLabel(QPainter& p, const QRectF& r, const QString& text, qreal pixelSize, const QColor& colour,
               Qt::Alignment align, bool bold) {
    p.setFont(SkinFont(pixelSize, bold));
    p.setPen(colour);
    p.drawText(r, static_cast<int>(align), text);
}

QColor GlyphColour(Face face, AltMeaning alt) {
    if (face == Face::Alt) return alt == AltMeaning::Selected ? QColor(0x1a, 0x10, 0x05) : palette::kMuted.darker(130);
    if (face == Face::Over) return palette::kAccentLight;
    if (face == Face::Down) return palette::kAccent;
    return palette::kLegend;
}

void DrawGlyph(QPainter& p, const QRectF& box, Glyph glyph, const QColor& colour, qreal width) {
    const qreal s = std::min(box.width(), box.height()) * 0.5;
    const QRectF r(box.center().x() - s / 2, box.center().y() - s / 2, s, s);
    p.save();
    QPen pen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QPointF c = r.center();
    switch (glyph) {
    case Glyph::Help: {
        p.setFont(SkinFont(s * 1.25, true));
        p.drawText(r.adjusted(-s, -s, s, s), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    case Glyph::Minimize: p.drawLine(QPointF(r.left(), c.y() + s * 0.3), QPointF(r.right(), c.y() + s * 0.3)); break;
    case Glyph::Close:
        p.drawLine(r.topLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomLeft());
        break;
    case Glyph::Menu:
        for (int i = -1; i <= 1; ++i) p.drawLine(QPointF(r.left(), c.y() + i * s * 0.35), QPointF(r.right(), c.y() + i * s * 0.35));
        break;
    case Glyph::ChevronUp:
    case Glyph::Up: {
        QPolygonF tri{{r.left(), c.y() + s * 0.25}, {c.x(), c.y() - s * 0.3}, {r.right(), c.y() + s * 0.25}};
        p.drawPolyline(tri);
        break;
    }
    case Glyph::ChevronDown:
    case Glyph::Down: {
        QPolygonF tri{{r.left(), c.y() - s * 0.25}, {c.x(), c.y() + s * 0.3}, {r.right(), c.y() - s * 0.25}};
        p.drawPolyline(tri);
        break;
    }
    case Glyph::Top:
        p.drawLine(QPointF(r.left(), r.top()), QPointF(r.right(), r.top()));
        p.drawPolyline(QPolygonF{{r.left(), c.y() + s * 0.35}, {c.x(), c.y() - s * 0.15}, {r.right(), c.y() + s * 0.35}});
        break;
    case Glyph::Bottom:
        p.drawLine(QPointF(r.left(), r.bottom()), QPointF(r.right(), r.bottom()));
        p.drawPolyline(QPolygonF{{r.left(), c.y() - s * 0.35}, {c.x(), c.y() + s * 0.15}, {r.right(), c.y() - s * 0.35}});
        break;
    case Glyph::Globe:
        p.drawEllipse(r);
        p.drawEllipse(QRectF(c.x() - s * 0.22, r.top(), s * 0.44, s));
        p.drawLine(QPointF(r.left(), c.y()), QPointF(r.right(), c.y()));
        break;
    case Glyph::Share:
        p.drawEllipse(QRectF(r.left(), c.y() - s * 0.12, s * 0.24, s * 0.24));
        p.drawEllipse(QRectF(r.right() - s * 0.24, r.top(), s * 0.24, s * 0.24));
        p.drawEllipse(QRectF(r.right() - s * 0.24, r.bottom() - s * 0.24, s * 0.24, s * 0.24));
        p.drawLine(QPointF(r.left() + s * 0.2, c.y()), QPointF(r.right() - s * 0.2, r.top() + s * 0.14));
        p.drawLine(QPointF(r.left() + s * 0.2, c.y()), QPointF(r.right() - s * 0.2, r.bottom() - s * 0.14));
        break;
    case Glyph::Chat: {
        QPainterPath path;
        path.addRoundedRect(QRectF(r.left(), r.top(), s, s * 0.72), s * 0.18, s * 0.18);
        p.drawPath(path);
        p.drawLine(QPointF(r.left() + s * 0.25, r.top() + s * 0.72), QPointF(r.left() + s * 0.15, r.bottom()));
        break;
    }
    case Glyph::Plus:
        p.drawLine(QPointF(c.x(), r.top()), QPointF(c.x(), r.bottom()));
        [[fallthrough]];
    case Glyph::Minus: p.drawLine(QPointF(r.left(), c.y()), QPointF(r.right(), c.y())); break;
    case Glyph::Folder: {
        QPolygonF f{{r.left(), r.top() + s * 0.15}, {r.left() + s * 0.4, r.top() + s * 0.15},
                    {r.left() + s * 0.5, r.top() + s * 0.3}, {r.right(), r.top() + s * 0.3},
                    {r.right(), r.bottom() - s * 0.1}, {r.left(), r.bottom() - s * 0.1}};
        p.drawPolygon(f);
        break;
    }
    case Glyph::Keyboard: {
        p.drawRoundedRect(QRectF(r.left() - s * 0.2, r.top() + s * 0.1, s * 1.4, s * 0.8), s * 0.1, s * 0.1);
        p.drawLine(QPointF(r.left() + s * 0.15, r.bottom() - s * 0.3), QPointF(r.right() - s * 0.15, r.bottom() - s * 0.3));
        break;
    }
    case Glyph::Record:
        p.setBrush(colour == palette::kLegend ? QColor(0xe5, 0x48, 0x4d) : colour);
        p.drawEllipse(r.adjusted(s * 0.1, s * 0.1, -s * 0.1, -s * 0.1));
        break;
    case Glyph::Trash:
        p.drawLine(QPointF(r.left() - s * 0.1, r.top() + s * 0.15), QPointF(r.right() + s * 0.1, r.top() + s * 0.15));
        p.drawPolyline(QPolygonF{{r.left() + s * 0.05, r.top() + s * 0.15}, {r.left() + s * 0.15, r.bottom()},
                                 {r.right() - s * 0.15, r.bottom()}, {r.right() - s * 0.05, r.top() + s * 0.15}});
        p.drawLine(QPointF(c.x() - s * 0.15, r.top()), QPointF(c.x() + s * 0.15, r.top()));
        break;
    case Glyph::Eraser:
        p.drawRoundedRect(QRectF(r.left(), c.y() - s * 0.25, s, s * 0.5), s * 0.1, s * 0.1);
        p.drawLine(QPointF(c.x(), c.y() - s * 0.25), QPointF(c.x(), c.y() + s * 0.25));
        break;
    }
    p.restore();
}

void DrawWindowBody(QPainter& p, const QRectF& r, qreal titleHeight, const QString& title) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, palette::kWindowTop);
    g.setColorAt(1, palette::kWindowBottom);
    p.fillRect(r, g);
    p.fillRect(QRectF(r.left(), r.top(), r.width(), titleHeight), palette::kTitleBar);
    // The accent line under the title strip.
    QLinearGradient line(r.topLeft(), r.topRight());
    line.setColorAt(0, QColor(palette::kAccent.red(), palette::kAccent.green(), palette::kAccent.blue(), 0));
    line.setColorAt(0.5, palette::kAccent);
    line.setColorAt(1, QColor(palette::kAccent.red(), palette::kAccent.green(), palette::kAccent.blue(), 0));
    p.fillRect(QRectF(r.left(), r.top() + titleHeight - 2, r.width(), 2), line);
    if (!title.isEmpty())
        DrawLabel(p, QRectF(r.left() + 18, r.top(), r.width() - 36, titleHeight - 2), title, 15, palette::kLegend,
                  Qt::AlignLeft | Qt::AlignVCenter, true);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(palette::kDeckEdge, 1));
}

}  // namespace vantor::skingen

namespace vantor::skingen {

ControlPainter ButtonPainter(AltMeaning alt, QString label) {
    return [alt, label](QPainter& p, const QRectF& r, const RenderPass& pass) {
        DrawPushButton(p, r, pass.face, alt, label);
    };
}

ControlPainter WellPainter() {
    return [](QPainter& p, const QRectF& r, const RenderPass&) { DrawWell(p, r); };
}

void DrawDialogSurface(QPainter& p, QSize size, const QString& title) {
    const QRectF all(0, 0, size.width(), size.height());
    DrawWindowBody(p, all, 44, title);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x44, 0x49, 0x55), 1.5));
    p.drawRoundedRect(all.adjusted(0.75, 0.75, -0.75, -0.75), 12, 12);
}

}  // namespace vantor::skingen
