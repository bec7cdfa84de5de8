#include "profiles/ProfileFile.h"
#include "profiles/ProfileFileFormat.h"
#include "profiles/ProfileFlows.h"

#include "ProfileRig.h"
#include "keyassign/MacroTables.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <cstring>
#include <functional>
#include <string_view>

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
};

TEST_F(ProfileFileTest, StoreToFileToStoreKeepsEveryByteAndText) {
    ProfileStore store;
    FillSample(store);
    ASSERT_TRUE(SaveProfileToPath(store, Path("a.vpf")));
    const QByteArray first = ReadAll(Path("a.vpf"));
    const uint32_t textSize = 2 * (20 + 1) + 2 * (9 + 1) + 2 * (5 + 1);
    ASSERT_EQ(first.size(), qsizetype{32832 + 2 * 32512 + textSize});
    EXPECT_EQ(ValidateProfileFile(Path("a.vpf")), ProfileCheck::Valid);

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
    EXPECT_EQ(ValidateProfileFile(Path("d.vpf")), ProfileCheck::Valid);
    EXPECT_EQ(bytes.left(4), QByteArray("\x46\x44\x20\x00", 4));
    EXPECT_EQ(bytes.mid(32, 4), QByteArray("\x4B\x48\x20\x00", 4));
    uint16_t parameter = 0;
    std::memcpy(&parameter, bytes.constData() + 64 + 256 * 16 + 2, 2);
    EXPECT_EQ(parameter, 0x0301);  // extra key 1 of block 0
    std::memcpy(&parameter, bytes.constData() + 64 + 512 * 16 + 256 * 16 + 2, 2);
    EXPECT_EQ(parameter, 0);  // only block 0 carries them
}

// One header field changed per case, the checksum recomputed unless the case is the checksum.
TEST_F(ProfileFileTest, EachHeaderCheckRefusesTheFile) {
    ASSERT_EQ(CreateDefaultProfile(Path("sane.vpf"), 0), 1);
    const QByteArray sane = ReadAll(Path("sane.vpf"));
    struct Case {
        const char* name;
        std::function<void(ProfileFileHeader&)> change;
        ProfileCheck expected;
    };
    constexpr ProfileCheck kValid = ProfileCheck::Valid;
    constexpr ProfileCheck kBad = ProfileCheck::BadHeader;
    const Case cases[] = {
        {"magic", [](ProfileFileHeader& h) { h.magic = 0x4447; }, kBad},
        {"header size", [](ProfileFileHeader& h) { h.headerSize = 31; }, kBad},
        {"version", [](ProfileFileHeader& h) { h.version = 2; }, kBad},
        {"kind", [](ProfileFileHeader& h) { h.kind = 0; }, kBad},
        {"record count", [](ProfileFileHeader& h) { h.recordCount = 2047; }, kBad},
        {"101 macros", [](ProfileFileHeader& h) {
             h.macroCount = 101;
             h.fileSize = 32832 + 101 * 32512;
         }, kBad},
        {"flag 2", [](ProfileFileHeader& h) { h.flag = 2; }, kBad},
        {"flag 1", [](ProfileFileHeader& h) { h.flag = 1; }, kValid},
        {"file size off", [](ProfileFileHeader& h) { h.fileSize += 2; }, kBad},
        {"text size without file size", [](ProfileFileHeader& h) { h.textAreaSize = 2; }, kBad},
        {"claims more than the file holds", [](ProfileFileHeader& h) {
             h.textAreaSize = 64;
             h.fileSize += 64;
         }, kValid},
        {"sizes that wrap", [](ProfileFileHeader& h) {
             h.macroCount = 100;
             h.textAreaSize = 0xFFFFFFFFu - 100 * 32512 + 1;
             h.fileSize = 32832;
         }, kBad},
    };
    for (const Case& c : cases) {
        QByteArray bytes = sane;
        ProfileFileHeader header;
        std::memcpy(&header, bytes.constData(), sizeof header);
        c.change(header);
        header.checksum = HeaderChecksum(header);
        std::memcpy(bytes.data(), &header, sizeof header);
        WriteAll(Path("case.vpf"), bytes);
        EXPECT_EQ(ValidateProfileFile(Path("case.vpf")), c.expected) << c.name;
    }
    QByteArray badSum = sane;
    badSum[31] = static_cast<char>(badSum[31] + 1);
    WriteAll(Path("sum.vpf"), badSum);
    EXPECT_EQ(ValidateProfileFile(Path("sum.vpf")), ProfileCheck::BadHeader);
}

