#include "profiles/ProfileFile.h"
#include "profiles/ProfileFileFormat.h"

#include "keyassign/MacroTables.h"
#include "keyassign/RecordingMessages.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <cstring>
#include <functional>

namespace vantor {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A store with two macros, a launch-program key in block 0 and a text-block key in block 2,
// and a key of type 2 that still holds a text from an earlier assignment.
void FillSample(ProfileStore& store) {
    std::lock_guard guard(store.Lock());
    ProfileData& data = store.Data();
    StoreKeyRecords records = data.Records();
    records[0x1E] = {kAssignLaunch, 0, 999, 1, 0x12345678};
    data.SetText(0x1E, u"/usr/bin/tool --flag");
    records[2 * 512 + 0x10] = {kAssignText, 0, 0, 0, 0};
    data.SetText(2 * 512 + 0x10, u"Hello, \u4e16\u754c");
    records[0x20] = {kAssignKey, 0, 0x1E, 0, 0};
    data.SetText(0x20, u"stale");
    records[3 * 512 + 7] = {kAssignMacro, 3, 2, 0, 0};
    MacroTable table = test::SampleTable(2, 50, 12);
    std::vector<MacroRecord> macros(table.Records().begin(), table.Records().end());
    macros[1].actions[3999].delay = 77;  // a slot past the used actions is kept as well
    data.Macros().Replace(std::move(macros));
}

class ProfileFileTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return m_env.Root() + u'/' + name; }
    test::TestEnvironment m_env;
    test::RecordingMessages m_messages;
};

TEST_F(ProfileFileTest, StoreToFileToStoreKeepsEveryByteAndText) {
    ProfileStore store;
    FillSample(store);
    ASSERT_TRUE(SaveProfileToPath(store, Path("a.vpf")));
    const QByteArray first = ReadAll(Path("a.vpf"));
    const uint32_t textSize = 2 * (20 + 1) + 2 * (9 + 1) + 2 * (5 + 1);
    ASSERT_EQ(first.size(), qsizetype{32832 + 2 * 32512 + textSize});
    EXPECT_EQ(ValidateProfileFile(Path("a.vpf"), m_messages), 1);

    // Texts lie in record order at the offsets their keys record; the type-2 key's text is
    // counted in the area but not written, so its bytes stay zero.
    const char* area = first.constData() + 32832 + 2 * 32512;
    EXPECT_EQ(std::memcmp(area, u"/usr/bin/tool --flag", 42), 0);
    EXPECT_EQ(std::memcmp(area + 42, u"Hello, \u4e16\u754c", 20), 0);
    EXPECT_EQ(QByteArray(area + 62, 12), QByteArray(12, '\0'));
    {
        std::lock_guard guard(store.Lock());
        EXPECT_EQ(store.Data().Records()[0x1E].value, 0u);
        EXPECT_EQ(store.Data().Records()[2 * 512 + 0x10].value, 42u);
    }

    ProfileStore loaded;
    ASSERT_EQ(LoadProfileFile(loaded, Path("a.vpf")), 1);
    {
        std::lock_guard guard(loaded.Lock());
        EXPECT_EQ(loaded.Data().Text(0x1E), u"/usr/bin/tool --flag");
        EXPECT_EQ(loaded.Data().Text(2 * 512 + 0x10), u"Hello, \u4e16\u754c");
        EXPECT_EQ(loaded.Data().TextBytes(0x20), 0u);
        EXPECT_EQ(loaded.Data().Macros().Records()[1].actions[3999].delay, 77u);
    }
    ASSERT_TRUE(SaveProfileToPath(loaded, Path("b.vpf")));
    const QByteArray second = ReadAll(Path("b.vpf"));
    // The stale text is gone, so the area is 12 bytes shorter; everything else is the same.
    ASSERT_EQ(second.size(), first.size() - 12);
    EXPECT_EQ(second.mid(32), first.mid(32, second.size() - 32));
    ProfileStore again;
    ASSERT_EQ(LoadProfileFile(again, Path("b.vpf")), 1);
    ASSERT_TRUE(SaveProfileToPath(again, Path("c.vpf")));
    EXPECT_EQ(ReadAll(Path("c.vpf")), second);
}

