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

TEST(IntegerFormat, ParsesWholeDecimalNumbersInRange) {
    struct Case { const char* text; int64_t low, high; std::optional<int64_t> expected; };
    const Case cases[] = {
        {"12", 0, 255, 12},      {"012", 0, 255, 12},  {"09", 0, 255, 9},   {"0", 0, 5, 0},
        {"255", 0, 255, 255},    {"256", 0, 255, {}},  {"1", 2, 9, {}},     {"", 0, 9, {}},
        {"0x1f", 0, 255, {}},    {"+1", 0, 9, {}},     {"-0", 0, 9, {}},    {" 1", 0, 9, {}},
        {"1 ", 0, 9, {}},        {"1e2", 0, 999, {}},  {"١", 0, 9, {}},     // Arabic-Indic one
        {"4294967295", 0, 4294967295LL, 4294967295LL},
        {"99999999999999999999999", 0, 4294967295LL, {}},
        {"00000000000000000000007", 0, 9, 7},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseDecimal(QString::fromUtf8(c.text), c.low, c.high), c.expected) << c.text;
    }
}

}  // namespace
}  // namespace vantor
