#include "LightingPanelSkin.h"

#include "MainWindowSkin.h"
#include "SkinDraw.h"
#include "SkinOutput.h"

#include <QLinearGradient>
#include <QPainterPath>

#include <array>
#include <functional>

namespace vantor::skingen {
namespace {

using namespace mainlayout;

constexpr int kCardTop = kPanelTop;
constexpr int kRow = 30;  // pitch of the label rows inside a card

// Left edges and widths of the four cards: effect, brightness/speed/direction, colours, user
// colours with report rate.
constexpr std::array<std::pair<int, int>, 4> kCards = {{{20, 230}, {262, 240}, {514, 300}, {826, 198}}};

int Inner(int card) { return kCards[card].first + 14; }

void AddEffectCard(SkinWindow& w) {
    const int x = Inner(0);
    w.AddRect("CONTROL_DengStatic", QRect(x, kCardTop + 14, 150, 22));
    w.AddRect("CONTROL_DengStaPic", QRect(x + 168, kCardTop + 10, 34, 30));
    w.AddRect("CONTROL_XGcombox", QRect(x, kCardTop + 48, 202, 148), WellPainter());
    // The mode list draws its own frame: it shows only while per-key colours are edited.
    w.AddRect("CONTROL_umCombo", QRect(x, kCardTop + 210, 202, 26));
}

void AddMotionCard(SkinWindow& w) {
    const int x = Inner(1), y = kCardTop + 12;
    w.AddRect("CONTROL_LightStatic", QRect(x, y, 212, 20));
    w.AddRect("CONTROL_LightSlider", QRect(x, y + 22, 212, 26));
    w.AddRect("CONTROL_SpeedStatic", QRect(x, y + 56, 212, 20));
    w.AddRect("CONTROL_SpeedSlider", QRect(x, y + 78, 212, 26));
    // One place for the three direction sets.
    for (const QString& suffix : {QString(), QStringLiteral("2"), QStringLiteral("3")}) {
        w.AddRect("CONTROL_BLFXStatic" + suffix, QRect(x, y + 112, 212, 20));
        w.AddRect("CONTROL_BLFXLStaPic" + suffix, QRect(x, y + 134, 100, 40));
        w.AddRect("CONTROL_BLFXRStaPic" + suffix, QRect(x + 112, y + 134, 100, 40));
    }
    // Trigger mode (single key or grid): places the program reads; no control shows it.
    w.AddRect("CONTROL_FYCFStatic", QRect(x, y + 184, 212, 20));
    w.AddRect("CONTROL_FYdjcfStaPic", QRect(x, y + 208, 22, 22));
    w.AddRect("CONTROL_FYdjcfStatic", QRect(x + 26, y + 208, 78, 22));
    w.AddRect("CONTROL_FYggcfStaPic", QRect(x + 112, y + 208, 22, 22));
    w.AddRect("CONTROL_FYggcfStatc", QRect(x + 138, y + 208, 74, 22));
}

void AddColourCard(SkinWindow& w) {
    const int x = Inner(2), y = kCardTop + 12;
    // Colour button with its random toggle, one row per effect family.
    struct Family { const char* colour; const char* button; const char* randomLabel; const char* toggle; };
    const Family families[] = {
        {"CONTROL_HXysStatic", "CONTROL_HXysButton", "CONTROL_HXsjsStatic", "CONTROL_HXsjsStaPic"},
        {"CONTROL_FYYSStatic", "CONTROL_FYYSButton", "CONTROL_FYSJSStatic", "CONTROL_FYSJSStaPic"},
        {"CONTROL_TSysStatic", "CONTROL_TSysButton", "CONTROL_TSsjsStatic", "CONTROL_TSsjsStaPic"},
        {"CONTROL_CDysStatic", "CONTROL_CDysButton", "CONTROL_CDsjsStatic", "CONTROL_CDsjsStaPic"},
        {"CONTROL_JTysStatic", "CONTROL_JTysButton", nullptr, nullptr},
    };
    int row = y;
    for (const Family& f : families) {
        w.AddRect(f.colour, QRect(x, row, 70, 22));
        w.AddRect(f.button, QRect(x + 74, row, 52, 22));
        if (f.randomLabel) {
            w.AddRect(f.randomLabel, QRect(x + 136, row, 96, 22));
            w.AddRect(f.toggle, QRect(x + 232, row, 40, 22));
        }
        row += kRow;
    }
    // The four colour pictures of effect 17.
    const char* pictures[] = {"CONTROL_HONGPIC", "CONTROL_HUANGPIC", "CONTROL_LVPIC", "CONTROL_LANPIC"};
    for (int i = 0; i < 4; ++i) w.AddRect(pictures[i], QRect(x + i * 38, row + 4, 30, 30));
    row += 44;
    w.AddRect("CONTROL_RGBStatic", QRect(x, row, 40, 22));
    const char* edits[] = {"COLOR_R", "COLOR_G", "COLOR_B"};
    for (int i = 0; i < 3; ++i) w.AddRect(edits[i], QRect(x + 44 + i * 58, row, 50, 22), WellPainter());
}

void AddUserCard(SkinWindow& w) {
    const int x = Inner(3), y = kCardTop + 12;
    w.AddRect("CONTROL_USERysStatic", QRect(x, y, 96, 22));
    w.AddRect("CONTROL_USERysButton", QRect(x + 100, y, 70, 22));
    w.AddRect("CONTROL_USERjsStatic", QRect(x, y + kRow, 96, 22));
    w.AddRect("CONTROL_USERjsButton", QRect(x + 100, y + kRow, 70, 22));
    w.AddRect("CONTROL_USERgjStatic", QRect(x, y + 2 * kRow + 2, 96, 22));
    w.AddRect("CONTROL_USERgjStaPic1", QRect(x + 100, y + 2 * kRow, 32, 28));
    w.AddRect("CONTROL_USERgjStaPic2", QRect(x + 138, y + 2 * kRow, 32, 28));
    // Places the program reads but fills with nothing: no swatches are drawn there.
    for (int i = 0; i < 8; ++i)
        w.AddRect(QStringLiteral("CONTROL_Color%1").arg(i + 1),
                  QRect(x + (i % 4) * 43, y + 3 * kRow + 8 + (i / 4) * 26, 38, 20));
    w.AddRect("CONTROL_UsbStatic", QRect(x, y + 162, 170, 20));
    const char* rates[] = {"125", "250", "500", "1000"};
    for (int i = 0; i < 4; ++i) {
        const QString label = QString::fromLatin1(rates[i]);
        w.AddButton(QStringLiteral("FUNC_REPORT%1").arg(i + 1), QRect(x + i * 43, y + 186, 40, 28),
                    [label](QPainter& p, const QRectF& r, const RenderPass& pass) {
                        DrawPushButton(p, r, pass.face, AltMeaning::Selected, {}, 5);
                        QColor ink = pass.face == Face::Alt ? QColor(0x1a, 0x10, 0x05) : palette::kLegend;
                        if (pass.face == Face::Over) ink = palette::kAccentLight;
                        DrawLabel(p, r, label, 10.5, ink, Qt::AlignCenter, true);
                    });
    }
    w.AddRect("CONTROL_JDTStatic", QRect(kWidth - 20 - 316 - 150, kBottomBarTop + 14, 136, 14));
    // The line that says a lighting change was not taken, in the bottom bar.
    w.AddRect("CONTROL_NoteStatic", QRect(252, kBottomBarTop + 11, 296, 20));
}

// ---- bitmaps -------------------------------------------------------------------------------

using BitmapPainter = std::function<void(QPainter&, const QRectF&)>;

QImage Bitmap(QSize size, const BitmapPainter& paint) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(palette::kCard);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p, QRectF(0, 0, size.width(), size.height()));
    return image;
}

