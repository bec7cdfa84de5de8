// The shipped language files against the keys the program looks up: the key tables' keys, every
// literal key of a lookup in the source tree (scanned at test time), and the keys of windows
// and messages that are not built yet, kept here as data.

#include "keymodel/AssignmentSummary.h"
#include "keymodel/KeyNames.h"
#include "keymodel/KeyTables.h"
#include "shell/IniDocument.h"
#include "shell/lang/Language.h"
#include "support/TestEnvironment.h"
#include "SourceTree.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <ostream>
#include <vector>

// Readable failure messages for the texts compared below.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* out) { *out << list.join(u", ").toStdString(); }

namespace vantor {
namespace {

struct LanguageKey {
    QString section;
    QString key;
    bool operator<(const LanguageKey& other) const {
        return section != other.section ? section < other.section
                                        : key.compare(other.key, Qt::CaseInsensitive) < 0;
    }
};

// Texts of windows and messages that the program shows but whose code does not look them up
// through a literal key yet.
const char* const kNamedTextKeys[] = {
    // main window, its buttons and messages
    "MAIN_CAPTION", "MAIN_HELP_PROMPT", "MAIN_MINIMIZE_PROMPT", "MAIN_MENU_PROMPT",
    "MAIN_CLOSE_PROMPT", "MAIN_SWITCH_COLOR_TEXT", "MAIN_SWITCH_FUNCTION_TEXT", "PROFILE_1",
    "PROFILE_2", "PROFILE_3", "PROFILE_MACRO", "PROFILE_DEFAULT", "PROFILE_OK", "PROFILE_CANCLE",
    "PROFILE_APPLY", "MAIN_NO_DEVICE_PROMPT", "MAIN_DEFAULT_MATRIX_PROMPT", "MAIN_PROMPT_DEFAULT",
    "MAIN_PROMPT_INPORT",
    // backup menu, tray and about box
    "MENU_1", "MENU_2", "MENU_3", "MENU_4", "KEYBOARD_TRAY_DESC", "MENU_11", "MENU_22", "MENU_33",
    "LANG_ABOUT_TITLE", "GUANYU_JIESHAO", "GUANYU_BANQUAN", "LANG_ABOUT_OK",
    // profiles
    "PROFILE_FORMAT_ERROR", "PROFILE_SELECT_PROMPT", "PROFILE_SEELCT_PROMPT2", "PROFILE_TIP",
    "PROFILE_NEW", "DEFAULT_PROFILE_NAME", "PROFILE_LIST_ACTIVE", "PROFILE_LIST_NAME", "PROFILE_LIST_FOLDER",
    // firmware update window
    "UPDATE_BACKUP_DONE", "UPDATE_BACKUP_FAILED",
    // key assignment window
    "SINGLE_KEY", "MACRO_SETTING", "MULTI_MEDIA", "FUNCTION_KEY", "KEY_SETTING_TISHI",
    "MACRO_EDIT_TISHI", "SINGLE_STATIC", "MEDIA_EDIT_TISHI", "FUNCTION_TISHI", "IDS_MACRO_KB_KEY",
    "IDS_MACRO_MOU_KEY", "COMPOSITE_PROMPT_OSK", "MACRO_OK", "MACRO_CANCLE",
    // macro editor, recorder and download
    "MACRO_NAME_SETTING", "MACRO_CYCLES", "RECORD_DELAY", "A_RECORD", "A_TOP", "A_UP", "A_DOWN",
    "A_BOTTOM", "A_DELETE", "A_CLEAR", "MACRO_ACTION_RECORD", "MACRO_ACTION_STOP_RECORD",
    "MACRO_NEW_PREFIX", "MACRO_ACTION_RECORD_DELAY", "MACRO_ERR_MAX", "MACRO_ACTION_ERR_DELAY_MAX",
    "MACRO_ACTION_CLEAR_CONFIRM", "MACRO_DELETE_CONFIRM_OF_KEYS", "EXTRA_MACRO_TOO_LONG",
    "EXTRA_PROFILE_SPACE_TIGHT",
    // key tooltips
    "KEY_PROMPT_SET", "KEY_PROMPT_SINGLE", "KEY_PROMPT_MACRO", "KEY_PROMPT_MEDIA",
    "KEY_PROMPT_FUNCTION", "UNKNOWN_KEY",
};

// Labels of the lighting panel.
const char* const kNamedLightKeys[] = {"Usb", "Deng", "Light", "FX", "Speed", "Color", "JColor", "DC", "Tool"};

// Lighting effects are named by their code in decimal.
const int kEffectCodes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20};

// Texts the program fills as formats, with the conversions each takes ('s' text, 'i' integer).
// Every other text is shown as it stands and carries no conversion.
const std::map<QString, QString> kFormatTexts = {
    {QStringLiteral("PROFILE_FORMAT_ERROR"), QStringLiteral("s")},
    {QStringLiteral("MAIN_PROMPT_EXPORT"), QStringLiteral("s")},
    {QStringLiteral("MACRO_ERR_MAX"), QStringLiteral("i")},
    {QStringLiteral("MACRO_ACTION_ERR_DELAY_MAX"), QStringLiteral("i")},
    {QStringLiteral("UNKNOWN_KEY"), QStringLiteral("i")},
};

// Keys whose text is meant to be empty.
const QSet<QString> kIntendedEmpty = {};

const QString kSections[] = {QStringLiteral("TEXT"), QStringLiteral("LIGHT"), QStringLiteral("MODE")};

QByteArray ShippedFile(int index) {
    QFile file(SourceTree() + QStringLiteral("/data/lang/") + LanguageFileName(LanguageIdOfIndex(index)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every literal key passed to a lookup in src/, e.g. LanguageText(QStringLiteral("KEY")).
std::set<LanguageKey> ScanSourceKeys() {
    static const QRegularExpression lookup(QStringLiteral(
        R"re(\b(LanguageText|LightSectionText|ModeSectionText)\s*\(\s*(?:[\w:]+\s*\(\s*)?u?"([^"\\]+)")re"));
    static const QRegularExpression sectionLookup(QStringLiteral(
        R"re(\bLanguageSectionText\s*\(\s*(?:[\w:]+\s*\(\s*)?u?"(TEXT|LIGHT|MODE)"\s*\)?\s*,\s*(?:[\w:]+\s*\(\s*)?u?"([^"\\]+)")re"));
    const std::map<QString, QString> sectionOf = {{QStringLiteral("LanguageText"), QStringLiteral("TEXT")},
                                                  {QStringLiteral("LightSectionText"), QStringLiteral("LIGHT")},
                                                  {QStringLiteral("ModeSectionText"), QStringLiteral("MODE")}};
    std::set<LanguageKey> keys;
    QDirIterator it(SourceTree() + QStringLiteral("/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (auto match = lookup.globalMatch(text); match.hasNext();) {
            const auto m = match.next();
            keys.insert({sectionOf.at(m.captured(1)), m.captured(2)});
        }
        for (auto match = sectionLookup.globalMatch(text); match.hasNext();) {
            const auto m = match.next();
            keys.insert({m.captured(1), m.captured(2)});
        }
    }
    return keys;
}

std::set<LanguageKey> RequiredKeys() {
    const QString text = QStringLiteral("TEXT");
    std::set<LanguageKey> keys = ScanSourceKeys();
    for (const KeyRow& row : KeyTable) {
        if (row.languageKey[0] != '\0') keys.insert({text, QString::fromLatin1(row.languageKey)});
    }
    for (const MediaEntry& media : MediaList) keys.insert({text, QString::fromLatin1(media.languageKey)});
    for (const char* function : FunctionList) keys.insert({text, QString::fromLatin1(function)});
    for (const MouseEntry& mouse : MouseList) keys.insert({text, QString::fromLatin1(mouse.languageKey)});
    for (const char* key : kNamedTextKeys) keys.insert({text, QString::fromLatin1(key)});
    for (const char* key : kNamedLightKeys) keys.insert({QStringLiteral("LIGHT"), QString::fromLatin1(key)});
    for (int code : kEffectCodes) keys.insert({QStringLiteral("MODE"), QString::number(code)});
    return keys;
}

// The printf conversions of a text, one letter each: 's' for %s, 'i' for any integer
// conversion, the conversion letter itself otherwise; "%%" is no conversion.
QString Conversions(const QString& text) {
    static const QRegularExpression directive(QStringLiteral(R"re(%(%|[-+ #0]*\d*(?:\.\d+)?[hlLqjzt]*([A-Za-z]?)))re"));
    QString letters;
    for (auto match = directive.globalMatch(text); match.hasNext();) {
        const auto m = match.next();
        if (m.captured(1) == u"%") continue;
        const QString letter = m.captured(2);
        letters += QStringLiteral("diuxXoc").contains(letter) && !letter.isEmpty() ? QStringLiteral("i")
                   : letter.isEmpty()                                              ? QStringLiteral("?")
                                                                                   : letter;
    }
    return letters;
}

// Key names of each section in file order, duplicates kept, read line by line.
std::map<QString, QStringList> KeysInFileOrder(const QByteArray& bytes) {
    std::map<QString, QStringList> keys;
    QString section;
    for (QString line : QString::fromUtf8(bytes).split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(QChar(0xFEFF))) line.remove(0, 1);
        if (line.isEmpty() || line.startsWith(u';')) continue;
        if (line.startsWith(u'[')) {
            section = line.mid(1, line.indexOf(u']') - 1).toUpper();
        } else if (line.contains(u'=')) {
            keys[section].append(line.left(line.indexOf(u'=')).trimmed());
        }
    }
    return keys;
}

class LanguageFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int index = 0; index < kLanguageCount; ++index) {
            m_bytes[index] = ShippedFile(index);
            ASSERT_FALSE(m_bytes[index].isEmpty()) << FileName(index);
            m_documents[index] = IniDocument::Parse(m_bytes[index]);
            m_env.WriteProgramFile(LanguageFileName(LanguageIdOfIndex(index)), m_bytes[index]);
        }
    }

    static std::string FileName(int index) { return LanguageFileName(LanguageIdOfIndex(index)).toStdString(); }

    test::TestEnvironment m_env;
    QByteArray m_bytes[kLanguageCount];
    IniDocument m_documents[kLanguageCount];
};

TEST_F(LanguageFilesTest, SourceScanFindsTheLookupsOfTheCode) {
    // Guards the scan itself: a pattern that matched nothing would let every later check pass.
    const std::set<LanguageKey> scanned = ScanSourceKeys();
    for (const char* key : {"KEY_PROMPT_SET", "UNKNOWN_KEY", "MACRO_NEW_PREFIX"}) {
        EXPECT_TRUE(scanned.count({QStringLiteral("TEXT"), QString::fromLatin1(key)})) << key;
    }
}

TEST_F(LanguageFilesTest, BothFilesHoldEveryKeyTheProgramLooksUp) {
    const std::set<LanguageKey> required = RequiredKeys();
    for (int index = 0; index < kLanguageCount; ++index) {
        QStringList missing;
        for (const LanguageKey& key : required) {
            // Through the program's own lookup, so the file is read as the program reads it.
            if (!FindLanguageText(key.section, key.key, index)) missing << key.section + u'/' + key.key;
        }
        EXPECT_TRUE(missing.isEmpty()) << FileName(index) << " lacks " << missing.join(u", ").toStdString();
    }
}

TEST_F(LanguageFilesTest, FilesHoldTheSameKeysInTheSameOrderOnce) {
    const auto english = KeysInFileOrder(m_bytes[1]);
    const auto chinese = KeysInFileOrder(m_bytes[0]);
    for (const QString& section : kSections) {
        const QStringList& keys = english.count(section) ? english.at(section) : QStringList();
        EXPECT_FALSE(keys.isEmpty()) << section.toStdString();
        EXPECT_EQ(keys, chinese.count(section) ? chinese.at(section) : QStringList()) << section.toStdString();
        QSet<QString> seen;
        for (const QString& key : keys) {
            EXPECT_FALSE(seen.contains(key.toUpper())) << "written twice: " << key.toStdString();
            seen.insert(key.toUpper());
        }
    }
    for (int index = 0; index < kLanguageCount; ++index) {
        EXPECT_FALSE(QString::fromUtf8(m_bytes[index]).contains(QChar::ReplacementCharacter))
            << FileName(index) << " is not clean UTF-8";
    }
}

TEST_F(LanguageFilesTest, FormatsAgreeKeyByKeyAndOnlyFormatsCarryConversions) {
    for (const QString& section : kSections) {
        for (const QString& key : m_documents[1].KeyNames(section)) {
            const auto it = kFormatTexts.find(key.toUpper());
            const QString expected = it == kFormatTexts.end() ? QString() : it->second;
            for (int index = 0; index < kLanguageCount; ++index) {
                const QString value = m_documents[index].Value(section, key).value_or(QString());
                EXPECT_EQ(Conversions(value), expected)
                    << FileName(index) << " " << section.toStdString() << "/" << key.toStdString() << " = "
                    << value.toStdString();
            }
        }
    }
}

TEST_F(LanguageFilesTest, EveryTextIsNonEmptyAndShownWhole) {
    for (int index = 0; index < kLanguageCount; ++index) {
        for (const QString& section : kSections) {
            for (const QString& key : m_documents[index].KeyNames(section)) {
                const QString value = m_documents[index].Value(section, key).value_or(QString());
                if (!kIntendedEmpty.contains(key)) {
                    EXPECT_FALSE(value.isEmpty()) << FileName(index) << " " << key.toStdString();
                }
                EXPECT_LT(value.size(), IniDocument::kDefaultCapacity)
                    << FileName(index) << " " << key.toStdString() << " would be cut";
            }
        }
    }
}

TEST_F(LanguageFilesTest, ComposedTextsKeepTheirBlanksAndFormats) {
    struct Case {
        int index;
        const char16_t* keySummary;       // Caps Lock set to Esc
        const char16_t* disabledSummary;  // Caps Lock disabled
        const char16_t* mediaSummary;     // Caps Lock set to volume up
        const char16_t* unknownKey;       // name of the unnamed F13 code
        const char16_t* firstNewMacro;
    };
    const Case cases[] = {
        {1, u"Caps Lock – assigned (key: Esc)", u"Caps Lock – assigned",
         u"Caps Lock – assigned (media: Volume up)", u"Unknown key (0x064)", u"Macro 1"},
        {0, u"大写锁定 - 已设置 (按键: Esc)", u"大写锁定 - 已设置", u"大写锁定 - 已设置 (多媒体: 音量加)",
         u"未知按键 (0x064)", u"宏1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(FileName(c.index));
        ASSERT_TRUE(m_env.SetLanguageIndex(c.index));
        const QString capsLock = KeyName(0x03A);
        KeyAssignment record;
        record.type = kAssignKey;
        record.value = 0x001;
        EXPECT_EQ(AssignmentSummary(capsLock, record, {}), QString::fromUtf16(c.keySummary));
        record.type = kAssignDisabled;
        EXPECT_EQ(AssignmentSummary(capsLock, record, {}), QString::fromUtf16(c.disabledSummary));
        record.type = kAssignMedia;
        record.value = 6;
        EXPECT_EQ(AssignmentSummary(capsLock, record, {}), QString::fromUtf16(c.mediaSummary));
        record.type = kAssignFunction;
        record.value = 10;
        const QString function = AssignmentSummary(capsLock, record, {});
        EXPECT_TRUE(function.endsWith(LanguageText(QStringLiteral("FUNC_KEY_DESC11")) + u')')) << function.toStdString();
        EXPECT_EQ(KeyName(0x064), QString::fromUtf16(c.unknownKey));
        EXPECT_EQ(LanguageText(QStringLiteral("MACRO_NEW_PREFIX")) + u'1', QString::fromUtf16(c.firstNewMacro));
    }
}

TEST_F(LanguageFilesTest, RecordDelaysSettingKeepsItsNameAcrossLanguages) {
    // The text names the stored setting: a different name per language would lose the choice
    // whenever the language changes.
    const QString key = QStringLiteral("MACRO_ACTION_RECORD_DELAY");
    const QString name = LanguageText(key, 0);
    EXPECT_EQ(name, LanguageText(key, 1));
    EXPECT_FALSE(name.contains(u'=') || name.startsWith(u'[') || name.startsWith(u';') || name != name.trimmed())
        << name.toStdString();
}

}  // namespace
}  // namespace vantor
