#include "macros/MacroRecord.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace vantor {
namespace {

uint16_t U16At(const std::vector<uint8_t>& bytes, size_t offset)
{
    return static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset)
{
    return U16At(bytes, offset) | static_cast<uint32_t>(U16At(bytes, offset + 2)) << 16;
}

std::vector<uint8_t> BytesOf(const MacroRecord& record)
{
    const auto* begin = reinterpret_cast<const uint8_t*>(&record);
    return {begin, begin + sizeof record};
}

TEST(MacroRecordTest, FieldsLieAtTheirFileOffsetsInLittleEndian)
{
    auto record = std::make_unique<MacroRecord>();
    record->SetName(QStringLiteral("Ab"));
    record->cycleCount = 0xC1;
    record->reserved = 0x5E;
    record->pending = 0x0102;
    record->mode = 0x0304;
    record->id = 0x0506;
    record->actionCount = 0x0708;
    record->padding = 0x090A;
    record->actions[0] = {0x11223344, 0x0171, 1};
    record->actions[kMaxMacroActions - 1] = {40000, 0x1E, 0};

    const std::vector<uint8_t> bytes = BytesOf(*record);
    ASSERT_EQ(bytes.size(), 32512u);
    EXPECT_EQ(U16At(bytes, 0), u'A');
    EXPECT_EQ(U16At(bytes, 2), u'b');
    EXPECT_EQ(U16At(bytes, 4), 0);
    EXPECT_EQ(bytes[500], 0xC1);
    EXPECT_EQ(bytes[501], 0x5E);
    EXPECT_EQ(U16At(bytes, 502), 0x0102);
    EXPECT_EQ(U16At(bytes, 504), 0x0304);
    EXPECT_EQ(U16At(bytes, 506), 0x0506);
    EXPECT_EQ(U16At(bytes, 508), 0x0708);
    EXPECT_EQ(U16At(bytes, 510), 0x090A);
    EXPECT_EQ(U32At(bytes, 512), 0x11223344u);
    EXPECT_EQ(U16At(bytes, 516), 0x0171);
    EXPECT_EQ(U16At(bytes, 518), 1);
    const size_t last = 512 + 8 * (kMaxMacroActions - 1);
    EXPECT_EQ(last + 8, bytes.size());
    EXPECT_EQ(U32At(bytes, last), 40000u);
    EXPECT_EQ(U16At(bytes, last + 4), 0x1E);
}

// Every byte survives a trip through a real file, including what lies past the name's
// terminator and in action slots past the action count.
TEST(MacroRecordTest, FileRoundTripKeepsEveryByte)
{
    std::vector<MacroRecord> written(2);
    std::mt19937 random(7);
    for (MacroRecord& record : written) {
        auto* bytes = reinterpret_cast<uint8_t*>(&record);
        for (size_t i = 0; i < sizeof record; ++i)
            bytes[i] = static_cast<uint8_t>(random());
    }

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("macros.bin")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const qint64 size = static_cast<qint64>(written.size() * sizeof(MacroRecord));
    ASSERT_EQ(file.write(reinterpret_cast<const char*>(written.data()), size), size);
    file.close();

    std::vector<MacroRecord> read(2);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    ASSERT_EQ(file.read(reinterpret_cast<char*>(read.data()), size), size);
    EXPECT_EQ(std::memcmp(read.data(), written.data(), static_cast<size_t>(size)), 0);
}

TEST(MacroRecordTest, NamesAreCutToTheCapacityAndReadOnlyUpToIt)
{
    const QString face = QString::fromUtf16(u"\U0001F600");  // one surrogate pair
    struct Case {
        const char* what;
        QString stored;
        QString read;
    };
    const Case cases[] = {
        {"short", QStringLiteral("Macro"), QStringLiteral("Macro")},
        {"empty", QString(), QString()},
        {"exactly full", QString(249, u'x'), QString(249, u'x')},
        {"too long", QString(300, u'y'), QString(249, u'y')},
        {"pair across the cut", QString(248, u'z') + face, QString(248, u'z')},
        {"pair just fits", QString(247, u'z') + face, QString(247, u'z') + face},
        {"embedded terminator", QStringLiteral("ab") + QChar(0) + QStringLiteral("cd"),
         QStringLiteral("ab")},
    };
    auto record = std::make_unique<MacroRecord>();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        record->SetName(QString(260, u'#'));  // stale characters must not survive
        record->SetName(c.stored);
        EXPECT_EQ(record->Name(), c.read);
        EXPECT_EQ(record->NameLength(), c.read.size());
        for (qsizetype i = c.read.size(); i <= kMacroNameCapacity; ++i)
            ASSERT_EQ(record->name[i], u'\0') << "unit " << i;
    }

    // A record from a file whose name has no terminator at all.
    std::fill(std::begin(record->name), std::end(record->name), u'q');
    EXPECT_EQ(record->Name(), QString(249, u'q'));
    EXPECT_EQ(record->NameLength(), 249);
}

TEST(MacroRecordTest, AddActionNormalisesAndStopsAt4000)
{
    auto record = std::make_unique<MacroRecord>();
    EXPECT_TRUE(record->AddAction({120, 0x1E, kMacroPress}));
    EXPECT_TRUE(record->AddAction({40001, 0x1E, kMacroRelease}));
    EXPECT_TRUE(record->AddAction({0xFFFFFFFF, 0x171, 2}));
    EXPECT_TRUE(record->AddAction({40000, 0x172, 0xFFFF}));
    ASSERT_EQ(record->actionCount, 4);
    EXPECT_EQ(record->actions[0], (MacroAction{120, 0x1E, kMacroPress}));
    EXPECT_EQ(record->actions[1], (MacroAction{40000, 0x1E, kMacroRelease}));
    EXPECT_EQ(record->actions[2], (MacroAction{40000, 0x171, kMacroPress}));
    EXPECT_EQ(record->actions[3], (MacroAction{40000, 0x172, kMacroPress}));

    while (record->actionCount < kMaxMacroActions)
        ASSERT_TRUE(record->AddAction({10, 0x1F, kMacroPress}));
    const std::vector<uint8_t> full = BytesOf(*record);
    EXPECT_FALSE(record->AddAction({20, 0x20, kMacroRelease}));
    EXPECT_EQ(BytesOf(*record), full);
}

TEST(MacroRecordTest, ActionsNeverReachPastTheRecord)
{
    auto record = std::make_unique<MacroRecord>();
    record->actionCount = 0xFFFF;  // as a damaged profile file may hold
    EXPECT_EQ(record->UsedActionCount(), kMaxMacroActions);
    EXPECT_EQ(record->Actions().size(), static_cast<size_t>(kMaxMacroActions));
    EXPECT_FALSE(record->AddAction({}));
}

TEST(MacroRecordTest, DirectionTexts)
{
    EXPECT_EQ(DirectionText(kMacroPress), QString::fromUtf16(u"\u2193"));
    EXPECT_EQ(DirectionText(kMacroRelease), QString::fromUtf16(u"  \u2191"));
    EXPECT_EQ(DirectionText(2), DirectionText(kMacroPress));
}

}  // namespace
}  // namespace vantor
