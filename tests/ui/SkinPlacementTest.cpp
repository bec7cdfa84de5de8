#include "ui/SkinPlacement.h"

#include "UiTestSupport.h"

#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace vantor {
namespace {

using test::EnsureApplication;
using test::PatternPicture;

class SkinPlacementTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        m_ini = m_env.WriteProgramFile(QStringLiteral("Skins\\Main.ini"),
                                       "[BUTTONINFO]\r\n"
                                       "KEY_01E=100,200,40,30\r\n"
                                       "LOCK_CAPS=1,1,50,50\r\n"
                                       "FUNC_PROFILE1=2,1,30,30\r\n"
                                       "LEFT_ARROW=10,20,16,12\r\n"
                                       "CONTROL_DengStatic=5,6,70,18\r\n"
                                       "[BUTTONINFO2]\r\n"
                                       "DOWN_ARROW_LEFT1=60,70\r\n");
        m_picture = QPixmap::fromImage(PatternPicture(300, 340, 1));
        m_window = std::make_unique<QWidget>();
        m_window->resize(200, 240);
    }

    ImageButton* Place(const char* key) {
        auto* button = new ImageButton(m_window.get());
        PlaceImageButton(*button, m_ini, QStringLiteral("BUTTONINFO"), QString::fromLatin1(key),
                         ButtonFaces::All(&m_picture));
        return button;
    }

    test::ApplicationScope m_app;
    test::TestEnvironment m_env;
    QString m_ini;
    QPixmap m_picture;
    std::unique_ptr<QWidget> m_window;
};

TEST_F(SkinPlacementTest, ImageButtonTakesRectangleAndFaceOrigin) {
    ImageButton* a = Place("KEY_01E");
    EXPECT_EQ(a->geometry(), QRect(100, 200, 40, 30));
    EXPECT_TRUE(a->isEnabled());
    const QImage expected = m_picture.toImage().convertToFormat(QImage::Format_RGB32)
                                .copy(QRect(99, 199, 40, 30));
    EXPECT_EQ(a->grab().toImage().convertToFormat(QImage::Format_RGB32), expected);
}

TEST_F(SkinPlacementTest, OnlyOneOneDisablesAndMissingKeysCollapse) {
    ImageButton* caps = Place("LOCK_CAPS");
    EXPECT_EQ(caps->geometry(), QRect(1, 1, 50, 50));
    EXPECT_FALSE(caps->isEnabled());

    ImageButton* profile = Place("FUNC_PROFILE1");
    EXPECT_EQ(profile->geometry(), QRect(2, 1, 30, 30));
    EXPECT_TRUE(profile->isEnabled());

    ImageButton* missing = Place("KEY_FN");
    EXPECT_EQ(missing->geometry(), QRect(1, 1, 1, 1));
    EXPECT_FALSE(missing->isEnabled());

    auto* noFile = new ImageButton(m_window.get());
    PlaceImageButton(*noFile, m_env.SkinFolder() + QStringLiteral("/None.ini"),
                     QStringLiteral("BUTTONINFO"), QStringLiteral("KEY_01E"), {});
    EXPECT_EQ(noFile->geometry(), QRect(1, 1, 1, 1));
    EXPECT_FALSE(noFile->isEnabled());
}

TEST_F(SkinPlacementTest, ControlsPointsAndOrigins) {
    auto* label = new QLabel(m_window.get());
    PlaceControl(*label, m_ini, QStringLiteral("BUTTONINFO"), QStringLiteral("CONTROL_DengStatic"));
    EXPECT_EQ(label->geometry(), QRect(5, 6, 70, 18));

    label->resize(33, 11);
    PlaceAtPoint(*label, m_ini, QStringLiteral("BUTTONINFO"), QStringLiteral("KEY_01E"));
    EXPECT_EQ(label->geometry(), QRect(100, 200, 33, 11));

    auto* arrow = new ImageButton(m_window.get());
    PlaceWithOrigin(*arrow, m_ini, QStringLiteral("BUTTONINFO"), QStringLiteral("LEFT_ARROW"),
                    QStringLiteral("BUTTONINFO2"), QStringLiteral("DOWN_ARROW_LEFT1"), &m_picture);
    EXPECT_EQ(arrow->geometry(), QRect(10, 20, 16, 12));
    EXPECT_EQ(arrow->FaceOrigin(), QPoint(60, 70));
    EXPECT_EQ(arrow->PictureOf(ButtonFace::Disabled), &m_picture);
    EXPECT_TRUE(arrow->isEnabled());

    PlaceWithOrigin(*arrow, m_ini, QStringLiteral("BUTTONINFO"), QStringLiteral("LEFT_ARROW"),
                    QStringLiteral("BUTTONINFO2"), QStringLiteral("UP_ARROW_LEFT1"), &m_picture);
    EXPECT_EQ(arrow->FaceOrigin(), QPoint(1, 1));
}

}  // namespace
}  // namespace vantor
