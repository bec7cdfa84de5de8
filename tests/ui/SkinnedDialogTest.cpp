#include "ui/SkinnedDialog.h"

#include "ui/ImageButton.h"
#include "UiTestSupport.h"

#include <QMouseEvent>

#include <gtest/gtest.h>

namespace vantor {
namespace {

using test::EnsureApplication;
using test::PatternPicture;
using test::WritePicture;

// The region of exactly the pixels of `image` that are not pure white.
QRegion NonWhitePixels(const QImage& image) {
    QRegion region;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                region += QRect(x, y, 1, 1);
            }
        }
    }
    return region;
}

// Regions compare by their rectangle lists; this compares the pixels they cover.
::testing::AssertionResult SameArea(const QRegion& a, const QRegion& b) {
    if ((a ^ b).isEmpty()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "regions differ in " << (a ^ b).rectCount() << " rectangles";
}

// A rounded-corner shape with a hole, and one near-white pixel inside the cut-out corner.
QImage ShapedMask(int width, int height) {
    QImage mask(width, height, QImage::Format_RGB32);
    mask.fill(Qt::black);
    for (int i = 0; i < 6; ++i) {
        for (int j = 0; j < 6 - i; ++j) {
            mask.setPixel(i, j, qRgb(255, 255, 255));
            mask.setPixel(width - 1 - i, height - 1 - j, qRgb(255, 255, 255));
        }
    }
    for (int y = 10; y < 14; ++y) {
        for (int x = 20; x < 30; ++x) {
            mask.setPixel(x, y, qRgb(255, 255, 255));
        }
    }
    mask.setPixel(1, 1, qRgb(254, 255, 255));
    return mask;
}

class SkinnedDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        m_background = PatternPicture(64, 48, 3);
        WritePicture(m_env, QStringLiteral("Skins\\back.bmp"), m_background);
    }

    QString Ini(const QByteArray& screen) {
        return m_env.WriteProgramFile(QStringLiteral("Skins\\Dialog.ini"), "[SCREEN]\r\n" + screen);
    }

    test::TestEnvironment m_env;
    QImage m_background;
};

TEST_F(SkinnedDialogTest, TakesBackgroundSizePictureAndExactMaskShape) {
    const QImage mask = ShapedMask(64, 48);
    WritePicture(m_env, QStringLiteral("Skins\\mask.bmp"), mask);
    SkinnedDialog dialog(Ini("Main=back.bmp\r\nMask=mask.bmp\r\n"), m_env.SkinFolder());
    dialog.Initialise();

    EXPECT_EQ(dialog.size(), QSize(64, 48));
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(SameArea(dialog.mask(), NonWhitePixels(mask)));
    EXPECT_TRUE(dialog.mask().contains(QPoint(1, 1)));   // near-white stays
    EXPECT_FALSE(dialog.mask().contains(QPoint(0, 0)));  // white goes
    EXPECT_FALSE(dialog.mask().contains(QPoint(25, 12)));
    EXPECT_EQ(dialog.grab().toImage().convertToFormat(QImage::Format_RGB32).copy(8, 8, 40, 30),
              m_background.copy(8, 8, 40, 30));
}

TEST_F(SkinnedDialogTest, MaskWithoutWhiteGivesFullRectangle) {
    QImage mask(64, 48, QImage::Format_RGB32);
    mask.fill(qRgb(254, 254, 254));
    WritePicture(m_env, QStringLiteral("Skins\\grey.bmp"), mask);
    SkinnedDialog dialog(Ini("Main=back.bmp\r\nMask=grey.bmp\r\n"), m_env.SkinFolder());
    dialog.Initialise();
    EXPECT_EQ(dialog.mask(), QRegion(0, 0, 64, 48));
}

TEST_F(SkinnedDialogTest, MissingMaskUsesBackgroundAndJpegDecodes) {
    QImage background = ShapedMask(40, 30);
    WritePicture(m_env, QStringLiteral("Skins\\Sub\\Shape.bmp"), background);
    // Written with '\' and in another letter case, as skins are.
    SkinnedDialog dialog(Ini("Main=sub\\shape.BMP\r\n"), m_env.SkinFolder());
    dialog.Initialise();
    EXPECT_TRUE(SameArea(dialog.mask(), NonWhitePixels(background)));

    WritePicture(m_env, QStringLiteral("Skins\\photo.jpg"), PatternPicture(70, 50, 9), "JPG");
    SkinnedDialog photo(Ini("Main=photo.jpg\r\n"), m_env.SkinFolder());
    photo.Initialise();
    EXPECT_EQ(photo.size(), QSize(70, 50));
}

TEST_F(SkinnedDialogTest, DragsByFreeSurfaceOnly) {
    SkinnedDialog dialog(Ini("Main=back.bmp\r\n"), m_env.SkinFolder());
    auto* button = new ImageButton(&dialog);
    button->setGeometry(40, 30, 20, 10);
    dialog.move(100, 100);
    dialog.show();
    const QPoint start = dialog.pos();

    auto send = [](QWidget* target, QEvent::Type type, QPoint local, QPoint global) {
        QMouseEvent event(type, local, local, global, Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    };
    // The offscreen platform will not move windows itself, so the dialog follows the mouse.
    send(&dialog, QEvent::MouseButtonPress, {5, 5}, start + QPoint(5, 5));
    send(&dialog, QEvent::MouseMove, {5, 5}, start + QPoint(35, 25));
    send(&dialog, QEvent::MouseButtonRelease, {5, 5}, start + QPoint(35, 25));
    EXPECT_EQ(dialog.pos(), start + QPoint(30, 20));

    // A press taken by a button does not move the window.
    const QPoint before = dialog.pos();
    send(button, QEvent::MouseButtonPress, {3, 3}, before + QPoint(43, 33));
    send(button, QEvent::MouseMove, {3, 3}, before + QPoint(80, 80));
    send(button, QEvent::MouseButtonRelease, {3, 3}, before + QPoint(80, 80));
    EXPECT_EQ(dialog.pos(), before);
}

// A dialog whose OK refuses the first time and counts its initialisations.
class CountingDialog : public SkinnedDialog {
public:
    using SkinnedDialog::SkinnedDialog;
    int inits = 0;
    int okCalls = 0;

    void accept() override {
        if (++okCalls > 1) SkinnedDialog::accept();
    }

protected:
    void SetUp() override {
        SkinnedDialog::SetUp();
        ++inits;
    }
};

TEST_F(SkinnedDialogTest, HooksRunBeforeClosingAndEachOpeningReloads) {
    CountingDialog dialog(Ini("Main=back.bmp\r\n"), m_env.SkinFolder());
    dialog.show();
    dialog.show();
    EXPECT_EQ(dialog.inits, 1);

    dialog.accept();  // refused the first time
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.Background().isNull());

    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.Background().isNull());

    dialog.show();
    EXPECT_EQ(dialog.inits, 2);
    EXPECT_EQ(dialog.size(), QSize(64, 48));
    dialog.reject();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.IsInitialised());
}

}  // namespace
}  // namespace vantor