void Plate(QPainter& p, const QRectF& r, bool selected) {
    p.setPen(QPen(selected ? palette::kAccent : palette::kCardEdge, 1.4));
    p.setBrush(selected ? QColor(0x3a, 0x2a, 0x1a) : QColor(0x24, 0x27, 0x2f));
    p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 7, 7);
}

// Direction pictures: an arrow (or a pair of arrows) drawn along an angle.
enum class Arrow { Left, Right, Up, Down, Spread, Gather };

void DrawArrow(QPainter& p, const QRectF& r, Arrow arrow, const QColor& ink) {
    const QPointF c = r.center();
    const qreal len = std::min(r.width(), r.height() * 1.6) * 0.28;
    auto head = [&](QPointF tip, QPointF dir) {
        const QPointF side(-dir.y(), dir.x());
        QPolygonF tri{tip, tip - dir * 7 + side * 5, tip - dir * 7 - side * 5};
        p.setBrush(ink);
        p.drawPolygon(tri);
    };
    p.setPen(QPen(ink, 2.4, Qt::SolidLine, Qt::RoundCap));
    auto shaft = [&](QPointF from, QPointF to) {
        p.drawLine(from, to);
        QPointF d = to - from;
        const qreal n = std::hypot(d.x(), d.y());
        head(to, d / n);
    };
    switch (arrow) {
    case Arrow::Left: shaft(c + QPointF(len, 0), c - QPointF(len, 0)); break;
    case Arrow::Right: shaft(c - QPointF(len, 0), c + QPointF(len, 0)); break;
    case Arrow::Up: shaft(c + QPointF(0, len * 0.5), c - QPointF(0, len * 0.5)); break;
    case Arrow::Down: shaft(c - QPointF(0, len * 0.5), c + QPointF(0, len * 0.5)); break;
    case Arrow::Spread:
        shaft(c - QPointF(4, 0), c - QPointF(len + 6, 0));
        shaft(c + QPointF(4, 0), c + QPointF(len + 6, 0));
        break;
    case Arrow::Gather:
        shaft(c - QPointF(len + 6, 0), c - QPointF(4, 0));
        shaft(c + QPointF(len + 6, 0), c + QPointF(4, 0));
        break;
    }
}