TEST_F(ProfileFileTest, TheDefaultProfileIsTheSmallestValidFile) {
    ASSERT_EQ(CreateDefaultProfile(Path("d.vpf"), 0), 1);
    const QByteArray bytes = ReadAll(Path("d.vpf"));
    ASSERT_EQ(bytes.size(), 32832);
    EXPECT_EQ(ValidateProfileFile(Path("d.vpf"), m_messages), 1);
    EXPECT_EQ(bytes.left(4), QByteArray("\x46\x44\x20\x00", 4));
    EXPECT_EQ(bytes.mid(32, 4), QByteArray("\x4B\x48\x20\x00", 4));
    uint16_t parameter = 0;
    std::memcpy(&parameter, bytes.constData() + 64 + 256 * 16 + 2, 2);
    EXPECT_EQ(parameter, 0x0301);  // extra key 1 of block 0
    std::memcpy(&parameter, bytes.constData() + 64 + 512 * 16 + 256 * 16 + 2, 2);
    EXPECT_EQ(parameter, 0);  // only block 0 carries them
    EXPECT_TRUE(m_messages.shown.isEmpty());
}

// One header field changed per case, the checksum recomputed unless the case is the checksum.
TEST_F(ProfileFileTest, EachHeaderCheckRefusesTheFileWithTheFormatMessage) {
    ASSERT_EQ(CreateDefaultProfile(Path("sane.vpf"), 0), 1);
    const QByteArray sane = ReadAll(Path("sane.vpf"));
    struct Case {
        const char* name;
        std::function<void(ProfileFileHeader&)> change;
        int expected;
    };
    const Case cases[] = {
        {"magic", [](ProfileFileHeader& h) { h.magic = 0x4447; }, 0},
        {"header size", [](ProfileFileHeader& h) { h.headerSize = 31; }, 0},
        {"version", [](ProfileFileHeader& h) { h.version = 2; }, 0},
        {"kind", [](ProfileFileHeader& h) { h.kind = 0; }, 0},
        {"record count", [](ProfileFileHeader& h) { h.recordCount = 2047; }, 0},
        {"101 macros", [](ProfileFileHeader& h) {
             h.macroCount = 101;
             h.fileSize = 32832 + 101 * 32512;
         }, 0},
        {"flag 2", [](ProfileFileHeader& h) { h.flag = 2; }, 0},
        {"flag 1", [](ProfileFileHeader& h) { h.flag = 1; }, 1},
        {"file size off", [](ProfileFileHeader& h) { h.fileSize += 2; }, 0},
        {"text size without file size", [](ProfileFileHeader& h) { h.textAreaSize = 2; }, 0},
        {"claims more than the file holds", [](ProfileFileHeader& h) {
             h.textAreaSize = 64;
             h.fileSize += 64;
         }, 1},
        {"sizes that wrap", [](ProfileFileHeader& h) {
             h.macroCount = 100;
             h.textAreaSize = 0xFFFFFFFFu - 100 * 32512 + 1;
             h.fileSize = 32832;
         }, 0},
    };
    for (const Case& c : cases) {
        QByteArray bytes = sane;
        ProfileFileHeader header;
        std::memcpy(&header, bytes.constData(), sizeof header);
        c.change(header);
        header.checksum = HeaderChecksum(header);
        std::memcpy(bytes.data(), &header, sizeof header);
        WriteAll(Path("case.vpf"), bytes);
        m_messages.shown.clear();
        EXPECT_EQ(ValidateProfileFile(Path("case.vpf"), m_messages), c.expected) << c.name;
        EXPECT_EQ(m_messages.shown.size(), c.expected == 1 ? 0 : 1) << c.name;
    }
    QByteArray badSum = sane;
    badSum[31] = static_cast<char>(badSum[31] + 1);
    WriteAll(Path("sum.vpf"), badSum);
    m_messages.shown.clear();
    m_messages.arguments.clear();
    EXPECT_EQ(ValidateProfileFile(Path("sum.vpf"), m_messages), 0);
    EXPECT_EQ(m_messages.shown, QStringList{QStringLiteral("PROFILE_FORMAT_ERROR")});
    EXPECT_EQ(m_messages.arguments, QStringList{Path("sum.vpf")});
}

