#include "DialogSkins.h"
#include "SkinDraw.h"
#include "SkinOutput.h"

#include <utility>

namespace vantor::skingen {
namespace {

// The dialog's picture sets, one variant each. The page area behind the controls (the mask
// button) shows the page of its set; the macro2 set dims the page buttons for macro-only use.
enum Set { kKeySet, kMacroSet, kMacro2Set, kMediaSet, kFunctionSet };

constexpr int kWidth = 560;
constexpr int kHeight = 468;
const QRect kPageArea(16, 122, 528, 284);
const QRectF kMouseListArea(314, 214, 216, 150);

// Draws the control only in the pictures of the given sets.
ControlPainter OnlyIn(std::initializer_list<int> sets, ControlPainter paint) {
    return [sets = std::vector<int>(sets), paint](QPainter& p, const QRectF& r, const RenderPass& pass) {
        for (int s : sets)
            if (s == pass.variant) return paint(p, r, pass);
    };
}

// Page buttons and the title take the macro2 set in macro-only mode, where they are disabled.
ControlPainter TabButton(QString label = {}) {
    return [label](QPainter& p, const QRectF& r, const RenderPass& pass) {
        const bool macroOnly = pass.variant == kMacro2Set;
        DrawPushButton(p, r, pass.face, macroOnly ? AltMeaning::Disabled : AltMeaning::Selected, label);
    };
}

void DrawPage(QPainter& p, const QRectF& r, const RenderPass& pass) {
    DrawCard(p, r, palette::kCard, palette::kCardEdge, 10);
    // A faint emblem in the lower right corner of the macro pages; the other pages' lists
    // reach down there.
    if (pass.variant == kMacroSet || pass.variant == kMacro2Set)
        DrawGlyph(p, QRectF(r.right() - 70, r.bottom() - 70, 64, 64), Glyph::Record, palette::kCardEdge, 3);
    p.fillRect(QRectF(r.left() + 10, r.top(), r.width() - 20, 2), palette::kAccent);
    // The mouse function list keeps the dialog template's place, under the mouse choice.
    if (pass.variant == kKeySet) DrawWell(p, kMouseListArea);
}

ControlPainter GlyphButton(Glyph glyph, QString label) {
    return [glyph, label](QPainter& p, const QRectF& r, const RenderPass& pass) {
        DrawPushButton(p, r, pass.face, AltMeaning::Disabled);
        const QColor ink = GlyphColour(pass.face, AltMeaning::Disabled);
        DrawGlyph(p, QRectF(r.left() + 4, r.top(), r.height(), r.height()), glyph, ink, 2);
        DrawLabel(p, r.adjusted(r.height(), 0, -6, 0), label, 12, ink, Qt::AlignCenter, true);
    };
}

ControlPainter Radio() {
    return [](QPainter& p, const QRectF& r, const RenderPass&) {
        p.setPen(QPen(palette::kMuted, 1.4));
        p.setBrush(palette::kWell);
        p.drawEllipse(r.adjusted(3, 3, -3, -3));
    };
}

void AddKeyPage(SkinWindow& w) {
    const auto key = [](ControlPainter paint) { return OnlyIn({kKeySet}, std::move(paint)); };
    w.AddRect("TISHI_SINGLE_STATIC", QRect(30, 136, 500, 36));
    w.AddRect("FUNC_KEY_RADIO_KB", QRect(30, 184, 20, 20), key(Radio()));
    w.AddRect("FUNC_KEY_RADIO_KB_STATIC", QRect(54, 184, 220, 20));
    w.AddRect("FUNC_KEY_INPUT", QRect(54, 214, 220, 28), key(WellPainter()));
    w.AddRect("FUNC_KEY_RADIO_MOU", QRect(290, 184, 20, 20), key(Radio()));
    w.AddRect("FUNC_KEY_RADIO_MOU_STATIC", QRect(314, 184, 216, 20));
    w.AddRect("FUNC_KEY_MOUSE_SELECT", kMouseListArea.toRect());
}

void AddListPage(SkinWindow& w, int set, const char* hint, const char* list) {
    w.AddRect(hint, QRect(30, 136, 500, 36));
    w.AddRect(list, QRect(30, 180, 500, 212), OnlyIn({set}, WellPainter()));
}

void AddMacroPage(SkinWindow& w) {
    const auto macro = [](ControlPainter paint) { return OnlyIn({kMacroSet}, std::move(paint)); };
    w.AddRect("MARCO_NAME_SETTING", QRect(30, 136, 200, 20));
    w.AddRect("FUNC_MACRO_LIST", QRect(30, 160, 200, 176), macro(WellPainter()));
    w.AddButton("FUNC_MACRO_ADD", QRect(30, 346, 96, 32), macro(GlyphButton(Glyph::Plus, "Add")));
    w.AddButton("FUNC_MACRO_DELETE", QRect(134, 346, 96, 32), macro(GlyphButton(Glyph::Trash, "Delete")));
    w.AddRect("FUNC_MACRO_LIST2", QRect(246, 136, 192, 200), macro(WellPainter()));
    // The action buttons carry texts of the program's language files.
    const char* actions[] = {"FUNC_MACRO_UP_TOP", "FUNC_MACRO_UP", "FUNC_MACRO_DOWN",
                             "FUNC_MACRO_DOWN_BOTTOM", "FUNC_MACRO_DELETE2", "FUNC_MACRO_CLEAR"};
    for (int i = 0; i < 6; ++i)
        w.AddButton(actions[i], QRect(446, 136 + i * 34, 84, 30), macro(ButtonPainter(AltMeaning::Disabled)));
    w.AddButton("FUNC_MACRO_RECORD", QRect(246, 346, 110, 32), macro(ButtonPainter(AltMeaning::Disabled)));
    w.AddRect("FUNC_MACRO_RECORD_DELAY", QRect(366, 352, 20, 20), macro(Radio()));
    w.AddRect("FUNC_MACRO_RECORD_DELAY2", QRect(390, 348, 140, 28));
}

}  // namespace

SkinWindow BuildCompositeWindow() {
    SkinWindow w(QSize(kWidth, kHeight), 12);
    w.SetSurface([](QPainter& p, const RenderPass&) { DrawDialogSurface(p, QSize(kWidth, kHeight), {}); });
    w.AddButton("CONTROL_TITLE", QRect(16, 7, 320, 30), [](QPainter& p, const QRectF& r, const RenderPass& pass) {
        const QString title = pass.variant == kMacro2Set ? QStringLiteral("MACRO EDITOR") : QStringLiteral("KEY ASSIGNMENT");
        DrawLabel(p, r, title, 15, palette::kLegend, Qt::AlignLeft | Qt::AlignVCenter, true);
    });
    w.AddButton("CONTROL_OSK", QRect(kWidth - 52, 7, 36, 30), [](QPainter& p, const QRectF& r, const RenderPass& pass) {
        if (pass.face == Face::Over || pass.face == Face::Down) DrawPushButton(p, r, pass.face, AltMeaning::Selected);
        DrawGlyph(p, r, Glyph::Keyboard, GlyphColour(pass.face, AltMeaning::Selected), 1.8);
    });
    w.AddButton("CONTROL_KEY", QRect(16, 54, 108, 34), TabButton());
    w.AddButton("CONTROL_MACRO", QRect(130, 54, 108, 34), TabButton());
    w.AddButton("CONTROL_MEDIA", QRect(244, 54, 108, 34), TabButton());
    w.AddButton("CONTROL_FUNCTION", QRect(358, 54, 108, 34), TabButton());
    w.AddButton("CONTROL_CLEAR", QRect(472, 54, 72, 34), TabButton(QStringLiteral("Clear")));
    w.AddRect("KEY_SETTING", QRect(16, 96, 528, 22));
    w.AddButton("CONTROL_MASK", kPageArea, DrawPage);
    AddKeyPage(w);
    AddListPage(w, kMediaSet, "MEDIA_SETTING_TISHI", "FUNC_MEDIA_SELECT");
    AddListPage(w, kFunctionSet, "FUNCTION_KEY_SETTING_TISHI", "FUNC_FUNCTION_SELECT");
    AddMacroPage(w);
    w.AddRect("FUNC_MACRO_CYCLES_PROMPT", QRect(16, 424, 96, 26));
    w.AddRect("FUNC_MACRO_CYCLES", QRect(116, 424, 56, 26), WellPainter());
    w.AddButton("CONTROL_APPLY", QRect(kWidth - 16 - 304, 420, 96, 34), ButtonPainter(AltMeaning::Selected));
    w.AddButton("CONTROL_OK", QRect(kWidth - 16 - 200, 420, 96, 34), ButtonPainter(AltMeaning::Selected));
    w.AddButton("CONTROL_CANCEL", QRect(kWidth - 16 - 96, 420, 96, 34), ButtonPainter(AltMeaning::Selected));
    w.AddEntry("SCREEN", "Main", "composite_bg.jpg");
    w.AddEntry("SCREEN", "Mask", "composite_mask.png");
    return w;
}

bool WriteCompositeSkin(const QString& folder) {
    const SkinWindow w = BuildCompositeWindow();
    bool ok = Report(w.WriteIni(folder + "/Composite.ini"), "Composite.ini");
    ok &= SavePicture(w.RenderBackground(kKeySet), folder, "composite_bg.jpg");
    ok &= SavePicture(w.RenderMask(), folder, "composite_mask.png");
    const std::pair<int, const char*> sets[] = {{kKeySet, "key"}, {kMacroSet, "macro"}, {kMacro2Set, "macro2"},
                                                {kMediaSet, "media"}, {kFunctionSet, "function"}};
    for (const auto& [set, name] : sets) {
        const QString base = QString::fromLatin1(name);
        ok &= SavePicture(w.RenderState({Face::Normal, set}), folder, base + "_normal.jpg");
        ok &= SavePicture(w.RenderState({Face::Over, set}), folder, base + "_over.jpg");
        ok &= SavePicture(w.RenderState({Face::Down, set}), folder, base + "_down.jpg");
        if (set == kMacroSet || set == kMacro2Set)
            ok &= SavePicture(w.RenderState({Face::Alt, set}), folder, base + "_disable.jpg");
    }
    return ok;
}

}  // namespace vantor::skingen
