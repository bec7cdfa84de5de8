// The update hand-off's order on the emulator's log: nothing is sent unless the chosen updater
// can be started, and the boot-mode request goes out before the updater starts.

#include "update/FirmwareUpdate.h"

#include "device/CommandReport.h"
#include "support/EmulatedLink.h"

#include "UpdaterScript.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vantor {
namespace {

class FirmwareUpdateTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(QDir().mkpath(Package()));
        ASSERT_TRUE(test::WriteUpdaterScript(Updater()));
    }
    QString Package() const { return folder.filePath("Package"); }
    QString Updater() const { return folder.filePath("updater.sh"); }

    // Starts nothing: notes what the keyboard had been sent when the start came.
    FirmwareUpdate WithStarter(bool startWorks) {
        return FirmwareUpdate(Package(), [this, startWorks](const QString& program,
                                                            const QString& where) {
            started = program;
            startFolder = where;
            requestsAtStart = keyboard.Requests();
            presentAtStart = keyboard.Keyboard().IsPlugged();
            return startWorks;
        });
    }

    QTemporaryDir folder;
    test::EmulatedLink keyboard;
    QString started;
    QString startFolder;
    std::vector<CommandReport> requestsAtStart;
    bool presentAtStart = true;
};

TEST_F(FirmwareUpdateTest, BootModeIsRequestedBeforeTheUpdaterStartsInThePackageFolder) {
    FirmwareUpdate update = WithStarter(true);
    update.Choose(Updater());
    EXPECT_EQ(update.Update(keyboard.Link()), UpdateResult::Started);
    EXPECT_EQ(started, Updater());
    EXPECT_EQ(startFolder, Package());
    ASSERT_EQ(requestsAtStart.size(), 1u);
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&requestsAtStart[0]);
    std::array<uint8_t, 64> expected{};
    expected[0] = 0x04;
    expected[3] = 0xEE;
    expected[4] = 0xEE;  // no checksum in bytes 1 and 2
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), bytes));
    EXPECT_FALSE(presentAtStart) << "the keyboard leaves the bus for its boot loader";
    EXPECT_TRUE(keyboard.Replies().empty());
    EXPECT_TRUE(update.Chosen().isEmpty());
}

TEST_F(FirmwareUpdateTest, AnUpdaterThatCannotBeStartedSendsNothing) {
    const QString notExecutable = folder.filePath("plain.sh");
    ASSERT_TRUE(test::WriteUpdaterScript(notExecutable, {}, false));
    for (const QString& path : {QString(), folder.filePath("missing"), Package(), notExecutable}) {
        SCOPED_TRACE(path.toStdString());
        FirmwareUpdate update = WithStarter(true);
        update.Choose(path);
        EXPECT_EQ(update.Update(keyboard.Link()), UpdateResult::NoUpdater);
        EXPECT_EQ(update.Chosen(), path) << "the choice stays";
        EXPECT_TRUE(started.isEmpty());
    }
    EXPECT_TRUE(keyboard.Requests().empty());
}

TEST_F(FirmwareUpdateTest, FailuresAfterTheChecksSayWhereTheyStopped) {
    {
        // No keyboard to write to: the updater is not started and stays chosen.
        keyboard.Link().SetDeviceOpen(false);
        FirmwareUpdate update = WithStarter(true);
        update.Choose(Updater());
        EXPECT_EQ(update.Update(keyboard.Link()), UpdateResult::BootModeFailed);
        EXPECT_TRUE(started.isEmpty());
        EXPECT_EQ(update.Chosen(), Updater());
        keyboard.Link().SetDeviceOpen(true);
    }
    {
        // A real start of a file the system cannot run: boot mode was entered regardless.
        const QString garbage = folder.filePath("garbage");
        ASSERT_TRUE(test::WriteUpdaterScript(garbage));
        QFile file(garbage);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(64, '\x7f'));
        file.close();
        FirmwareUpdate update(Package());
        update.Choose(garbage);
        EXPECT_EQ(update.Update(keyboard.Link()), UpdateResult::CannotStart);
        EXPECT_TRUE(update.Chosen().isEmpty());
        EXPECT_EQ(keyboard.Requests().size(), 1u);
    }
}

TEST_F(FirmwareUpdateTest, WithoutAPackageFolderTheUpdaterRunsInItsOwnFolder) {
    ASSERT_TRUE(QDir(Package()).removeRecursively());
    FirmwareUpdate update = WithStarter(true);
    update.Choose(Updater());
    EXPECT_EQ(update.Update(keyboard.Link()), UpdateResult::Started);
    EXPECT_EQ(startFolder, folder.path());
}

}  // namespace
}  // namespace vantor
