#include "keymodel/KeyTables.h"
#include "lighting/PreviewEngine.h"
#include "lighting/PreviewTables.h"

#include <gtest/gtest.h>

#include <QString>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>
#include <vector>

namespace vantor {
namespace {

using namespace preview;

QString Hex(const Rgb& c) {
    return QStringLiteral("%1").arg(uint32_t(c.red) << 16 | uint32_t(c.green) << 8 | c.blue, 6, 16,
                                    QLatin1Char('0'));
}

// What a key button shows after a frame: its colour in hex, "plain", or "-" when untouched.
QString Shown(const PreviewFrame& frame, int controlId) {
    const PreviewFrame::Key key = frame.At(controlId);
    if (key.look == PreviewFrame::Look::Plain) return QStringLiteral("plain");
    return key.look == PreviewFrame::Look::Painted ? Hex(key.colour) : QStringLiteral("-");
}

PreviewInput Input(uint8_t effect, bool random = false, uint8_t direction = kDirectionFirst,
                   Rgb colour = {0xFF, 0xFF, 0xFF}) {
    return {effect, direction, random, colour};
}

// An engine as a freshly opened window has it, with random hues from a fixed seed.
struct Preview {
    PreviewEngine engine{PreviewRandom([] { return 7u; })};
    // The frame of the last of n ticks.
    const PreviewFrame& Run(const PreviewInput& in, int ticks) {
        const PreviewFrame* frame = nullptr;
        for (int t = 0; t < ticks; ++t) frame = &engine.Tick(in);
        return *frame;
    }
};

int GridDistance(int c0, int r0, int c1, int r1) { return std::abs(c0 - c1) + std::abs(r0 - r1); }

TEST(PreviewTables, AreConsistentWithTheKeyButtons) {
    // The preview keys: 104 different key buttons with 104 different LED positions.
    std::set<int> keys(KeyOrder.begin(), KeyOrder.end());
    std::set<int> leds;
    for (const uint16_t id : KeyOrder) {
        ASSERT_GE(LedOfPreviewKey(id), 0) << id;
        leds.insert(LedOfPreviewKey(id));
    }
    EXPECT_EQ(keys.size(), size_t(kOrderCount));
    EXPECT_EQ(leds.size(), size_t(kOrderCount));
    EXPECT_EQ(LedOfPreviewKey(kFnButtonId), kFnLedPosition);
    EXPECT_EQ(LedOfPreviewKey(1087), -1);  // Right Win is no preview key

    EXPECT_EQ(std::set<int>(TwinkleOrder.begin(), TwinkleOrder.end()).size(), size_t(kOrderCount));
    EXPECT_EQ(*std::max_element(TwinkleOrder.begin(), TwinkleOrder.end()), kOrderCount - 1);

    // Every id of the grid, the rings and the paths is a preview key; no key is in two rings.
    const auto check = [&keys](int id) { EXPECT_TRUE(id == 0 || keys.count(id)) << id; };
    std::set<int> cells;
    for (const auto& column : Grid)
        for (const uint16_t id : column) check(id), cells.insert(id);
    EXPECT_EQ(cells.size(), size_t(kOrderCount) + 1);  // and the empty cell
    std::vector<int> ringKeys;
    for (const KeyGroup& ring : Rings)
        for (const uint16_t id : ring) check(id), ringKeys.push_back(id);
    std::erase(ringKeys, 0);
    EXPECT_EQ(std::set<int>(ringKeys.begin(), ringKeys.end()).size(), ringKeys.size());
    for (const auto& step : PathA)
        for (const uint16_t id : step) check(id);
    for (const auto& step : PathB)
        for (const uint16_t id : step) check(id);
}

TEST(PreviewTables, RampsAndWheel) {
    EXPECT_EQ(Hex(HueEntry(0)), "ff0100");
    EXPECT_EQ(Hex(HueEntry(31)), "ffff00");
    EXPECT_EQ(Hex(HueEntry(32)), "f8ff00");
    EXPECT_EQ(Hex(HueEntry(100)), "00c2ff");  // segment 3, k = 4
    EXPECT_EQ(Hex(HueEntry(191)), "ff0000");
    EXPECT_EQ(Hex(HueByteEntry(200)), Hex(HueEntry(8)));
    for (int k = 0; k < kWaveACount; ++k) EXPECT_EQ(WaveA[k], WaveA[95 - k]);
    for (int k = 0; k < kBreathCount; ++k) EXPECT_EQ(Breath[k], Breath[127 - k]);
    EXPECT_EQ(WaveA[47], 255);
    EXPECT_EQ(Breath[15], 20);
    EXPECT_EQ(Breath[16], 22);
    EXPECT_EQ(WaveB[16], 255);
    EXPECT_EQ(WaveB[79], 1);
    EXPECT_EQ(WaveB[128], 0);
    // Integer division per channel.
    EXPECT_EQ(Hex(Scaled({255, 128, 1}, 128)), "804000");
    EXPECT_EQ(Hex(Scaled({200, 100, 50}, 255)), "c86432");
}

// A tick steps first, then paints; every phase starts at 0. One row per rule of the effects'
// walks, read off the tables by hand.
TEST(PreviewEngine, TicksPaintTheTablesEntries) {
    const Rgb white{0xFF, 0xFF, 0xFF};
    const Rgb red{0xFF, 0x00, 0x00};
    struct Case {
        const char* what;
        PreviewInput input;
        int ticks;
        int controlId;
        QString expected;
    };
    const std::vector<Case> cases = {
        {"effect 4 forward steps 2", Input(4), 1, 1052, Hex(HueEntry(2))},
        {"effect 4 backward from 0 wraps", Input(4, false, 0), 1, 1052, Hex(HueEntry(190))},
        {"effect 4 non-zero is forward", Input(4, false, 1), 1, 1010, Hex(HueEntry(2))},
        // Effect 1 random: phase 9; columns 0 and 1 of row 0 are empty but still advance.
        {"effect 1 empty cells advance", Input(1, true), 1, 1022, Hex(HueEntry(27))},
        {"effect 1 random F1", Input(1, true), 1, 1010, Hex(HueEntry(36))},
        // Backspace fills columns 14 and 15 of row 1: the later cell wins.
        {"effect 1 wide key, later cell", Input(1, true), 1, 1043, Hex(HueEntry(9 + 9 * 15))},
        {"effect 1 single colour", Input(1, false, 0xFF, red), 1, 1022,
         Hex(Scaled(red, WaveA[21]))},
        {"effect 2 random", Input(2, true), 2, 1010, Hex(HueEntry(8 + 5 * 3))},
        // Not random, tick 27: phase 108; along row 0 the entries run 113, 118, 123, 128, 5.
        {"effect 2 reaches entry 128", Input(2), 27, 1010, Hex(Scaled(white, WaveB[128]))},
        {"effect 2 wraps past 128 to 5", Input(2), 27, 1011, "212121"},
        // Direction 0x01: the phase still moves forward, but the row runs backward (-5).
        // Direction 0x01, tick 30: the phase moves forward to 120, but the row runs backward:
        // F6 in column 9 takes entry 120 - 50.
        {"effect 2 backward along the row", Input(2, false, 1), 30, 1015, "090909"},
        {"effect 3 random, preview order", Input(3, true), 1, KeyOrder[10], Hex(HueEntry(4 + 50))},
        {"effect 3 index starts afresh", Input(3), 2, KeyOrder[20],
         Hex(Scaled(white, WaveA[(8 + 100) % 96]))},
        {"effect 5 breathing", Input(5, false, 0xFF, red), 3, 1083, Hex(Scaled(red, Breath[6]))},
        {"effect 5 random by column", Input(5, true), 1, 1010,
         Hex(Scaled(HueEntry(21), Breath[2]))},
        {"effect 6 random ring 3", Input(6, true), 1, 1086, Hex(HueEntry(131 - 33))},
        {"effect 6 single colour", Input(6, false, 0xFF, red), 1, 1083, "ff0000"},
        // Effect 11: the first key's hue is 33, the sixth's 198 - 192 = 6; each ticks 3 on.
        {"effect 11 first key", Input(11), 1, KeyOrder[0], Hex(HueEntry(36))},
        {"effect 11 sixth key", Input(11), 2, KeyOrder[5], Hex(HueEntry(12))},
        {"effect 12 row 0", Input(12), 1, 1010, Hex(HueEntry(3))},
        {"effect 12 row 5", Input(12), 1, 1083, Hex(HueEntry(3 + 5 * 32))},
        {"effect 14 path A step 0", Input(14), 1, 1118, Hex(Scaled(white, 225))},
        {"effect 14 not yet lit", Input(14), 1, 1052, "000000"},
        {"effect 18 forward", Input(18), 1, 1052, Hex(HueEntry(23))},
        {"effect 18 ring 11", Input(18), 1, 1107, Hex(HueEntry((2 + 12 * 21) % 192))},
        // Backward from 0 the byte offset is 254, which becomes 192.
        {"effect 18 backward", Input(18, false, 0), 1, 1052, Hex(HueEntry(21))},
        {"effect 18 backward again", Input(18, false, 0), 2, 1052, Hex(HueEntry(19))},
        {"effect 18 paints only rings", Input(18), 1, 1087, "-"},
        {"effect 20 paints nothing", Input(20), 3, 1052, "-"},
    };
    for (const Case& c : cases) {
        Preview preview;
        EXPECT_EQ(Shown(preview.Run(c.input, c.ticks), c.controlId), c.expected) << c.what;
    }
}

TEST(PreviewEngine, Effect4TurnsTheWholeWheelIn96Ticks) {
    for (const uint8_t direction : {kDirectionFirst, kDirectionSecond}) {
        Preview preview;
        for (int t = 1; t <= 96; ++t) {
            const PreviewFrame& frame = preview.engine.Tick(Input(4, false, direction));
            const int entry = direction ? (2 * t) % 192 : (192 - 2 * t) % 192;
            int painted = 0;
            frame.ForEachTouched([&](int id, const PreviewFrame::Key& key) {
                ++painted;
                EXPECT_EQ(Hex(key.colour), Hex(HueEntry(entry))) << id << " tick " << t;
            });
            EXPECT_EQ(painted, kOrderCount);
        }
    }
}

TEST(PreviewEngine, Effect12RowsDifferBy32Entries) {
    Preview preview;
    for (int t = 1; t <= 70; ++t) {
        const PreviewFrame& frame = preview.engine.Tick(Input(12, false, t > 40 ? 0 : 0xFF));
        const QString row0 = Shown(frame, 1010), row1 = Shown(frame, 1029);
        int entry0 = -1;
        for (int h = 0; h < kHueCount; ++h)
            if (Hex(HueEntry(h)) == row0) entry0 = h;
        ASSERT_GE(entry0, 0);
        EXPECT_EQ(row1, Hex(HueEntry((entry0 + 32) % 192))) << "tick " << t;
    }
}

TEST(PreviewEngine, OtherEffectsResetEveryKeyButtonButD1ToD6) {
    for (const uint8_t effect : {0, 7, 8, 9, 17, 19, 21, 255}) {
        Preview preview;
        const PreviewFrame& frame = preview.Run(Input(effect), 1);
        int plain = 0;
        frame.ForEachTouched([&plain](int, const PreviewFrame::Key& key) {
            plain += key.look == PreviewFrame::Look::Plain;
        });
        EXPECT_TRUE(frame.PlainAll());
        EXPECT_EQ(plain, kKeyListSize + kExtraKeyButtonCount + 1) << int(effect);
        EXPECT_EQ(Shown(frame, 1016), "-");  // D1
        EXPECT_EQ(Shown(frame, 1200), "plain");
    }
}

// Three keys a tick in twinkle order, freshly lit at 255 and faded one step (235) before they
// are painted; the hues come again with every reseed within the same second.
TEST(PreviewEngine, Effect10LightsThreeKeysATickInTwinkleOrder) {
    Preview preview;
    for (int t = 1; t <= 36; ++t) {
        const PreviewFrame& frame = preview.engine.Tick(Input(10));
        std::set<int> lit;
        frame.ForEachTouched([&lit](int id, const PreviewFrame::Key& key) {
            if (key.colour.red == 235) lit.insert(id);
        });
        std::set<int> expected;
        for (int i = 1; i <= 3; ++i)
            expected.insert(KeyOrder[TwinkleOrder[(3 * (t - 1) + i) % 104]]);
        EXPECT_EQ(lit, expected) << "tick " << t;
    }
    const PreviewFrame& frame = Preview().Run(Input(10), 2);
    EXPECT_EQ(Shown(frame, KeyOrder[TwinkleOrder[1]]), "d7d7d7");  // 235 faded to 215
    EXPECT_EQ(Shown(frame, KeyOrder[TwinkleOrder[7]]), "000000");

    Preview random;
    const PreviewFrame& first = random.Run(Input(10, true), 1);
    const QString hue = Shown(first, KeyOrder[TwinkleOrder[1]]);
    EXPECT_EQ(Shown(random.Run(Input(10, true), 1), KeyOrder[TwinkleOrder[4]]), hue);
}

// The four diagonal planes turn one set cell into the outline of a diamond; the vertical ones
// move it straight up and down.
TEST(FrontPlanes, SpreadAsDiamondsAndColumns) {
    FrontPlanes diagonal, vertical;
    diagonal.SetAll(10, 2);
    vertical.SetAll(10, 2);
    for (int t = 0; t <= 9; ++t) {
        for (int c = 0; c < kGridColumns; ++c) {
            for (int r = 0; r < 8; ++r) {
                EXPECT_EQ(diagonal.IsSet(c, r), GridDistance(c, r, 10, 2) == t)
                    << c << "," << r << " step " << t;
                EXPECT_EQ(vertical.IsSet(c, r), c == 10 && std::abs(r - 2) == t) << c << "," << r;
            }
        }
        diagonal.SpreadDiagonally();
        vertical.SpreadVertically();
    }
    for (int t = 0; t < 20; ++t) diagonal.SpreadDiagonally();
    for (int c = 0; c < kGridColumns; ++c) EXPECT_EQ(diagonal.ColumnBits(c), 0);  // all fallen off
}

// Effect 16 starts at the top of column 1: the keys seeded at tick t + 1 (level 255 faded to
// 235) are those with a cell at distance t from there.
TEST(PreviewEngine, Effect16SpreadsItsFrontAsADiamond) {
    Preview preview;
    for (int t = 0; t <= 12; ++t) {
        const PreviewFrame& frame = preview.engine.Tick(Input(16));
        std::set<int> lit, expected;
        frame.ForEachTouched([&lit](int id, const PreviewFrame::Key& key) {
            if (key.colour.red == 235) lit.insert(id);
        });
        for (int c = 0; c < kGridColumns; ++c)
            for (int r = 0; r < kGridRows; ++r)
                if (Grid[c][r] && GridDistance(c, r, 1, 0) == t) expected.insert(Grid[c][r]);
        EXPECT_EQ(lit, expected) << "tick " << t + 1;
    }
}

// Effect 14: after path A (20 ticks) and path B (31 ticks) the front starts from the O key once
// P has faded, and the cycle starts again once it has passed Num Enter.
TEST(PreviewEngine, Effect14RunsItsScriptAndStartsAgain) {
    Preview preview;
    const auto level = [](const PreviewFrame& frame, int id) { return frame.At(id).colour.red; };
    int tick = 0;
    const PreviewFrame* frame = nullptr;
    const auto next = [&] { ++tick; frame = &preview.engine.Tick(Input(14)); };
    for (int i = 0; i < 51; ++i) next();
    EXPECT_EQ(level(*frame, 1077), 225);  // path B's last step
    while (level(*frame, 1053) != 0 && tick < 200) next();
    next();  // P has faded: stage 2
    next();  // stage 2 marks the O key
    next();  // stage 3 seeds it
    EXPECT_EQ(level(*frame, 1052), 225) << "tick " << tick;
    while (level(*frame, 1118) < 225 && tick < 300) next();
    EXPECT_EQ(level(*frame, 1118), 225) << "the front reaches Num Enter";
    while (level(*frame, 1118) != 0 && tick < 400) next();
    next();  // stage 4 sees Num Enter dark
    next();  // path A again
    EXPECT_EQ(level(*frame, 1022), 225) << "tick " << tick;
}

// Below the first step each family fades by its own steps, and never below 0.
TEST(PreviewEngine, EachFamilyFadesByItsOwnSteps) {
    const struct {
        Decay family;
        std::array<uint8_t, 7> after;  // of 200, 100 (bit 64), 40 (bit 32), 20, 16, 1, 0
    } cases[] = {
        {Decay::Effect13, {120, 50, 20, 15, 15, 0, 0}},
        {Decay::Effect14, {170, 80, 30, 15, 15, 0, 0}},
        {Decay::Common, {180, 84, 30, 15, 15, 0, 0}},
    };
    const std::array<uint8_t, 7> levels = {200, 100, 40, 20, 16, 1, 0};
    for (const auto& c : cases)
        for (size_t i = 0; i < levels.size(); ++i)
            EXPECT_EQ(Decayed(levels[i], c.family), c.after[i]) << int(c.family) << " from " << int(levels[i]);
}

// The keys a spreading effect seeds at a tick show 255 faded by one step. Checked against the
// planes spread tick by tick with the effect's own restart rule, for `ticks` ticks; returns
// how often the rule restarted the front.
int CheckSpreadingEffect(uint8_t effect, uint8_t seeded, const std::function<void(FrontPlanes&)>& start,
                         const std::function<bool(FrontPlanes&)>& restart, int ticks) {
    Preview preview;
    FrontPlanes planes;
    start(planes);
    int restarts = 0;
    for (int t = 1; t <= ticks; ++t) {
        if (restart(planes) && t > 1) ++restarts;
        std::set<int> expected, lit;
        for (int c = 0; c < kGridColumns; ++c)
            for (int r = 0; r < kGridRows; ++r)
                if (Grid[c][r] && planes.IsSet(c, r)) expected.insert(Grid[c][r]);
        planes.SpreadDiagonally();
        const PreviewFrame& frame = preview.engine.Tick(Input(effect));
        frame.ForEachTouched([&](int id, const PreviewFrame::Key& key) {
            if (key.colour.red == seeded) lit.insert(id);
        });
        EXPECT_EQ(lit, expected) << "effect " << int(effect) << " tick " << t;
    }
    return restarts;
}

// Effect 13 starts below column 9 on its first run and starts again from the top or the bottom
// of column 9 whenever only that end of the column is left set.
TEST(PreviewEngine, Effect13BouncesInColumn9) {
    const int restarts = CheckSpreadingEffect(
        13, 175, [](FrontPlanes& p) { p.SetAll(9, 6); },
        [](FrontPlanes& p) {
            const uint8_t m = p.ColumnBits(9);
            if (m == 1) p.SetAll(9, 0);
            if (m == 64) p.SetAll(9, 6);
            return m == 1 || m == 64;
        },
        60);
    EXPECT_GE(restarts, 2) << "column 9 re-seeded at both ends";

    // A seeded key then fades by effect 13's steps. The bottom key of column 9 spans column 10
    // too, so the front seeds it on two ticks.
    Preview preview;
    const uint16_t key = Grid[9][5];
    ASSERT_NE(key, 0);
    ASSERT_EQ(Grid[10][5], key);
    EXPECT_EQ(Shown(preview.Run(Input(13), 1), key), "000000") << "the start lies below the grid";
    std::vector<int> levels;
    for (int t = 2; t <= 8; ++t) levels.push_back(preview.engine.Tick(Input(13)).At(key).colour.red);
    EXPECT_EQ(levels, (std::vector<int>{175, 175, 95, 45, 25, 20, 15}));
}

// Effect 16 runs from the top of column 1 to the bottom of column 22 and starts again.
TEST(PreviewEngine, Effect16StartsAgainFromBothEnds) {
    const int restarts = CheckSpreadingEffect(
        16, 235, [](FrontPlanes& p) { p.SetAll(1, 0); },
        [](FrontPlanes& p) {
            const bool top = p.ColumnBits(1) == 1, bottom = p.ColumnBits(22) == 64;
            if (top) p.SetAll(1, 0);
            if (bottom) p.SetAll(22, 6);
            return top || bottom;
        },
        90);
    EXPECT_GE(restarts, 1);
}

// Effect 15: each tick the column counter moves on by 7 and three drops start 3 columns apart
// at the top; the drops fall a row a tick, and the start's bit below column 9 rises.
TEST(PreviewEngine, Effect15DropsThreeColumnsATick) {
    const std::vector<std::vector<std::pair<int, int>>> seeded = {
        {{10, 0}, {13, 0}, {16, 0}},
        {{3, 0}, {6, 0}, {9, 0}, {10, 1}, {13, 1}, {16, 1}, {9, 5}},
        {{19, 0}, {22, 0}, {2, 0}, {3, 1}, {6, 1}, {9, 1}, {10, 2}, {13, 2}, {16, 2}, {9, 4}},
    };
    Preview preview;
    for (size_t t = 0; t < seeded.size(); ++t) {
        const PreviewFrame& frame = preview.engine.Tick(Input(15));
        std::set<int> lit, expected;
        frame.ForEachTouched([&lit](int id, const PreviewFrame::Key& key) {
            if (key.colour.red == 235) lit.insert(id);
        });
        for (const auto& [c, r] : seeded[t])
            if (Grid[c][r]) expected.insert(Grid[c][r]);
        EXPECT_EQ(lit, expected) << "tick " << t + 1;
    }
}

// A new selection restarts the effects with a start state; the phases of the others go on.
TEST(PreviewEngine, ClearingTheInitialisedFlagRestarts) {
    Preview fresh, restarted;
    const PreviewFrame first = fresh.Run(Input(15), 1);
    restarted.Run(Input(15), 5);
    restarted.Run(Input(4), 3);
    EXPECT_TRUE(restarted.engine.Initialised());
    restarted.engine.ClearInitialised();
    const PreviewFrame& again = restarted.Run(Input(15), 1);
    for (const uint16_t id : KeyOrder) EXPECT_EQ(Shown(again, id), Shown(first, id)) << id;
    restarted.engine.ClearInitialised();
    EXPECT_EQ(Shown(restarted.Run(Input(4), 1), 1010), Hex(HueEntry(8)));
}

// Toggling random colours leaves a phase beyond the other table's end; it is brought into
// range instead of reading past the table.
TEST(PreviewEngine, PhaseLeftByTheOtherTableStaysInRange) {
    Preview preview;
    preview.Run(Input(3, true), 30);  // phase 120 on the 192-entry wheel
    const PreviewFrame& frame = preview.Run(Input(3, false, 0), 1);
    EXPECT_EQ(Shown(frame, KeyOrder[0]), Hex(Scaled({0xFF, 0xFF, 0xFF}, WaveA[(120 % 96) - 4])));
}

}  // namespace
}  // namespace vantor
