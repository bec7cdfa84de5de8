#include "shell/IniDocument.h"

#include <string_view>

#include <gtest/gtest.h>

namespace vantor {
namespace {

// The bytes of a text in an encoding, with its byte-order mark.
QByteArray Encoded(const QString& text, IniEncoding encoding) {
    QByteArray out;
    switch (encoding) {
        case IniEncoding::Utf16LE:
        case IniEncoding::Utf16BE: {
            const bool little = encoding == IniEncoding::Utf16LE;
            out = little ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
            for (QChar c : text) {
                const char low = static_cast<char>(c.unicode() & 0xFF);
                const char high = static_cast<char>(c.unicode() >> 8);
                out.append(little ? low : high).append(little ? high : low);
            }
            return out;
        }
        case IniEncoding::Utf8Bom:
            return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        case IniEncoding::Utf8:
            return text.toUtf8();
    }
    return out;
}

const IniEncoding kEncodings[] = {IniEncoding::Utf16LE, IniEncoding::Utf16BE, IniEncoding::Utf8Bom,
                                  IniEncoding::Utf8};

class IniDocumentEncodings : public ::testing::TestWithParam<IniEncoding> {};

TEST_P(IniDocumentEncodings, ReadsByThePrivateProfileRules) {
    const QString text = QString::fromUtf8(
        "; comment = not an entry\r\n"
        "orphan=before any section\r\n"
        "[Text]\r\n"
        "  Plain  =  spaced value  \t\r\n"
        "Quoted=\"  kept blanks  \"\r\n"
        "Single='x'\r\n"
        "Mismatched=\"x'\r\n"
        "Twice=\"\"inner\"\"\r\n"
        "Empty=\r\n"
        "EmptyQuotes=\"\"\r\n"
        "Equals=a=b\r\n"
        "Chinese=确定 😀\r\n"
        "plain=second spelling loses\r\n"
        "no equals sign\r\n"
        "[ Other ] trailing\n"
        "Key=other\n"
        "[TEXT]\n"
        "Late=found in a repeated section\n"
        "Plain=also loses\n"
        "[Unterminated\n"
        "Last=no line break");
    const IniDocument doc = IniDocument::Parse(Encoded(text, GetParam()));
    EXPECT_EQ(doc.Encoding(), GetParam());

    struct Case {
        const char* section;
        const char* key;
        std::optional<QString> expected;
    };
    const Case cases[] = {
        {"Text", "Plain", "spaced value"},
        {"TEXT", "PLAIN", "spaced value"},
        {"text", "Quoted", "  kept blanks  "},
        {"Text", "Single", "x"},
        {"Text", "Mismatched", "\"x'"},
        {"Text", "Twice", "\"inner\""},
        {"Text", "Empty", ""},
        {"Text", "EmptyQuotes", ""},
        {"Text", "Equals", "a=b"},
        {"Text", "Chinese", QString::fromUtf8("确定 😀")},
        {"Text", "Late", "found in a repeated section"},
        {"Text", "no equals sign", std::nullopt},
        {"Text", "; comment", std::nullopt},
        {"Text", "orphan", std::nullopt},
        {"Text", "Key", std::nullopt},
        {"Other", "Key", "other"},
        {"Text", "Last", "no line break"},
        {"Missing", "Plain", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(doc.Value(QString::fromUtf8(c.section), QString::fromUtf8(c.key)), c.expected);
    }
    EXPECT_EQ(doc.SectionNames(), QStringList({"Text", "Other"}));
    EXPECT_EQ(doc.KeyNames(u"text"),
              QStringList({"Plain", "Quoted", "Single", "Mismatched", "Twice", "Empty",
                           "EmptyQuotes", "Equals", "Chinese", "Late", "Last"}));
}

TEST_P(IniDocumentEncodings, EditsOnlyTheBytesTheyMust) {
    const QString text = QStringLiteral(
        "; header\r\n"
        "[A]\r\n"
        "Key = old value ; not a comment\r\n"
        "Other=1\r\n"
        "\r\n"
        "[B]\r\n"
        "Key=b");
    const QByteArray original = Encoded(text, GetParam());
    struct Case {
        const char* name;
        const char* section;
        const char* key;
        QString value;
        QString expected;
    };
    const Case cases[] = {
        {"in place", "a", "KEY", QString::fromUtf8("新"),
         QString::fromUtf8("; header\r\n[A]\r\nKey = 新\r\nOther=1\r\n\r\n[B]\r\nKey=b")},
        {"appended to its section", "A", "New", "v",
         "; header\r\n[A]\r\nKey = old value ; not a comment\r\nOther=1\r\nNew=v\r\n\r\n[B]\r\n"
         "Key=b"},
        {"appended to the last section without a line break", "B", "New", "v",
         "; header\r\n[A]\r\nKey = old value ; not a comment\r\nOther=1\r\n\r\n[B]\r\nKey=b\r\n"
         "New=v\r\n"},
        {"new section at the end", "C", "Key", "c",
         "; header\r\n[A]\r\nKey = old value ; not a comment\r\nOther=1\r\n\r\n[B]\r\nKey=b\r\n"
         "\r\n[C]\r\nKey=c\r\n"},
        {"blanks kept by quotes", "B", "Key", " padded ",
         "; header\r\n[A]\r\nKey = old value ; not a comment\r\nOther=1\r\n\r\n[B]\r\n"
         "Key=\" padded \""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IniDocument doc = IniDocument::Parse(original);
        ASSERT_TRUE(doc.SetValue(c.section, c.key, c.value));
        EXPECT_EQ(doc.Bytes(), Encoded(c.expected, GetParam()));
        EXPECT_EQ(doc.Value(QString::fromUtf8(c.section), QString::fromUtf8(c.key)), c.value);
    }
}

INSTANTIATE_TEST_SUITE_P(AllEncodings, IniDocumentEncodings, ::testing::ValuesIn(kEncodings));

TEST(IniDocument, ValuesReadBackAsWritten) {
    const QString values[] = {"", " ", "  both  ", "\"quoted\"", "'single'", "\"", "a\"b",
                              "tab\tinside", QString::fromUtf8("中文")};
    IniDocument doc;
    for (const QString& value : values) {
        ASSERT_TRUE(doc.SetValue("S", "K", value));
        EXPECT_EQ(doc.Value(u"S", u"K"), value) << value.toStdString();
    }
}

TEST(IniDocument, RefusesWhatCannotBeWrittenAndChangesNothing) {
    IniDocument doc = IniDocument::Parse("[S]\nK=v\n");
    const QByteArray before = doc.Bytes();
    const std::tuple<QString, QString, QString> refused[] = {
        {"", "K", "v"},      {" S", "K", "v"},     {"S\n", "K", "v"}, {"S", "", "v"},
        {"S", "K ", "v"},    {"S", "a=b", "v"},    {"S", "[K", "v"},  {"S", ";K", "v"},
        {"S", "K", "line\nbreak"}, {"S", "K", "cr\r"}, {"S", "K", QString(1, QChar(0))},
    };
    for (const auto& [section, key, value] : refused) {
        EXPECT_FALSE(doc.SetValue(section, key, value)) << section.toStdString() << "/"
                                                        << key.toStdString();
    }
    EXPECT_EQ(doc.Bytes(), before);
}

TEST(IniDocument, ANewFileIsUtf16WithItsBom) {
    IniDocument doc;
    EXPECT_EQ(doc.Encoding(), IniEncoding::Utf16LE);
    ASSERT_TRUE(doc.SetValue("S", "K", "v"));
    EXPECT_EQ(doc.Bytes(), Encoded("[S]\r\nK=v\r\n", IniEncoding::Utf16LE));
}

TEST(IniDocument, FollowsTheFilesLineBreaks) {
    IniDocument doc = IniDocument::Parse("[S]\nK=v\n");
    ASSERT_TRUE(doc.SetValue("T", "K", "w"));
    EXPECT_EQ(doc.Bytes(), "[S]\nK=v\n\n[T]\nK=w\n");
}

TEST(IniDocument, CutsTextToTheCallersCapacity) {
    const QString emoji = QString::fromUtf8("😀");  // a surrogate pair
    const IniDocument doc =
        IniDocument::Parse(QStringLiteral("[S]\nLong=%1\nPair=ab%2\n").arg(QString(300, u'x'), emoji).toUtf8());
    EXPECT_EQ(doc.ReadString(u"S", u"Long", "#Error"), QString(259, u'x'));
    EXPECT_EQ(doc.ReadString(u"S", u"Long", "#Error", 5), "xxxx");
    EXPECT_EQ(doc.ReadString(u"S", u"Long", "#Error", 1), "");
    EXPECT_EQ(doc.ReadString(u"S", u"Long", "#Error", 0), "");
    EXPECT_EQ(doc.ReadString(u"S", u"Missing", "#Error"), "#Error");
    EXPECT_EQ(doc.ReadString(u"S", u"Missing", "#Error", 3), "#E");
    // A cut never leaves half a surrogate pair behind.
    EXPECT_EQ(doc.ReadString(u"S", u"Pair", "", 4), "ab");
    EXPECT_EQ(doc.ReadString(u"S", u"Pair", "", 5), "ab" + emoji);
}

TEST(IniDocument, ParsesAnyBytesWithoutHarm) {
    using namespace std::string_view_literals;
    const std::string_view inputs[] = {
        ""sv,
        "\xFF\xFE"sv,
        "\xFF\xFE["sv,          // odd length: the stray byte is dropped
        "\xFF\xFE\x00\xD8"sv,  // lone surrogate
        "[S]\nK=\xC3\x28\n"sv,  // invalid UTF-8
        "[]\n=\n[\n]\n[S\n\0=\0\n"sv,
        "\r\r\r\n\n"sv,
    };
    for (std::string_view input : inputs) {
        IniDocument doc = IniDocument::Parse(QByteArrayView(input.data(), input.size()));
        doc.SectionNames();
        EXPECT_TRUE(doc.SetValue("S", "K", "v"));
        EXPECT_EQ(doc.Value(u"S", u"K"), "v");
    }
    IniDocument invalid = IniDocument::Parse(QByteArray("[S]\nK=\xC3\x28\nOther=\xFF\n"));
    ASSERT_TRUE(invalid.SetValue("S", "New", "n"));
    EXPECT_TRUE(invalid.Bytes().startsWith(QByteArray("[S]\nK=\xC3\x28\nOther=\xFF\n")));
}

}  // namespace
}  // namespace vantor
