#pragma once

#include <QString>

#include <cstdint>

namespace vantor {

// Fills a printf-style format that takes one integer, as language texts such as
// "UNKNOWN_KEY" do. The first integer conversion (%d %i %u %x %X %o %c, with flags, width,
// precision and length modifiers) receives the value and "%%" gives "%". Since the format
// comes from an editable file, every other directive (a second conversion, %s, %n, %f, "*"
// widths) is copied as it stands instead of reading an argument that is not there, and
// widths and precisions are capped so that a text cannot ask for a huge allocation.
QString FormatWithInteger(const QString& format, int64_t value);

}  // namespace vantor
