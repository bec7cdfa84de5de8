#pragma once

// A profile file for the profile commands' tests: assignments in all three profiles to keys
// the keyboard has, macros the assignments refer to, and launch-program and text-block keys
// with their texts, which only this computer holds. Its other records hold what a keyboard
// can hold: every block carries the extra keys' parameter words, as a block read from a
// keyboard does, and a macro key's play count is left to its macro.

#include "keyassign/MacroTables.h"
#include "keymodel/AssignmentRecords.h"
#include "keymodel/KeyTables.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileStore.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>

namespace vantor::test {

// The sample's launch-program and text-block keys: profile 0's R, profile 1's T, profile 2's G3.
inline constexpr int kSampleLaunchR = 0x13;
inline constexpr int kSampleTextT = 512 + 0x14;
inline constexpr int kSampleLaunchG3 = 1024 + 258;

// hostKeys false leaves out the launch-program and text-block keys: a profile the keyboard
// alone can hold.
inline void WriteSampleProfile(const QString& path, int macros = 3, int actions = 30,
                               bool hostKeys = true) {
    ProfileStore store;
    {
        std::lock_guard guard(store.Lock());
        StoreKeyRecords records = store.Data().Records();
        for (size_t block = 0; block < 3; ++block) {
            ClearBlock(records.subspan(block * kRecordsPerBlock).first<kRecordsPerBlock>());
        }
        records[0x1E] = {kAssignMacro, 0, 2, 0, 0};            // A plays the second macro
        records[0x10] = {kAssignFunction, 0, 3, 0, 0};         // Q
        records[0x12] = {kAssignKey, 0, 0x172, 0, 0};          // E: right button
        records[512 + 0x1F] = {kAssignMedia, 0, 6, 0, 0};      // S: volume up
        records[512 + 0x11] = {kAssignStopMacro, 0, 0, 0, 0};  // W
        records[1024 + 0x20] = {kAssignKey, 0, 0x15B, 0, 0};   // D: Left Win
        records[1024 + 0x21] = {kAssignDisabled, 0, 0, 0, 0};  // F
        if (hostKeys) {
            records[kSampleLaunchR] = {kAssignLaunch, 0, 0, 0, 0};
            store.Data().SetText(kSampleLaunchR, u"/usr/bin/xterm -e top");
            records[kSampleTextT] = {kAssignText, 0, 0, 0, 0};
            store.Data().SetText(kSampleTextT, u"Hello, \u4e16\u754c");
            records[kSampleLaunchG3] = {kAssignLaunch, ExtraKeyParameter(3), 0, 0, 0};
            store.Data().SetText(kSampleLaunchG3, u"/usr/bin/true");
        }
        MacroTable table = SampleTable(macros, actions, 10);
        store.Data().Macros().Replace({table.Records().begin(), table.Records().end()});
    }
    ASSERT_TRUE(SaveProfileToPath(store, path));
}

inline std::optional<ProfileData> ReadProfile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return ParseProfile(file);
}

// The key records of the three on-board profiles, the texts and the macros are the same.
inline void ExpectSameProfiles(const QString& expectedPath, const QString& actualPath) {
    const std::optional<ProfileData> expected = ReadProfile(expectedPath);
    const std::optional<ProfileData> actual = ReadProfile(actualPath);
    ASSERT_TRUE(expected && actual);
    for (int record = 0; record < kStoreKeyRecordCount; ++record) {
        EXPECT_TRUE(expected->Text(record) == actual->Text(record)) << "text of record " << record;
    }
    for (int record = 0; record < 3 * kRecordsPerBlock; ++record) {
        EXPECT_EQ(std::memcmp(&expected->Records()[record], &actual->Records()[record],
                              sizeof(KeyAssignment)),
                  0)
            << "record " << record << ": " << expected->Records()[record].type << ' '
            << expected->Records()[record].parameter << ' ' << expected->Records()[record].value
            << " / " << actual->Records()[record].type << ' ' << actual->Records()[record].parameter
            << ' ' << actual->Records()[record].value;
    }
    ASSERT_EQ(expected->Macros().Count(), actual->Macros().Count());
    for (int i = 0; i < expected->Macros().Count(); ++i) {
        EXPECT_EQ(std::memcmp(&expected->Macros().Records()[i], &actual->Macros().Records()[i],
                              sizeof(MacroRecord)),
                  0)
            << "macro " << i;
    }
}

}  // namespace vantor::test