BitmapPainter DirectionPicture(Arrow arrow, bool selected) {
    return [=](QPainter& p, const QRectF& r) {
        Plate(p, r, selected);
        DrawArrow(p, r, arrow, selected ? palette::kAccentLight : palette::kMuted);
    };
}

BitmapPainter ColourPicture(QColor colour, bool selected) {
    return [=](QPainter& p, const QRectF& r) {
        const QRectF dot = r.adjusted(4, 4, -4, -4);
        if (selected) {
            p.setPen(QPen(palette::kLegend, 2));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(r.adjusted(1.5, 1.5, -1.5, -1.5));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(dot);
    };
}

BitmapPainter Toggle(bool on) {
    return [=](QPainter& p, const QRectF& r) {
        const QRectF track = r.adjusted(2, 3, -2, -3);
        p.setPen(Qt::NoPen);
        p.setBrush(on ? palette::kAccent : QColor(0x3a, 0x3f, 0x4a));
        p.drawRoundedRect(track, track.height() / 2, track.height() / 2);
        const qreal d = track.height() - 4;
        p.setBrush(on ? QColor(Qt::white) : palette::kMuted);
        p.drawEllipse(QRectF(on ? track.right() - d - 2 : track.left() + 2, track.top() + 2, d, d));
    };
}

// Tool 0 paints one key with the key colour; tool 1 paints with the base colour.
BitmapPainter ToolPicture(int tool, bool selected) {
    return [=](QPainter& p, const QRectF& r) {
        Plate(p, r, selected);
        const QColor ink = selected ? palette::kAccentLight : palette::kMuted;
        const QPointF c = r.center();
        if (tool == 0) {
            p.setPen(Qt::NoPen);
            p.setBrush(ink);
            p.drawRoundedRect(QRectF(c.x() - 6, c.y() - 6, 12, 12), 3, 3);
        } else {
            p.setPen(QPen(ink, 1.6));
            p.setBrush(Qt::NoBrush);
            for (int i = -1; i <= 1; i += 2)
                for (int j = -1; j <= 1; j += 2) p.drawRoundedRect(QRectF(c.x() + i * 4.5 - 3.5, c.y() + j * 4.5 - 3.5, 7, 7), 1.5, 1.5);
        }
    };
}

BitmapPainter Lamp(bool on) {
    return [=](QPainter& p, const QRectF& r) {
        const QPointF c = r.center();
        if (on) {
            QRadialGradient glow(c, r.height() * 0.6);
            glow.setColorAt(0, QColor(0xff, 0xb0, 0x5c, 160));
            glow.setColorAt(1, QColor(0xff, 0x8a, 0x1f, 0));
            p.setPen(Qt::NoPen);
            p.setBrush(glow);
            p.drawEllipse(r);
        }
        p.setPen(QPen(on ? palette::kAccentLight : palette::kMuted, 1.6));
        p.setBrush(on ? palette::kAccent : Qt::NoBrush);
        p.drawEllipse(QRectF(c.x() - 7, c.y() - 10, 14, 14));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(c.x() - 4, c.y() + 7), QPointF(c.x() + 4, c.y() + 7));
        p.drawLine(QPointF(c.x() - 3, c.y() + 10), QPointF(c.x() + 3, c.y() + 10));
    };
}

