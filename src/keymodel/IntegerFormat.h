#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace vantor {

// Fills a printf-style format that takes one integer, as language texts such as
// "UNKNOWN_KEY" do. The first integer conversion (%d %i %u %x %X %o %c, with flags, width,
// precision and length modifiers) receives the value and "%%" gives "%". Since the format
// comes from an editable file, every other directive (a second conversion, %s, %n, %f, "*"
// widths) is copied as it stands instead of reading an argument that is not there, and
// widths and precisions are capped so that a text cannot ask for a huge allocation.
QString FormatWithInteger(const QString& format, int64_t value);

// Reads a whole text as a decimal number from low to high (both at least 0): ASCII digits
// only, leading zeros still decimal ("012" is 12). A sign, a blank, a "0x" prefix or a value
// out of range gives nothing, so a number typed by a person never changes its base unseen.
std::optional<int64_t> ParseDecimal(QStringView text, int64_t low, int64_t high);

}  // namespace vantor