TEST_F(ProfileFileTest, MissingShortOrUnreadableFilesAreRefusedSilently) {
    m_messages.shown.clear();
    EXPECT_EQ(ValidateProfileFile(Path("none.vpf"), m_messages), 0);
    ASSERT_EQ(CreateDefaultProfile(Path("short.vpf"), 0), 1);
    QFile::resize(Path("short.vpf"), 32831);
    EXPECT_EQ(ValidateProfileFile(Path("short.vpf"), m_messages), 0);
    QDir().mkpath(Path("folder.vpf"));
    EXPECT_EQ(ValidateProfileFile(Path("folder.vpf"), m_messages), -2);
    EXPECT_TRUE(m_messages.shown.isEmpty());
}

// A file that cannot be taken in whole leaves the store exactly as it was.
TEST_F(ProfileFileTest, AFailedLoadLeavesTheStoreAsItWas) {
    ProfileStore source;
    FillSample(source);
    ASSERT_TRUE(SaveProfileToPath(source, Path("full.vpf")));
    const QByteArray full = ReadAll(Path("full.vpf"));

    QByteArray pastEnd = full;
    const uint32_t offset = 2 * 32512 + 4096;  // far past the text area
    std::memcpy(pastEnd.data() + 64 + 0x1E * 16 + 4, &offset, 4);
    QByteArray unterminated = full;
    unterminated[unterminated.size() - 13] = 'x';  // the last text loses its NUL
    unterminated[unterminated.size() - 14] = 'x';
    unterminated.chop(12);  // and the area ends right there
    ProfileFileHeader header;
    std::memcpy(&header, unterminated.constData(), sizeof header);
    header.textAreaSize -= 12;
    std::memcpy(unterminated.data(), &header, sizeof header);
    QByteArray tooManyMacros = full;
    const uint16_t count = 101;
    std::memcpy(tooManyMacros.data() + 14, &count, 2);

    const std::pair<const char*, QByteArray> cases[] = {
        {"short by one byte", full.left(full.size() - 1)},
        {"shorter than the image", full.left(1000)},
        {"text offset past the end", pastEnd},
        {"text without its end", unterminated},
        {"101 macros", tooManyMacros},
    };
    ProfileStore store;
    FillSample(store);
    std::lock_guard guard(store.Lock());
    const auto before = SerializeProfile(store.Data());
    ASSERT_TRUE(before);
    for (const auto& [name, bytes] : cases) {
        WriteAll(Path("bad.vpf"), bytes);
        EXPECT_EQ(LoadProfileFile(store, Path("bad.vpf")), 0) << name;
        EXPECT_EQ(SerializeProfile(store.Data()), before) << name;
    }
    EXPECT_EQ(LoadProfileFile(store, Path("nowhere.vpf")), 0);
}

TEST_F(ProfileFileTest, SavingNeverLeavesAHalfWrittenFile) {
    ProfileStore store;
    FillSample(store);
    EXPECT_FALSE(SaveProfileToPath(store, Path("missing-folder/a.vpf")));
    EXPECT_FALSE(QFile::exists(Path("missing-folder/a.vpf")));

    // The working file is written only once it exists.
    const QString working = m_env.Paths().WorkingProfileFile();
    EXPECT_EQ(SaveWorkingProfile(store), 0);
    EXPECT_FALSE(QFile::exists(working));
    EnsureProfileFolder();
    ASSERT_EQ(CreateDefaultProfile(working, 0), 1);
    EXPECT_EQ(SaveWorkingProfile(store), 1);
    EXPECT_GT(ReadAll(working).size(), 32832);
}

TEST_F(ProfileFileTest, TheProfileFolderIsCreatedWithCopiesOfTheColourTemplate) {
    m_env.WriteProgramFile(QStringLiteral("Skins/UserDengColor_3.userd"), "template");
    EnsureProfileFolder();
    for (int profile = 0; profile < 3; ++profile) {
        EXPECT_EQ(ReadAll(m_env.Paths().UserColourFile(profile)), "template") << profile;
    }
    // An existing folder is left alone.
    WriteAll(m_env.Paths().UserColourFile(0), "mine");
    EnsureProfileFolder();
    EXPECT_EQ(ReadAll(m_env.Paths().UserColourFile(0)), "mine");
}

}  // namespace
}  // namespace vantor
