#include "ui/FirstPaint.h"

#include "UiTestSupport.h"

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

TEST(FirstPaint, APaintAheadIsNoFirstSightAndTheShowRepaintsWhatChangedMeanwhile) {
    EnsureApplication();
    ColourWindow window;
    window.resize(60, 40);
    int seen = 0;
    AfterFirstPaint(window, [&] { ++seen; });

    PaintAhead(window);  // no native window yet: nothing to paint into
    EXPECT_TRUE(window.paints.empty());

    window.winId();
    PaintAhead(window);
    ASSERT_EQ(window.paints.size(), 1u);
    EXPECT_FALSE(window.paints[0].visible);
    EXPECT_EQ(window.paints[0].region, QRegion(window.rect()));
    QCoreApplication::processEvents();
    EXPECT_EQ(seen, 0);

    window.colour = Qt::blue;
    window.show();
    ASSERT_TRUE(WaitUntil([&] { return seen == 1; }));
    ASSERT_GE(window.paints.size(), 2u);
    EXPECT_TRUE(window.paints[1].visible);
    EXPECT_EQ(window.paints[1].colour, QColor(Qt::blue));
    EXPECT_EQ(window.paints[1].region, QRegion(window.rect()));

    // A window already on the screen is left to its own repaints.
    const size_t painted = window.paints.size();
    PaintAhead(window);
    EXPECT_EQ(window.paints.size(), painted);
}

}  // namespace
}  // namespace vantor
