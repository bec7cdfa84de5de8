// The skin's pictures: each one a window or control names exists and decodes, faces line up
// with the places the program cuts them from, and masks are exact.

#include "SkinFolder.h"

#include "TrayIconFiles.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

namespace vantor::test {
namespace {

QImage Load(const QString& name) { return QImage(SkinPath(name)).convertToFormat(QImage::Format_RGB32); }

// Mean absolute difference per channel of two same-sized pictures, 0-255.
double Difference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

struct Window {
    const char* ini;
    QStringList statePictures;
};

const Window kWindows[] = {
    {"Main.ini",
     {"main_normal.jpg", "main_over.jpg", "main_down.jpg", "main_disable.jpg", "Arrow.jpg", "main_color0.jpg",
      "main_color1.jpg"}},
    {"Composite.ini",
     {"key_normal.jpg", "key_over.jpg", "key_down.jpg", "macro_normal.jpg", "macro_over.jpg", "macro_down.jpg",
      "macro_disable.jpg", "macro2_normal.jpg", "macro2_over.jpg", "macro2_down.jpg", "macro2_disable.jpg",
      "media_normal.jpg", "media_over.jpg", "media_down.jpg", "function_normal.jpg", "function_over.jpg",
      "function_down.jpg"}},
    {"Profile.ini", {"Profile_normal.jpg", "Profile_over.jpg", "Profile_down.jpg"}},
    {"UpdateDlg.ini", {"update_normal.jpg", "update_over.jpg"}},
};

TEST(SkinPictures, StatePicturesDecodeAtTheBackgroundsSize) {
    for (const Window& w : kWindows) {
        SCOPED_TRACE(w.ini);
        const IniDocument ini = ReadSkinIni(w.ini);
        const QImage background = Load(ini.ReadString(u"SCREEN", u"Main", {}));
        ASSERT_FALSE(background.isNull());
        for (const QString& name : w.statePictures) {
            const QImage picture = Load(name);
            ASSERT_FALSE(picture.isNull()) << name.toStdString();
            EXPECT_EQ(picture.size(), background.size()) << name.toStdString();
        }
    }
}

// Exactly black inside and white outside, corners outside (the outline is rounded), and no
// control cut off by the outline.
TEST(SkinPictures, MasksAreExactAndHoldEveryControl) {
    for (const Window& w : kWindows) {
        SCOPED_TRACE(w.ini);
        const IniDocument ini = ReadSkinIni(w.ini);
        const QImage mask = Load(ini.ReadString(u"SCREEN", u"Mask", {}));
        ASSERT_FALSE(mask.isNull());
        EXPECT_EQ(mask.size(), Load(ini.ReadString(u"SCREEN", u"Main", {})).size());
        int stray = 0;
        for (int y = 0; y < mask.height(); ++y)
            for (int x = 0; x < mask.width(); ++x) {
                const QRgb p = mask.pixel(x, y) & 0xFFFFFF;
                if (p != 0 && p != 0xFFFFFF) ++stray;
            }
        EXPECT_EQ(stray, 0) << "pixels neither black nor white";
        EXPECT_EQ(mask.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
        EXPECT_EQ(mask.pixel(mask.width() - 1, mask.height() - 1) & 0xFFFFFF, 0xFFFFFFu);
        for (const QString& key : ini.KeyNames(u"BUTTONINFO")) {
            const QRect r = GeometryOf(ini, key);
            if (r.x() == 1 && r.y() == 1) continue;
            for (const QPoint corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
                EXPECT_EQ(mask.pixel(corner) & 0xFFFFFF, 0u) << key.toStdString() << " is cut by the outline";
        }
    }
}

// The program shows a control placed at (x, y) with the rectangle of a state picture that
// starts at (x - 1, y - 1): that face must match what the background shows there, and the
// four faces of a key must look different.
TEST(SkinPictures, FacesLineUpWithTheBackgroundAndDifferByState) {
    const IniDocument ini = ReadSkinIni("Main.ini");
    const QImage background = Load("main_bg.jpg");
    const QRect a = GeometryOf(ini, "KEY_01E");
    const QRect cut(a.topLeft() - QPoint(1, 1), a.size());
    const QImage normal = Load("main_normal.jpg").copy(cut);
    EXPECT_LT(Difference(normal, background.copy(a)), 3.0);
    EXPECT_GT(Difference(normal, background.copy(cut)), 3.0) << "faces are not shifted by one pixel";
    const QImage faces[] = {normal, Load("main_over.jpg").copy(cut), Load("main_down.jpg").copy(cut),
                            Load("main_disable.jpg").copy(cut), Load("main_color0.jpg").copy(cut),
                            Load("main_color1.jpg").copy(cut)};
    // The colour-view pair differs from each other; the other four are the states.
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j) EXPECT_GT(Difference(faces[i], faces[j]), 4.0) << i << " vs " << j;
    EXPECT_GT(Difference(faces[4], faces[5]), 0.5);
}

// The colour-view switch is never shown, so no picture draws a face for it: its place looks the
// same in every state and as the background around it.
TEST(SkinPictures, TheHiddenSwitchHasNoFace) {
    const IniDocument ini = ReadSkinIni("Main.ini");
    const QRect place = GeometryOf(ini, "FUNC_SWITCH");
    ASSERT_FALSE(place.isEmpty());
    const QRect cut(place.topLeft() - QPoint(1, 1), place.size());
    const QImage background = Load("main_bg.jpg").copy(place);
    for (const char* name : {"main_normal.jpg", "main_over.jpg", "main_down.jpg", "main_disable.jpg"})
        EXPECT_LT(Difference(Load(name).copy(cut), background), 3.0) << name;
    // The background holds no button there: it is as even as the bar beside it.
    const QImage image = Load("main_bg.jpg");
    const QImage beside = image.copy(place.translated(place.width() + 10, 0));
    EXPECT_LT(Difference(background, beside), 6.0);
}

// The lighting panel's bitmaps, each exactly the size of the control that shows it.
TEST(SkinPictures, LightingBitmapsFitTheirControls) {
    const IniDocument ini = ReadSkinIni("Main.ini");
    struct Set {
        const char* control;
        QStringList files;
    };
    QStringList sliders, speed, busy;
    for (int i = 0; i <= 5; ++i) sliders << QStringLiteral("%1.bmp").arg(i), speed << QStringLiteral("%1.bmp").arg(i + 6);
    for (int i = 1; i <= 10; ++i) busy << QStringLiteral("jdt%1.bmp").arg(i);
    const Set sets[] = {
        {"CONTROL_DengStaPic", {"dengup.bmp", "dengdown.bmp"}},
        {"CONTROL_BLFXLStaPic", {"leftup.bmp", "leftdown.bmp", "upup.bmp", "updown.bmp", "kuosan.bmp", "kuosandown.bmp"}},
        {"CONTROL_BLFXRStaPic", {"rightup.bmp", "rightdown.bmp", "downup.bmp", "downdown.bmp", "julong.bmp", "julongdown.bmp"}},
        {"CONTROL_HONGPIC", {"hong.bmp", "hongok.bmp"}},
        {"CONTROL_HUANGPIC", {"huang.bmp", "huangok.bmp"}},
        {"CONTROL_LVPIC", {"lv.bmp", "lvok.bmp"}},
        {"CONTROL_LANPIC", {"lan.bmp", "lanok.bmp"}},
        {"CONTROL_HXsjsStaPic", {"sjsup.bmp", "sjsdown.bmp"}},
        {"CONTROL_FYSJSStaPic", {"sjsup.bmp", "sjsdown.bmp"}},
        {"CONTROL_USERgjStaPic1", {"user1up.bmp", "user1down.bmp"}},
        {"CONTROL_USERgjStaPic2", {"user2up.bmp", "user2down.bmp"}},
        {"CONTROL_LightSlider", sliders},
        {"CONTROL_SpeedSlider", speed},
        {"CONTROL_JDTStatic", busy},
    };
    for (const Set& s : sets) {
        const QSize size = GeometryOf(ini, s.control).size();
        for (const QString& file : s.files) {
            const QImage image = Load(file);
            ASSERT_FALSE(image.isNull()) << file.toStdString();
            EXPECT_EQ(image.size(), size) << file.toStdString() << " on " << s.control;
        }
    }
    // Pairs show two states: the pictures of a pair must differ.
    EXPECT_GT(Difference(Load("sjsup.bmp"), Load("sjsdown.bmp")), 4.0);
    EXPECT_GT(Difference(Load("0.bmp"), Load("5.bmp")), 4.0);
}

TEST(SkinPictures, TrayPicturesAreThreeDistinctIcons) {
    QImage icons[3];
    for (int i = 0; i < 3; ++i) {
        icons[i] = QImage(QDir(QStringLiteral(VANTOR_SKIN_DIR)).filePath("../" + QString::fromLatin1(kTrayIconFiles[i].path)));
        ASSERT_FALSE(icons[i].isNull()) << kTrayIconFiles[i].path;
        EXPECT_TRUE(icons[i].hasAlphaChannel());
    }
    EXPECT_NE(icons[0], icons[1]);
    EXPECT_NE(icons[1], icons[2]);
}

}  // namespace
}  // namespace vantor::test
