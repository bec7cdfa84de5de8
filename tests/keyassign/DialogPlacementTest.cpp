#include "keyassign/DialogPlacement.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(DialogPlacementTest, FirstCornerThatFitsThenRightBelowAnyway) {
    const QRect screen(0, 0, 1000, 800);
    const QSize dialog(300, 200);
    const struct {
        const char* what;
        QRect button;
        QPoint expected;
    } cases[] = {
        {"right and below", QRect(100, 100, 40, 40), QPoint(140, 140)},
        {"right and above", QRect(100, 700, 40, 40), QPoint(140, 500)},
        {"left and below", QRect(800, 100, 40, 40), QPoint(500, 140)},
        {"left and above", QRect(800, 700, 40, 40), QPoint(500, 500)},
        // Exactly to the edge still fits.
        {"touching the edges", QRect(660, 560, 40, 40), QPoint(700, 600)},
        {"nowhere", QRect(0, 0, 1000, 800), QPoint(1000, 800)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DialogPosition(screen, c.button, dialog, false), c.expected) << c.what;
    EXPECT_EQ(DialogPosition(screen, QRect(800, 700, 40, 40), dialog, true), QPoint(350, 300));
    // A second screen to the right: its own origin counts.
    EXPECT_EQ(DialogPosition(QRect(1000, 0, 1000, 800), QRect(1900, 100, 40, 40), dialog, false),
              QPoint(1600, 140));
}

}  // namespace
}  // namespace vantor
