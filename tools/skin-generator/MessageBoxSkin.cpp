#include "DialogSkins.h"
#include "SkinDraw.h"
#include "SkinOutput.h"

namespace vantor::skingen {
namespace {
constexpr int kWidth = 440;
constexpr int kHeight = 200;
constexpr QSize kButton(104, 34);
// The background's pass: no button faces, so a box with one button shows no empty place; the
// buttons draw their faces from the state pictures.
constexpr int kBare = 1;

ControlPainter MessageButtonPainter() {
    return [paint = ButtonPainter(AltMeaning::Selected)](QPainter& p, const QRectF& r,
                                                         const RenderPass& pass) {
        if (pass.variant != kBare) paint(p, r, pass);
    };
}
}  // namespace

// The message box of every question and notice: the text well and two button places; a box
// with one button puts it in the right-hand place. The buttons' words are drawn by the program
// in the chosen language, so the faces carry none; the second picture draws them lit.
SkinWindow BuildMessageBoxWindow() {
    SkinWindow w(QSize(kWidth, kHeight), 12);
    w.SetSurface([](QPainter& p, const RenderPass&) {
        DrawDialogSurface(p, QSize(kWidth, kHeight), "Halvex Q780DX Keyboard");
    });
    const int top = kHeight - 18 - kButton.height();
    const QRect right(QPoint(kWidth - 18 - kButton.width(), top), kButton);
    w.AddRect("CONTROL_MsgText", QRect(24, 50, kWidth - 48, top - 50 - 10));
    w.AddButton("CONTROL_MsgButton1", right.translated(-kButton.width() - 12, 0),
                MessageButtonPainter());
    w.AddButton("CONTROL_MsgButton2", right, MessageButtonPainter());
    w.AddRect("CONTROL_MsgButtonOnly", right);
    w.AddEntry("SCREEN", "Main", "msgbox_bg.jpg");
    w.AddEntry("SCREEN", "Mask", "msgbox_mask.png");
    return w;
}

bool WriteMessageBoxSkin(const QString& folder) {
    const SkinWindow w = BuildMessageBoxWindow();
    bool ok = Report(w.WriteIni(folder + "/MessageBox.ini"), "MessageBox.ini");
    ok &= SavePicture(w.RenderBackground(kBare), folder, "msgbox_bg.jpg");
    ok &= SavePicture(w.RenderMask(), folder, "msgbox_mask.png");
    ok &= SavePicture(w.RenderState({Face::Normal, 0}), folder, "msgbox_normal.jpg");
    ok &= SavePicture(w.RenderState({Face::Over, 0}), folder, "msgbox_over.jpg");
    return ok;
}

}  // namespace vantor::skingen
