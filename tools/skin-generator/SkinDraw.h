#pragma once

#include "SkinControl.h"

#include <QColor>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace vantor::skingen {

// The skin's colours: a dark graphite surface with one warm accent, the orange that the
// program's hover and pressed button texts use.
namespace palette {
inline const QColor kWindowTop(0x23, 0x26, 0x2d);
inline const QColor kWindowBottom(0x14, 0x16, 0x1b);
inline const QColor kTitleBar(0x1a, 0x1c, 0x22);
inline const QColor kDeck(0x1e, 0x21, 0x28);
inline const QColor kDeckEdge(0x3a, 0x3f, 0x4a);
inline const QColor kCard(0x1b, 0x1e, 0x25);
inline const QColor kCardEdge(0x2e, 0x33, 0x3d);
inline const QColor kCap(0x2f, 0x33, 0x3c);
inline const QColor kCapTop(0x3b, 0x40, 0x4b);
inline const QColor kCapSkirt(0x17, 0x19, 0x1e);
inline const QColor kLegend(0xe8, 0xea, 0xee);
inline const QColor kMuted(0x8a, 0x90, 0x9c);
inline const QColor kAccent(0xff, 0x8a, 0x1f);
inline const QColor kAccentLight(0xff, 0xb0, 0x5c);
inline const QColor kAccentDark(0xc2, 0x5e, 0x05);
inline const QColor kWell(0x12, 0x14, 0x18);  // inset fields: lists, edits, tracks
}  // namespace palette

// Whether the fourth picture shows a control selected (accent) or disabled (dimmed).
enum class AltMeaning { Selected, Disabled };

QFont SkinFont(qreal pixelSize, bool bold = false);

// A key cap with its legend; the face decides raised, lit, pressed or selected.
void DrawKeyCap(QPainter& p, const QRectF& r, const QString& legend, Face face,
                AltMeaning alt = AltMeaning::Selected);

// A rounded push button with an optional label or glyph painter inside.
void DrawPushButton(QPainter& p, const QRectF& r, Face face, AltMeaning alt, const QString& label = {},
                    qreal radius = 6);

// A flat panel with a hairline edge (cards, decks, page areas).
void DrawCard(QPainter& p, const QRectF& r, const QColor& fill, const QColor& edge, qreal radius = 8);

// A sunken field that a list, edit or combo box covers.
void DrawWell(QPainter& p, const QRectF& r, qreal radius = 4);

// Text centred (or aligned) in the rectangle, elided never: callers size the rectangle.
void DrawLabel(QPainter& p, const QRectF& r, const QString& text, qreal pixelSize, const QColor& colour,
               Qt::Alignment align = Qt::AlignCenter, bool bold = false);

// Simple line icons for title-bar buttons and badges.
enum class Glyph { Help, Minimize, Close, Menu, ChevronUp, ChevronDown, Globe, Share, Chat, Plus,
                   Minus, Folder, Keyboard, Top, Bottom, Up, Down, Record, Trash, Eraser };
void DrawGlyph(QPainter& p, const QRectF& r, Glyph glyph, const QColor& colour, qreal width = 2.0);

// The face colour of a glyph on a button drawn with the face.
QColor GlyphColour(Face face, AltMeaning alt);

// The outline and surface every window shares: rounded body with a title strip.
void DrawWindowBody(QPainter& p, const QRectF& r, qreal titleHeight, const QString& title);

}  // namespace vantor::skingen

namespace vantor::skingen {

// Painters for the controls most windows have.
ControlPainter ButtonPainter(AltMeaning alt, QString label = {});
ControlPainter WellPainter();

// A dialog's surface: the window body with a title in the title strip.
void DrawDialogSurface(QPainter& p, QSize size, const QString& title);

}  // namespace vantor::skingen