TEST_F(ProfileFileTest, MissingShortOrUnreadableFilesEachHaveTheirReason) {
    EXPECT_EQ(ValidateProfileFile(Path("none.vpf")), ProfileCheck::Missing);
    ASSERT_EQ(CreateDefaultProfile(Path("short.vpf"), 0), 1);
    QFile::resize(Path("short.vpf"), 32831);
    EXPECT_EQ(ValidateProfileFile(Path("short.vpf")), ProfileCheck::TooShort);
    QDir().mkpath(Path("folder.vpf"));
    EXPECT_EQ(ValidateProfileFile(Path("folder.vpf")), ProfileCheck::CannotOpen);
    EXPECT_EQ(ReadProfileFile(Path("folder.vpf")).check, ProfileCheck::CannotOpen);

    // The header alone passes a file cut short after it; reading it whole does not.
    ProfileStore store;
    FillSample(store);
    ASSERT_TRUE(SaveProfileToPath(store, Path("full.vpf")));
    WriteAll(Path("cut.vpf"), ReadAll(Path("full.vpf")).chopped(1));
    EXPECT_EQ(ValidateProfileFile(Path("cut.vpf")), ProfileCheck::Valid);
    const ProfileFileRead cut = ReadProfileFile(Path("cut.vpf"));
    EXPECT_EQ(cut.check, ProfileCheck::CutShort);
    EXPECT_FALSE(cut.data);
    EXPECT_EQ(ReadProfileFile(Path("full.vpf")).check, ProfileCheck::Valid);
}

// A key whose text lies outside the text area has no text; the file is otherwise taken in.
TEST_F(ProfileFileTest, ADanglingTextLoadsAsNoText) {
    ProfileStore source;
    FillSample(source);
    ASSERT_TRUE(SaveProfileToPath(source, Path("full.vpf")));
    const QByteArray full = ReadAll(Path("full.vpf"));

    QByteArray pastEnd = full;
    const uint32_t offset = 2 * 32512 + 4096;  // far past the text area
    std::memcpy(pastEnd.data() + 64 + 0x1E * 16 + 4, &offset, 4);
    QByteArray unterminated = full;  // the last text, block 2's, loses its NUL and its end
    unterminated[unterminated.size() - 13] = 'x';
    unterminated[unterminated.size() - 14] = 'x';
    unterminated.chop(12);
    ProfileFileHeader header;
    std::memcpy(&header, unterminated.constData(), sizeof header);
    header.textAreaSize -= 12;
    header.fileSize -= 12;
    header.checksum = HeaderChecksum(header);
    std::memcpy(unterminated.data(), &header, sizeof header);

    const struct {
        const char* name;
        QByteArray bytes;
        int dangling;
        int kept;
    } cases[] = {
        {"text offset past the end", pastEnd, 0x1E, 2 * 512 + 0x10},
        {"text without its end", unterminated, 2 * 512 + 0x10, 0x1E},
    };
    for (const auto& c : cases) {
        WriteAll(Path("dangling.vpf"), c.bytes);
        const ProfileFileRead read = ReadProfileFile(Path("dangling.vpf"));
        ASSERT_EQ(read.check, ProfileCheck::Valid) << c.name;
        EXPECT_TRUE(read.data->Text(c.dangling).empty()) << c.name;
        EXPECT_EQ(read.data->Records()[c.dangling].type, source.Data().Records()[c.dangling].type)
            << c.name;
        EXPECT_EQ(read.data->Text(c.kept), source.Data().Text(c.kept)) << c.name;
        EXPECT_EQ(read.data->Macros().Count(), 2) << c.name;
        ProfileStore store;
        EXPECT_EQ(LoadProfileFile(store, Path("dangling.vpf")), 1) << c.name;
    }
}

// Two launch keys sharing offset 0 of a one-text area, and a text-block key whose offset is the
// area's end. A writer that gives each sharing key its own copy grows the area, so an offset
// left as it was would land on the second copy. The fuzz corpus holds it too.
constexpr int kSharingA = 0x1E;
constexpr int kSharingB = 512 + 0x1E;
constexpr int kPastTheEnd = 2 * 512 + 0x1E;
constexpr std::u16string_view kSharedText = u"/usr/bin/game";

