#pragma once

#include <QRectF>
#include <QSizeF>
#include <Qt>

#include <cstdint>

namespace vantor {

// Draw-text format flags as skins and windows give them (0x25 = centred on one line).
namespace TextFormat {
inline constexpr uint32_t kLeft = 0x00;
inline constexpr uint32_t kCenter = 0x01;
inline constexpr uint32_t kRight = 0x02;
inline constexpr uint32_t kTop = 0x00;
inline constexpr uint32_t kVCenter = 0x04;
inline constexpr uint32_t kBottom = 0x08;
inline constexpr uint32_t kWordBreak = 0x10;
inline constexpr uint32_t kSingleLine = 0x20;
inline constexpr uint32_t kDefault = kCenter | kVCenter | kSingleLine;  // 0x25
}  // namespace TextFormat

// How a format places text in its rectangle. Vertical centring and bottom alignment only hold
// for single-line text; multi-line text starts at the top.
struct TextPlacement {
    Qt::Alignment alignment;
    bool singleLine = true;
    bool wordWrap = false;
};

TextPlacement TextPlacementOfFormat(uint32_t format);

// 0x00BBGGRR (the form colours are given in) to 0xRRGGBB.
constexpr uint32_t RgbOfColourRef(uint32_t colourRef) {
    return ((colourRef & 0xFF) << 16) | (colourRef & 0xFF00) | ((colourRef >> 16) & 0xFF);
}

// The rectangle rotated text is laid out in, so that text of size `text`, turned
// counter-clockwise by escapement / 10 degrees about its top-left corner, sits centred in
// `client`: where the turned width fits, the left edge moves right by half the spare width and
// back by h·sin(a)/2; where the turned height fits, the bottom edge moves up by half the spare
// height and down by h·cos(a)/2.
QRectF RotatedTextRect(const QRectF& client, const QSizeF& text, int escapement);

}  // namespace vantor
