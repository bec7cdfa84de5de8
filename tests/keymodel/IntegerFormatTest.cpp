#include "keymodel/IntegerFormat.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(IntegerFormat, FillsTheFirstIntegerConversion) {
    struct Case { const char* format; int64_t value; const char* expected; };
    const Case cases[] = {
        {"Key %d", 100, "Key 100"},        {"0x%03X", 0x64, "0x064"},    {"%05x", 0x1A, "0001a"},
        {"%#x", 100, "0x64"},              {"%#X", 0, "0"},              {"%+d", 100, "+100"},
        {"% d", 7, " 7"},                  {"%.5d", 100, "00100"},       {"%-5d|", 100, "100  |"},
        {"%5d|", 100, "  100|"},           {"%ld", 100, "100"},          {"%hu", 3, "3"},
        {"%o", 8, "10"},                   {"%#o", 8, "010"},            {"%c", 65, "A"},
        {"%d", -5, "-5"},                  {"%u", -1, "4294967295"},     {"%i%%", 50, "50%"},
        {"no conversion", 1, "no conversion"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatWithInteger(QString::fromUtf8(c.format), c.value), QString::fromUtf8(c.expected)) << c.format;
    }
}

// The format comes from an editable language file: directives that would read arguments
// that are not there stay as they are.
TEST(IntegerFormat, CopiesWhatItCannotFill) {
    struct Case { const char* format; const char* expected; };
    const Case cases[] = {
        {"%s and %d", "%s and 100"}, {"%n%d", "%n100"},  {"%d then %d", "100 then %d"},
        {"%*d", "%*d"},              {"%f", "%f"},       {"100%", "100%"},
        {"%%d", "%d"},               {"%-", "%-"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatWithInteger(QString::fromUtf8(c.format), 100), QString::fromUtf8(c.expected)) << c.format;
    }
    EXPECT_LE(FormatWithInteger(QStringLiteral("%999999999d"), 1).size(), 512);
}

}  // namespace
}  // namespace vantor
