#include "ui/FirstPaint.h"

#include "UiTestSupport.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

namespace vantor {
namespace {

using test::EnsureApplication;
using test::WaitUntil;

// A window that fills itself with its current colour and remembers what each paint did.
class ColourWindow : public QWidget {
public:
    QColor colour = Qt::red;
    struct Paint {
        QColor colour;
        QRegion region;
        bool visible;
    };
    std::vector<Paint> paints;

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter(this).fillRect(rect(), colour);
        paints.push_back({colour, event->region(), isVisible()});
    }
};

TEST(FirstPaint, OnlyTheFirstPaintOnTheScreenCountsAndOnlyOnce) {
    EnsureApplication();
    ColourWindow window;
    window.resize(60, 40);
    int seen = 0;
    AfterFirstPaint(window, [&] { ++seen; });

    // Painted while hidden, into a picture: no sight of it.
    QImage picture(window.size(), QImage::Format_RGB32);
    window.render(&picture);
    ASSERT_EQ(window.paints.size(), 1u);
    EXPECT_FALSE(window.paints[0].visible);
    QCoreApplication::processEvents();
    EXPECT_EQ(seen, 0);

    window.show();
    ASSERT_TRUE(WaitUntil([&] { return seen == 1; }));
    EXPECT_TRUE(window.paints.back().visible);

    // Later paints are no first sight; a paint on the screen comes after the first one's work.
    const size_t painted = window.paints.size();
    window.repaint();
    ASSERT_GT(window.paints.size(), painted);
    QCoreApplication::processEvents();
    EXPECT_EQ(seen, 1);
}

}  // namespace
}  // namespace vantor
