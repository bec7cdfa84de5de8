#include "DialogSkins.h"
#include "SkinDraw.h"
#include "SkinOutput.h"

namespace vantor::skingen {
namespace {
constexpr int kWidth = 480;
constexpr int kHeight = 364;
}  // namespace

// The profile manager's buttons carry no language text: their words are in the pictures.
// The disabled face is the pressed picture, so the fourth face is never drawn.
SkinWindow BuildProfileWindow() {
    SkinWindow w(QSize(kWidth, kHeight), 12);
    w.SetSurface([](QPainter& p, const RenderPass&) { DrawDialogSurface(p, QSize(kWidth, kHeight), "PROFILES"); });
    w.AddRect("PROGRAM_LIST", QRect(18, 60, kWidth - 36, 196), WellPainter());
    const char* row[][2] = {{"FUNC_ADD", "New"}, {"FUNC_LOAD", "Add file"}, {"FUNC_DELETE", "Remove"}};
    for (int i = 0; i < 3; ++i)
        w.AddButton(row[i][0], QRect(18 + i * 98, 270, 92, 32), ButtonPainter(AltMeaning::Selected, row[i][1]));
    w.AddButton("CONTROL2_APPLY", QRect(kWidth - 18 - 92, 270, 92, 32), ButtonPainter(AltMeaning::Selected, "Apply"));
    w.AddButton("CONTROL_OK", QRect(kWidth - 18 - 190, 316, 92, 32), ButtonPainter(AltMeaning::Selected, "OK"));
    w.AddButton("CONTROL_CANCEL", QRect(kWidth - 18 - 92, 316, 92, 32), ButtonPainter(AltMeaning::Selected, "Cancel"));
    w.AddEntry("SCREEN", "Main", "profile_bg.jpg");
    w.AddEntry("SCREEN", "Mask", "profile_mask.png");
    return w;
}

bool WriteProfileSkin(const QString& folder) {
    const SkinWindow w = BuildProfileWindow();
    bool ok = Report(w.WriteIni(folder + "/Profile.ini"), "Profile.ini");
    ok &= SavePicture(w.RenderBackground(), folder, "profile_bg.jpg");
    ok &= SavePicture(w.RenderMask(), folder, "profile_mask.png");
    ok &= SavePicture(w.RenderState({Face::Normal, 0}), folder, "Profile_normal.jpg");
    ok &= SavePicture(w.RenderState({Face::Over, 0}), folder, "Profile_over.jpg");
    ok &= SavePicture(w.RenderState({Face::Down, 0}), folder, "Profile_down.jpg");
    return ok;
}

}  // namespace vantor::skingen
