#include "MainWindowSkin.h"

#include "KeyboardLayout.h"
#include "LightingPanelSkin.h"
#include "SkinDraw.h"
#include "SkinOutput.h"
#include "TrayIconFiles.h"

#include "keymodel/KeyTables.h"
#include "shell/skin/SkinKeyNames.h"

#include <QLinearGradient>

namespace vantor::skingen {
namespace {

using namespace mainlayout;

// Colour-view variants: the pictures C0 and C1 show each key's colour-selection word.
constexpr int kColourOff = 1;
constexpr int kColourOn = 2;

// Flat strip above the keys: the Flip arrows are cut from a separate picture filled with
// exactly this colour, so they must sit on it.
const QColor kStripColour = palette::kDeck;

QRect KeyRect(double x, double y, double w, double h) {
    return QRect(qRound(kKeysLeft + x * kUnit) + 1, qRound(kKeysTop + y * kUnit) + 1, qRound(w * kUnit) - 2,
                 qRound(h * kUnit) - 2);
}

ControlPainter KeyCapPainter(QString legend) {
    return [legend](QPainter& p, const QRectF& r, const RenderPass& pass) {
        DrawKeyCap(p, r, legend, pass.face);
        if (pass.variant == kColourOff || pass.variant == kColourOn) {
            // A dot in the cap's corner: hollow for "own colour off", lit for "on".
            const QRectF dot(r.right() - 12, r.bottom() - 14, 7, 7);
            p.setPen(QPen(pass.variant == kColourOn ? palette::kAccentLight : palette::kMuted, 1.4));
            p.setBrush(pass.variant == kColourOn ? QBrush(palette::kAccent) : QBrush(Qt::NoBrush));
            p.drawEllipse(dot);
        }
    };
}

// Title-bar buttons: a glyph on the bar, a soft plate under the pointer.
ControlPainter IconButton(Glyph glyph, bool danger = false) {
    return [glyph, danger](QPainter& p, const QRectF& r, const RenderPass& pass) {
        if (pass.face == Face::Over || pass.face == Face::Down) {
            QColor plate = danger ? QColor(0xd9, 0x3b, 0x3b) : QColor(0x3a, 0x3f, 0x4a);
            if (pass.face == Face::Down) plate = plate.darker(130);
            p.setPen(Qt::NoPen);
            p.setBrush(plate);
            p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 6, 6);
        }
        const QColor ink = danger && pass.face != Face::Normal ? QColor(Qt::white) : GlyphColour(pass.face, AltMeaning::Selected);
        DrawGlyph(p, r, glyph, pass.face == Face::Alt ? palette::kMuted : ink, 2.0);
    };
}

// A small lamp with its name: the lock and bank indicators (always drawn unlit: the
// program keeps them disabled).
ControlPainter Indicator(QString name) {
    return [name](QPainter& p, const QRectF& r, const RenderPass& pass) {
        const bool lit = pass.face == Face::Alt;
        p.setPen(Qt::NoPen);
        p.setBrush(lit ? palette::kAccent : QColor(0x3a, 0x3f, 0x4a));
        p.drawEllipse(QRectF(r.left() + 4, r.center().y() - 4, 8, 8));
        DrawLabel(p, r.adjusted(16, 0, 0, 0), name, 11, lit ? palette::kAccentLight : palette::kMuted,
                  Qt::AlignLeft | Qt::AlignVCenter, true);
    };
}

void DrawSurface(QPainter& p, const RenderPass&) {
    const QRectF all(0, 0, kWidth, kHeight);
    DrawWindowBody(p, all, 48, {});
    // Keyboard deck: a flat plate with a bevelled edge.
    const QRectF deck(20, 106, kWidth - 40, 322);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRoundedRect(deck.translated(0, 3), 14, 14);
    DrawCard(p, deck, palette::kDeck, palette::kDeckEdge, 14);
    // Lighting panel cards.
    for (const QRectF& card : LightingPanelCards()) DrawCard(p, card, palette::kCard, palette::kCardEdge, 10);
    // The window's own edge.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x44, 0x49, 0x55), 1.5));
    p.drawRoundedRect(all.adjusted(0.75, 0.75, -0.75, -0.75), 14, 14);
}

void AddTitleBar(SkinWindow& w) {
    w.AddButton("PELMAR_LINK", QRect(18, 8, 150, 32), [](QPainter& p, const QRectF& r, const RenderPass& pass) {
        // The link button's pressed face is the fourth picture.
        const bool active = pass.face == Face::Over || pass.face == Face::Alt;
        QFont font = SkinFont(22, true);
        font.setLetterSpacing(QFont::AbsoluteSpacing, 3);
        p.setFont(font);
        p.setPen(active ? palette::kAccentLight : palette::kLegend);
        p.drawText(r.adjusted(22, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("VANTOR"));
        QPolygonF mark{{r.left() + 2, r.top() + 8}, {r.left() + 16, r.top() + 8}, {r.left() + 9, r.bottom() - 8}};
        p.setPen(Qt::NoPen);
        p.setBrush(palette::kAccent);
        p.drawPolygon(mark);
    });
    w.AddButton("PELMAR_VER", QRect(176, 15, 96, 20), [](QPainter& p, const QRectF& r, const RenderPass&) {
        p.setPen(QPen(palette::kDeckEdge, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 9, 9);
        DrawLabel(p, r, QStringLiteral("Q780DX"), 11, palette::kMuted, Qt::AlignCenter, true);
    });
    const int top = 8, size = 32;
    int x = kWidth - 18 - 4 * (size + 4);
    w.AddButton("CONTROL_MENU", QRect(x, top, size, size), IconButton(Glyph::Menu));
    w.AddButton("CONTROL_HELP", QRect(x += size + 4, top, size, size), IconButton(Glyph::Help));
    w.AddButton("CONTROL_MINIMIZE", QRect(x += size + 4, top, size, size), IconButton(Glyph::Minimize));
    w.AddButton("CONTROL_CLOSE", QRect(x += size + 4, top, size, size), IconButton(Glyph::Close, true));
}

void AddProfileBar(SkinWindow& w) {
    // The profiles button carries a slanted text from the program: a wide tab for it.
    w.AddButton("FUNC_PROFILES", QRect(20, 58, 124, 38), ButtonPainter(AltMeaning::Selected));
    int x = 156;
    for (int i = 1; i <= 3; ++i, x += 106)
        w.AddButton(QStringLiteral("FUNC_PROFILE%1").arg(i), QRect(x, 60, 100, 34), ButtonPainter(AltMeaning::Selected));
    w.AddButton("FUNC_DEFAULT", QRect(x + 12, 60, 100, 34), ButtonPainter(AltMeaning::Selected));
    w.AddButton("FUNC_MACRO", QRect(x + 124, 60, 116, 34), ButtonPainter(AltMeaning::Selected));
}

void AddKeyboard(SkinWindow& w) {
    for (const PlacedKey& k : FullSizeLayout())
        w.AddButton(SkinKeyName(static_cast<uint16_t>(RowOfCode(k.code))), KeyRect(k.x, k.y, k.w, k.h),
                    KeyCapPainter(KeyLegend(k.code)));
    // The international keys this model lacks: placed at the 1,1 marker, so they stay hidden.
    for (KeyCode code : KeyList)
        if (code == 0x056 || code == 0x073) w.AddButton(SkinKeyName(static_cast<uint16_t>(RowOfCode(code))), QRect(1, 1, 1, 1));
    w.AddButton("KEY_FN", KeyRect(12, 5.25, 1, 1), KeyCapPainter(QStringLiteral("Fn")));

    // G1-G9: a column of macro keys left of the main block.
    const double pitch = kLayoutHeight * kUnit / kExtraKeyButtonCount;
    for (int i = 0; i < kExtraKeyButtonCount; ++i)
        w.AddButton(GKeySkinName(i + 1), QRect(38, qRound(kKeysTop + i * pitch) + 1, 50, qRound(pitch) - 3),
                    KeyCapPainter(QStringLiteral("G%1").arg(i + 1)));
}

// Above the keys: the bank indicator, the Fn-layer switch with its arrows, the six D keys of
// the Fn layer, and the three lock lamps.
void AddStrip(SkinWindow& w) {
    const int y = 118, h = 28;
    w.AddButton("LOCK_AB", QRect(38, y, 56, h), Indicator(QStringLiteral("A/B")));
    w.AddButton("FLIP_1", QRect(106, y, 80, h), ButtonPainter(AltMeaning::Selected, QStringLiteral("F1–F4")));
    w.AddButton("LEFT_ARROW", QRect(190, y, 24, h));
    w.AddButton("FLIP_0", QRect(218, y, 120, h), [](QPainter& p, const QRectF& r, const RenderPass& pass) {
        const bool sel = pass.face == Face::Alt;
        p.setPen(QPen(sel ? palette::kAccent : palette::kDeckEdge, 1));
        p.setBrush(QColor(0x17, 0x19, 0x1f));
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 13, 13);
        DrawLabel(p, r, QStringLiteral("Fn LAYER"), 11, sel ? palette::kAccentLight : palette::kMuted, Qt::AlignCenter, true);
    });
    w.AddButton("RIGHT_ARROW", QRect(342, y, 24, h));
    w.AddButton("FLIP_2", QRect(370, y, 80, h), ButtonPainter(AltMeaning::Selected, QStringLiteral("D1–D6")));
    // The D keys are plain buttons of the program's own; their places are given here, and the
    // pictures show a cap under them.
    for (int i = 0; i < 6; ++i) {
        const QRect r(470 + i * 40, y, 36, h);
        w.AddRect(QStringLiteral("KEY_D%1").arg(i + 1), r, KeyCapPainter(QStringLiteral("D%1").arg(i + 1)));
    }
    const int lamps = kKeysLeft + qRound(18.5 * kUnit);
    w.AddButton("LOCK_CAPS", QRect(lamps, y, 52, h), Indicator(QStringLiteral("Caps")));
    w.AddButton("LOCK_NUM", QRect(lamps + 54, y, 52, h), Indicator(QStringLiteral("Num")));
    w.AddButton("LOCK_SCROLL", QRect(lamps + 108, y, 52, h), Indicator(QStringLiteral("Scroll")));
}

void AddBottomBar(SkinWindow& w) {
    const int y = kBottomBarTop + 4, h = 34;
    const std::pair<const char*, Glyph> links[] = {
        {"CONTROL_Network", Glyph::Globe}, {"CONTROL_Facebook", Glyph::Share}, {"CONTROL_twitter", Glyph::Chat}};
    int x = 22;
    for (const auto& [key, glyph] : links) {
        const Glyph g = glyph;
        w.AddRect(key, QRect(x, y + 3, 28, 28), [g](QPainter& p, const QRectF& r, const RenderPass&) {
            p.setPen(QPen(palette::kDeckEdge, 1));
            p.setBrush(palette::kCard);
            p.drawEllipse(r.adjusted(0.5, 0.5, -0.5, -0.5));
            DrawGlyph(p, r.adjusted(2, 2, -2, -2), g, palette::kMuted, 1.5);
        });
        x += 34;
    }
    // The colour-view switch is never shown: it gets a place, but no face in the pictures.
    w.AddRect("FUNC_SWITCH", QRect(130, y, 110, h));
    const int right = kWidth - 20;
    w.AddButton("CONTROL_CANCEL", QRect(right - 100, y, 100, h), ButtonPainter(AltMeaning::Selected));
    w.AddButton("CONTROL_OK", QRect(right - 208, y, 100, h), ButtonPainter(AltMeaning::Selected));
    w.AddButton("CONTROL2_APPLY", QRect(right - 316, y, 100, h), ButtonPainter(AltMeaning::Disabled));
}

QImage ArrowPicture(const SkinWindow& w) {
    QImage image(w.Size(), QImage::Format_RGB32);
    image.fill(kStripColour);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QSize size = w.RectOf("LEFT_ARROW").size();
    const std::pair<const char*, Glyph> arrows[] = {{"UP_ARROW_LEFT1", Glyph::ChevronUp},
                                                    {"DOWN_ARROW_LEFT1", Glyph::ChevronDown},
                                                    {"UP_ARROW_RIGHT1", Glyph::ChevronUp},
                                                    {"DOWN_ARROW_RIGHT1", Glyph::ChevronDown}};
    int x = 21;
    for (const auto& [key, glyph] : arrows) {
        const QRect origin(x, 21, size.width(), size.height());
        // Cut at (x - 1, y - 1) like every other face.
        DrawGlyph(p, QRectF(origin.translated(-1, -1)), glyph, palette::kAccent, 2.6);
        x += 40;
    }
    return image;
}

}  // namespace

SkinWindow BuildMainWindow() {
    SkinWindow w(QSize(kWidth, kHeight), 14);
    w.SetSurface(DrawSurface);
    AddTitleBar(w);
    AddProfileBar(w);
    AddStrip(w);
    AddKeyboard(w);
    AddLightingPanel(w);
    AddBottomBar(w);
    w.AddEntry("SCREEN", "Main", "main_bg.jpg");
    w.AddEntry("SCREEN", "Mask", "main_mask.png");
    w.AddEntry("SCREEN", "Link", "https://vantor.app/");
    int x = 21;
    for (const char* key : {"UP_ARROW_LEFT1", "DOWN_ARROW_LEFT1", "UP_ARROW_RIGHT1", "DOWN_ARROW_RIGHT1"}) {
        w.AddEntry("BUTTONINFO2", key, GeometryValue(QRect(QPoint(x, 21), w.RectOf("LEFT_ARROW").size())));
        x += 40;
    }
    for (const vantor::TrayIconFile& icon : vantor::kTrayIconFiles) w.AddEntry("TRAY", QString::number(icon.code), icon.name);
    return w;
}

bool WriteMainSkin(const QString& folder) {
    const SkinWindow w = BuildMainWindow();
    bool ok = Report(w.WriteIni(folder + "/Main.ini"), "Main.ini");
    ok &= SavePicture(w.RenderBackground(), folder, "main_bg.jpg");
    ok &= SavePicture(w.RenderMask(), folder, "main_mask.png");
    const std::pair<Face, const char*> faces[] = {{Face::Normal, "main_normal.jpg"},
                                                  {Face::Over, "main_over.jpg"},
                                                  {Face::Down, "main_down.jpg"},
                                                  {Face::Alt, "main_disable.jpg"}};
    for (const auto& [face, name] : faces) ok &= SavePicture(w.RenderState({face, 0}), folder, name);
    ok &= SavePicture(w.RenderState({Face::Normal, kColourOff}), folder, "main_color0.jpg");
    ok &= SavePicture(w.RenderState({Face::Normal, kColourOn}), folder, "main_color1.jpg");
    ok &= SavePicture(ArrowPicture(w), folder, "Arrow.jpg");
    ok &= WriteLightingBitmaps(w, folder);
    return ok;
}

}  // namespace vantor::skingen