QByteArray SharedTextFixture() {
    const auto areaSize = static_cast<uint32_t>(2 * (kSharedText.size() + 1));
    ProfileData data = ProfileData::Default();
    ProfileImage& image = data.Image();
    FillProfileHeaders(image, 0, areaSize, 0);
    image.records[kSharingA] = {kAssignLaunch, 0, 0, 0, 0};
    image.records[kSharingB] = {kAssignLaunch, 0, 0, 0, 0};
    image.records[kPastTheEnd] = {kAssignText, 0, areaSize, 0, 0};
    QByteArray bytes(reinterpret_cast<const char*>(&image), sizeof image);
    bytes.append(reinterpret_cast<const char*>(kSharedText.data()),
                 2 * qsizetype(kSharedText.size()));
    bytes.append(2, '\0');
    return bytes;
}

void ExpectSharedTextFixtureTexts(const ProfileData& data, const char* where) {
    EXPECT_EQ(data.Text(kSharingA), kSharedText) << where;
    EXPECT_EQ(data.Text(kSharingB), kSharedText) << where;
    EXPECT_EQ(data.TextBytes(kPastTheEnd), 0u) << where;
    EXPECT_EQ(data.Records()[kPastTheEnd].type, kAssignText) << where;
}

// Every way the store is written (export, the working file after an import) keeps each key's
// own text; a key without one is written with the area's end, which reads as no text.
TEST_F(ProfileFileTest, SharedAndDanglingTextOffsetsSurviveARoundTrip) {
    const QByteArray fixture = SharedTextFixture();
    EXPECT_EQ(ReadAll(QStringLiteral(VANTOR_TEST_MAIN_SOURCE_DIR
                                     "/fuzz/corpus/profile_file/shared_text_offset.vpf")),
              fixture);
    WriteAll(Path("shared.vpf"), fixture);
    ProfileFileRead read = ReadProfileFile(Path("shared.vpf"));
    ASSERT_EQ(read.check, ProfileCheck::Valid);
    ExpectSharedTextFixtureTexts(*read.data, "loaded");

    ProfileStore store;
    ASSERT_EQ(LoadProfileFile(store, Path("shared.vpf")), 1);
    ASSERT_TRUE(SaveProfileToPath(store, Path("exported.vpf")));
    const QByteArray exported = ReadAll(Path("exported.vpf"));
    ProfileFileHeader header;
    std::memcpy(&header, exported.constData(), sizeof header);
    EXPECT_EQ(header.textAreaSize, 2 * 2 * (kSharedText.size() + 1));
    uint32_t pastTheEnd = 0;
    std::memcpy(&pastTheEnd, exported.constData() + 64 + kPastTheEnd * 16 + 4, 4);
    EXPECT_EQ(pastTheEnd, header.textAreaSize);
    read = ReadProfileFile(Path("exported.vpf"));
    ASSERT_EQ(read.check, ProfileCheck::Valid);
    ExpectSharedTextFixtureTexts(*read.data, "exported");
    ProfileStore again;
    ASSERT_EQ(LoadProfileFile(again, Path("exported.vpf")), 1);
    ASSERT_TRUE(SaveProfileToPath(again, Path("again.vpf")));
    EXPECT_EQ(ReadAll(Path("again.vpf")), exported);

    test::Rig rig('A');
    rig.device.SetActiveProfile(0);
    ASSERT_EQ(ImportProfile(rig.context, std::move(*ReadProfileFile(Path("shared.vpf")).data)),
              ProfileResult::Done);
    const QString working = m_env.Paths().WorkingProfileFile();
    EXPECT_EQ(ReadAll(working), exported);
    ProfileStore imported;
    ASSERT_EQ(LoadProfileFile(imported, working), 1);
    std::lock_guard guard(imported.Lock());
    ExpectSharedTextFixtureTexts(imported.Data(), "working file");
}

// A file that cannot be taken in whole leaves the store exactly as it was.
TEST_F(ProfileFileTest, AFailedLoadLeavesTheStoreAsItWas) {
    ProfileStore source;
    FillSample(source);
    ASSERT_TRUE(SaveProfileToPath(source, Path("full.vpf")));
    const QByteArray full = ReadAll(Path("full.vpf"));

    QByteArray tooManyMacros = full;
    const uint16_t count = 101;
    std::memcpy(tooManyMacros.data() + 14, &count, 2);

    const std::pair<const char*, QByteArray> cases[] = {
        {"short by one byte", full.left(full.size() - 1)},
        {"shorter than the image", full.left(1000)},
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