// A slider at one of its six positions: a track lit up to the thumb.
BitmapPainter SliderPicture(int position, bool speed) {
    return [=](QPainter& p, const QRectF& r) {
        const qreal pad = 10, mid = r.center().y();
        const QRectF track(pad, mid - 3, r.width() - 2 * pad, 6);
        const qreal tx = track.left() + track.width() * position / 5.0;
        p.setPen(Qt::NoPen);
        p.setBrush(palette::kWell);
        p.drawRoundedRect(track, 3, 3);
        QLinearGradient lit(track.topLeft(), track.topRight());
        lit.setColorAt(0, speed ? QColor(0x5a, 0x3a, 0x12) : QColor(0x40, 0x40, 0x40));
        lit.setColorAt(1, palette::kAccent);
        p.setBrush(lit);
        p.drawRoundedRect(QRectF(track.left(), track.top(), tx - track.left(), track.height()), 3, 3);
        p.setBrush(palette::kMuted);
        for (int i = 0; i <= 5; ++i) p.drawEllipse(QPointF(track.left() + track.width() * i / 5.0, mid + 9), 1.2, 1.2);
        p.setPen(QPen(palette::kAccent, 2));
        p.setBrush(QColor(0xf2, 0xf2, 0xf2));
        p.drawEllipse(QPointF(tx, mid), 7, 7);
    };
}

// Busy frame k of ten: diagonal stripes moving along a bar.
BitmapPainter BusyFrame(int frame) {
    return [=](QPainter& p, const QRectF& r) {
        QPainterPath bar;
        bar.addRoundedRect(r.adjusted(1, 1, -1, -1), r.height() / 2 - 1, r.height() / 2 - 1);
        p.fillPath(bar, palette::kWell);
        p.setClipPath(bar);
        p.setPen(Qt::NoPen);
        p.setBrush(palette::kAccent);
        const qreal step = 16, shift = frame * step / 10.0;
        for (qreal x = -2 * step + shift; x < r.width() + step; x += step)
            p.drawPolygon(QPolygonF{{x, r.bottom()}, {x + 7, r.top()}, {x + 14, r.top()}, {x + 7, r.bottom()}});
    };
}

}  // namespace

std::vector<QRectF> LightingPanelCards() {
    std::vector<QRectF> cards;
    for (const auto& [x, w] : kCards) cards.emplace_back(x, kCardTop, w, kPanelHeight);
    return cards;
}

