#include "DialogSkins.h"
#include "SkinDraw.h"
#include "SkinOutput.h"

namespace vantor::skingen {
namespace {
constexpr int kWidth = 468;
constexpr int kHeight = 252;
}  // namespace

// The update dialog's buttons show the normal picture, and the second picture in every other
// state, so the second picture draws them lit.
SkinWindow BuildUpdateWindow() {
    SkinWindow w(QSize(kWidth, kHeight), 12);
    w.SetSurface([](QPainter& p, const RenderPass&) {
        DrawDialogSurface(p, QSize(kWidth, kHeight), "FIRMWARE UPDATE");
        DrawLabel(p, QRectF(18, 54, kWidth - 36, 24),
                  "Choose the updater that came with the firmware package.", 12, palette::kMuted,
                  Qt::AlignLeft | Qt::AlignVCenter);
        // Where the hidden list sits: what Update does, so nobody is surprised by it.
        DrawLabel(p, QRectF(18, 130, kWidth - 36, 20),
                  "Back up your profiles first. Update puts the keyboard into its boot mode", 11,
                  palette::kMuted, Qt::AlignLeft | Qt::AlignVCenter);
        DrawLabel(p, QRectF(18, 150, kWidth - 36, 20),
                  "and starts the updater; the keyboard is away until the updater is done.", 11,
                  palette::kMuted, Qt::AlignLeft | Qt::AlignVCenter);
    });
    w.AddRect("CONTROL_UPStatic", QRect(18, 88, kWidth - 36 - 100, 30), WellPainter());
    w.AddButton("CONTROL_OPENButton", QRect(kWidth - 18 - 92, 87, 92, 32), ButtonPainter(AltMeaning::Selected, "Browse"));
    w.AddRect("CONTROL_UPCombox", QRect(18, 128, kWidth - 36 - 100, 26));
    w.AddButton("CONTROL_BACKUPButton", QRect(18, 198, 120, 34), ButtonPainter(AltMeaning::Selected, "Back up"));
    w.AddButton("CONTROL_UPButton", QRect(kWidth - 18 - 212, 198, 104, 34), ButtonPainter(AltMeaning::Selected, "Update"));
    w.AddButton("CONTROL_CUPButton", QRect(kWidth - 18 - 104, 198, 104, 34), ButtonPainter(AltMeaning::Selected, "Cancel"));
    w.AddEntry("SCREEN", "Main", "update_bg.jpg");
    w.AddEntry("SCREEN", "Mask", "update_mask.png");
    return w;
}

bool WriteUpdateSkin(const QString& folder) {
    const SkinWindow w = BuildUpdateWindow();
    bool ok = Report(w.WriteIni(folder + "/UpdateDlg.ini"), "UpdateDlg.ini");
    ok &= SavePicture(w.RenderBackground(), folder, "update_bg.jpg");
    ok &= SavePicture(w.RenderMask(), folder, "update_mask.png");
    ok &= SavePicture(w.RenderState({Face::Normal, 0}), folder, "update_normal.jpg");
    ok &= SavePicture(w.RenderState({Face::Over, 0}), folder, "update_over.jpg");
    return ok;
}

}  // namespace vantor::skingen
