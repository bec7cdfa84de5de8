#include "ui/ImageButton.h"

#include "UiTestSupport.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QToolTip>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace vantor {
namespace {

using test::EnsureApplication;
using test::PatternPicture;
using test::WaitUntil;

// Five state pictures of a 160 x 240 window (plus the margin), told apart by their blue.
class ImageButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        for (int i = 0; i < 7; ++i) {
            m_pictures[i] = QPixmap::fromImage(PatternPicture(260, 340, 10 * (i + 1)));
        }
        m_window = std::make_unique<QWidget>();
        m_window->resize(160, 240);
        m_button = new ImageButton(m_window.get());
        m_button->setGeometry(20, 30, 40, 20);
        m_button->SetPictures(QPoint(20, 30), Faces());
    }

    ButtonFaces Faces() const {
        return {&m_pictures[0], &m_pictures[1], &m_pictures[2], &m_pictures[3], &m_pictures[4]};
    }

    // The button's drawing as it would be on screen.
    QImage Shot() const { return m_button->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // The face must be the button-sized rectangle at origin - (1,1) of the picture.
    void ExpectFaceOf(int picture, QPoint origin = {20, 30}) const {
        const QImage expected = m_pictures[picture].toImage().convertToFormat(QImage::Format_RGB32)
                                    .copy(QRect(origin - QPoint(1, 1), m_button->size()));
        EXPECT_EQ(Shot(), expected) << "picture " << picture;
    }

    void Enter() {
        QEnterEvent enter(QPointF(5, 5), QPointF(25, 35), QPointF(25, 35));
        QCoreApplication::sendEvent(m_button, &enter);
    }
    void Leave() {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(m_button, &leave);
    }
    void Mouse(QEvent::Type type) {
        QMouseEvent event(type, QPointF(5, 5), QPointF(25, 35), QPointF(25, 35), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(m_button, &event);
    }

    test::ApplicationScope m_app;
    QPixmap m_pictures[7];
    std::unique_ptr<QWidget> m_window;
    ImageButton* m_button = nullptr;
};

TEST_F(ImageButtonTest, EachStateShowsItsRectangleOfItsPicture) {
    ExpectFaceOf(0);
    m_button->SetSelected(true);
    ExpectFaceOf(4);
    Enter();
    ExpectFaceOf(1);
    m_button->setDown(true);
    ExpectFaceOf(2);
    m_button->setDown(false);
    Leave();
    m_button->SetSelected(false);
    ExpectFaceOf(0);
    // Pictures without a new origin keep the old one.
    m_button->SetPictures(ButtonFaces::All(&m_pictures[5]));
    ExpectFaceOf(5);
    m_button->SetPictures(QPoint(70, 90), Faces());
    ExpectFaceOf(0, QPoint(70, 90));
}

TEST_F(ImageButtonTest, DisabledButtonShowsDisabledFaceUnderTheMouse) {
    m_button->setEnabled(false);
    Enter();
    ExpectFaceOf(3);
    m_button->SetTogglePair(&m_pictures[5], &m_pictures[6], true, false);
    ExpectFaceOf(3);
}

TEST_F(ImageButtonTest, TogglePairReplacesEveryEnabledState) {
    m_button->SetTogglePair(&m_pictures[5], &m_pictures[6], true, true);
    Enter();
    ExpectFaceOf(6);
    m_button->SetTogglePair(&m_pictures[5], &m_pictures[6], true, false);
    ExpectFaceOf(5);
    m_button->SetTogglePair(&m_pictures[5], &m_pictures[6], false, false);
    ExpectFaceOf(1);
}

TEST_F(ImageButtonTest, DoubleClickGivesTwoClicks) {
    QSignalSpy clicks(m_button, &QAbstractButton::clicked);
    Mouse(QEvent::MouseButtonPress);
    Mouse(QEvent::MouseButtonRelease);
    Mouse(QEvent::MouseButtonDblClick);
    EXPECT_TRUE(m_button->isDown());
    Mouse(QEvent::MouseButtonRelease);
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(ImageButtonTest, OutlineModeDrawsTwoPixelFrameInsteadOfFace) {
    m_button->SetOutline(0x0000FF, true);  // red as 0x00BBGGRR
    const QImage shot = Shot();
    const QRgb red = qRgb(255, 0, 0);
    for (QPoint p : {QPoint(0, 0), QPoint(1, 1), QPoint(39, 19), QPoint(38, 18), QPoint(20, 0),
                     QPoint(0, 10), QPoint(39, 10)}) {
        EXPECT_EQ(shot.pixel(p), red) << p.x() << "," << p.y();
    }
    EXPECT_NE(shot.pixel(20, 10), red);
    m_button->SetOutline(0x0000FF, false);
    m_button->Redraw();
    ExpectFaceOf(0);
}

TEST_F(ImageButtonTest, TextIsDrawnInTheColourOfTheState) {
    m_button->SetPictures(ButtonFaces::All(nullptr));
    m_button->setGeometry(0, 0, 120, 40);
    ButtonTextStyle style;
    style.pointSize = 20;
    style.family = QStringLiteral("No Such Face Unicode MS");
    style.colours = {0x0000FF, 0x00FF00, 0xFF0000, 0x7F7F7F, 0x00FFFF};
    m_button->SetTextStyle(style);
    m_button->setText(QStringLiteral("MMM"));
    auto count = [&](QRgb colour) {
        const QImage shot = Shot();
        int n = 0;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                n += shot.pixel(x, y) == colour;
            }
        }
        return n;
    };
    EXPECT_GT(count(qRgb(255, 0, 0)), 10);
    Enter();
    EXPECT_GT(count(qRgb(0, 255, 0)), 10);
    EXPECT_EQ(count(qRgb(255, 0, 0)), 0);
    // Turned text still lands inside the button.
    m_button->SetEscapement(268, true);
    EXPECT_GT(count(qRgb(0, 255, 0)), 10);
}

TEST_F(ImageButtonTest, AfterDrawSaysWhetherTheNormalPictureWasDrawn) {
    std::vector<bool> calls;
    m_button->SetAfterDraw([&](ImageButton* button, bool normal) {
        EXPECT_EQ(button, m_button);
        calls.push_back(normal);
    });
    Shot();
    Enter();
    Shot();
    EXPECT_EQ(calls, (std::vector<bool>{true, false}));
    // The same picture in every slot counts as the normal one whatever the state.
    m_button->SetPictures(ButtonFaces::All(&m_pictures[0]));
    Enter();
    Shot();
    EXPECT_TRUE(calls.back());
    EXPECT_EQ(m_button->LastPicture(), &m_pictures[0]);
}

TEST_F(ImageButtonTest, ToolTipShowsAfterHoverAndGoesOnLeave) {
    m_window->show();
    m_button->SetToolTipText(QStringLiteral("Close"), false);
    Enter();
    EXPECT_FALSE(WaitUntil([] { return QToolTip::isVisible(); }, 3 * ImageButton::kToolTipDelayMs));
    Leave();

    m_button->SetToolTipText(QStringLiteral("Close"), true);
    Enter();
    EXPECT_FALSE(QToolTip::isVisible());
    ASSERT_TRUE(WaitUntil([] { return QToolTip::isVisible(); }));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Close"));
    Leave();
    EXPECT_TRUE(WaitUntil([] { return !QToolTip::isVisible(); }));
}

}  // namespace
}  // namespace vantor