void AddLightingPanel(SkinWindow& w) {
    AddEffectCard(w);
    AddMotionCard(w);
    AddColourCard(w);
    AddUserCard(w);
}

bool WriteLightingBitmaps(const SkinWindow& w, const QString& folder) {
    bool ok = true;
    auto save = [&](const char* key, const QString& name, const BitmapPainter& paint) {
        ok &= SavePicture(Bitmap(w.RectOf(QString::fromLatin1(key)).size(), paint), folder, name);
    };
    save("CONTROL_DengStaPic", "dengup.bmp", Lamp(false));
    save("CONTROL_DengStaPic", "dengdown.bmp", Lamp(true));
    const struct { const char* first; const char* second; Arrow a; Arrow b; } pairs[] = {
        {"left", "right", Arrow::Left, Arrow::Right},
        {"up", "down", Arrow::Up, Arrow::Down},
    };
    for (const auto& pair : pairs) {
        save("CONTROL_BLFXLStaPic", QStringLiteral("%1up.bmp").arg(pair.first), DirectionPicture(pair.a, false));
        save("CONTROL_BLFXLStaPic", QStringLiteral("%1down.bmp").arg(pair.first), DirectionPicture(pair.a, true));
        save("CONTROL_BLFXRStaPic", QStringLiteral("%1up.bmp").arg(pair.second), DirectionPicture(pair.b, false));
        save("CONTROL_BLFXRStaPic", QStringLiteral("%1down.bmp").arg(pair.second), DirectionPicture(pair.b, true));
    }
    save("CONTROL_BLFXLStaPic", "kuosan.bmp", DirectionPicture(Arrow::Spread, false));
    save("CONTROL_BLFXLStaPic", "kuosandown.bmp", DirectionPicture(Arrow::Spread, true));
    save("CONTROL_BLFXRStaPic", "julong.bmp", DirectionPicture(Arrow::Gather, false));
    save("CONTROL_BLFXRStaPic", "julongdown.bmp", DirectionPicture(Arrow::Gather, true));
    const struct { const char* key; const char* name; QColor colour; } colours[] = {
        {"CONTROL_HONGPIC", "hong", QColor(0xff, 0x3b, 0x30)},
        {"CONTROL_HUANGPIC", "huang", QColor(0xff, 0xd6, 0x0a)},
        {"CONTROL_LVPIC", "lv", QColor(0x34, 0xc7, 0x59)},
        {"CONTROL_LANPIC", "lan", QColor(0x0a, 0x84, 0xff)},
    };
    for (const auto& c : colours) {
        save(c.key, QStringLiteral("%1.bmp").arg(c.name), ColourPicture(c.colour, false));
        save(c.key, QStringLiteral("%1ok.bmp").arg(c.name), ColourPicture(c.colour, true));
    }
    save("CONTROL_HXsjsStaPic", "sjsup.bmp", Toggle(false));
    save("CONTROL_HXsjsStaPic", "sjsdown.bmp", Toggle(true));
    save("CONTROL_USERgjStaPic1", "user1up.bmp", ToolPicture(0, false));
    save("CONTROL_USERgjStaPic1", "user1down.bmp", ToolPicture(0, true));
    save("CONTROL_USERgjStaPic2", "user2up.bmp", ToolPicture(1, false));
    save("CONTROL_USERgjStaPic2", "user2down.bmp", ToolPicture(1, true));
    for (int v = 0; v <= 5; ++v) {
        save("CONTROL_LightSlider", QStringLiteral("%1.bmp").arg(v), SliderPicture(v, false));
        save("CONTROL_SpeedSlider", QStringLiteral("%1.bmp").arg(v + 6), SliderPicture(v, true));
    }
    for (int k = 0; k < 10; ++k) save("CONTROL_JDTStatic", QStringLiteral("jdt%1.bmp").arg(k + 1), BusyFrame(k));
    return ok;
}

}  // namespace vantor::skingen
