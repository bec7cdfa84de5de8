// Rules of the skinned widgets that need no window.
#include "ui/ButtonFace.h"
#include "ui/ButtonText.h"
#include "ui/MaskRuns.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace vantor {
namespace {

TEST(ButtonFaceTest, ChoosesInOrderDisabledToggleDownHoverSelectedNormal) {
    struct Case {
        ButtonFaceInputs in;
        ButtonFace face;
    };
    const Case cases[] = {
        {{}, ButtonFace::Normal},
        {{.selected = true}, ButtonFace::Selected},
        {{.hover = true, .selected = true}, ButtonFace::Hover},
        {{.pressed = true, .hover = true, .selected = true}, ButtonFace::Pressed},
        {{.toggleMode = true, .pressed = true, .hover = true}, ButtonFace::ToggleFirst},
        {{.toggleMode = true, .toggleSecond = true}, ButtonFace::ToggleSecond},
        // The pair's choice means nothing outside toggle mode.
        {{.toggleSecond = true}, ButtonFace::Normal},
        // Disabled beats the mouse and the toggle pair.
        {{.enabled = false, .toggleMode = true, .pressed = true, .hover = true, .selected = true},
         ButtonFace::Disabled},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseButtonFace(c.in), c.face) << static_cast<int>(c.face);
    }
}

TEST(ButtonFaceTest, ToggleFacesTakeTheNormalTextColour) {
    EXPECT_EQ(TextColourIndex(ButtonFace::ToggleFirst), 0);
    EXPECT_EQ(TextColourIndex(ButtonFace::ToggleSecond), 0);
    EXPECT_EQ(TextColourIndex(ButtonFace::Hover), 1);
    EXPECT_EQ(TextColourIndex(ButtonFace::Pressed), 2);
    EXPECT_EQ(TextColourIndex(ButtonFace::Disabled), 3);
    EXPECT_EQ(TextColourIndex(ButtonFace::Selected), 4);
}

TEST(ButtonTextTest, FormatsMapToAlignment) {
    struct Case {
        uint32_t format;
        Qt::Alignment alignment;
        bool singleLine;
        bool wordWrap;
    };
    const Case cases[] = {
        {0x25, Qt::AlignHCenter | Qt::AlignVCenter, true, false},
        {0x24, Qt::AlignLeft | Qt::AlignVCenter, true, false},
        {0x28, Qt::AlignLeft | Qt::AlignBottom, true, false},
        {0x22, Qt::AlignRight | Qt::AlignTop, true, false},
        // Vertical placement needs a single line; word break only applies to several lines.
        {0x15, Qt::AlignHCenter | Qt::AlignTop, false, true},
        {0x08, Qt::AlignLeft | Qt::AlignTop, false, false},
    };
    for (const Case& c : cases) {
        const TextPlacement p = TextPlacementOfFormat(c.format);
        EXPECT_EQ(p.alignment, c.alignment) << std::hex << c.format;
        EXPECT_EQ(p.singleLine, c.singleLine) << std::hex << c.format;
        EXPECT_EQ(p.wordWrap, c.wordWrap) << std::hex << c.format;
    }
}

TEST(ButtonTextTest, ColourRefIsBlueGreenRed) {
    EXPECT_EQ(RgbOfColourRef(0x0082FF), 0xFF8200u);
    EXPECT_EQ(RgbOfColourRef(0x049BFF), 0xFF9B04u);
    EXPECT_EQ(RgbOfColourRef(0xFFFFFF), 0xFFFFFFu);
    EXPECT_EQ(RgbOfColourRef(0x7F7F7F), 0x7F7F7Fu);
}

TEST(ButtonTextTest, UnturnedTextIsCentredByTheRotatedRule) {
    // 40 x 10 text in a 100 x 60 button: the rectangle starts 30 in and its bottom sits where a
    // bottom-aligned line would be centred.
    const QRectF r = RotatedTextRect(QRectF(0, 0, 100, 60), QSizeF(40, 10), 0);
    EXPECT_DOUBLE_EQ(r.left(), 30.0);
    EXPECT_DOUBLE_EQ(r.bottom() - 10, 25.0);
}

TEST(ButtonTextTest, TurnedTextCentresItsTurnedBox) {
    // At 26.8 degrees the turned box is w·cos a + h·sin a wide; it must sit centred.
    const double a = 26.8 * std::numbers::pi / 180;
    const QSizeF text(60, 12);
    const QRectF r = RotatedTextRect(QRectF(0, 0, 120, 80), text, 268);
    const double boxWidth = text.width() * std::cos(a) + text.height() * std::sin(a);
    EXPECT_NEAR(r.left() + boxWidth / 2, 60.0, 1e-9);
    // Text wider than the button keeps the left edge.
    EXPECT_DOUBLE_EQ(RotatedTextRect(QRectF(0, 0, 20, 80), text, 0).left(), 0.0);
}

std::vector<QRect> Runs(std::vector<uint32_t> row) {
    std::vector<QRect> runs;
    AppendMaskRowRuns(row, 7, runs);
    return runs;
}

TEST(MaskRunsTest, KeepsExactlyTheNonWhitePixels) {
    constexpr uint32_t W = 0xFFFFFFFF;
    constexpr uint32_t K = 0xFF000000;
    EXPECT_TRUE(Runs({W, W, W}).empty());
    EXPECT_EQ(Runs({K, K, K}), std::vector<QRect>{QRect(0, 7, 3, 1)});
    EXPECT_EQ(Runs({W, K, K, W, K}), (std::vector<QRect>{QRect(1, 7, 2, 1), QRect(4, 7, 1, 1)}));
    // One channel at 254 is not white; the alpha byte plays no part.
    EXPECT_EQ(Runs({W, 0xFFFEFFFF, 0xFFFFFEFF, 0xFFFFFFFE, 0x00FFFFFF}),
              std::vector<QRect>{QRect(1, 7, 3, 1)});
}

TEST(MaskRunsTest, EqualRowsGrowOneRectangleAndGapsSplitThem) {
    constexpr uint32_t W = 0xFFFFFF;
    constexpr uint32_t K = 0x000000;
    const std::vector<std::vector<uint32_t>> rows = {
        {K, K, W}, {K, K, W}, {W, K, W}, {K, K, W}, {W, W, W}, {K, K, W}};
    MaskBands bands;
    for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
        bands.AddRow(rows[y], y);
    }
    EXPECT_EQ(bands.Take(), (std::vector<QRect>{QRect(0, 0, 2, 2), QRect(1, 2, 1, 1),
                                                QRect(0, 3, 2, 1), QRect(0, 5, 2, 1)}));
    EXPECT_EQ(bands.Size(), 0u);
}

}  // namespace
}  // namespace vantor
