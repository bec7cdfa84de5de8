#include "shell/DaemonLauncher.h"
#include "shell/NamedEvents.h"
#include "support/WaitFor.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <semaphore.h>
#include <unistd.h>

namespace vantor {
namespace {

bool SemaphoreExists(const QString& name) {
    sem_t* semaphore = ::sem_open(QFile::encodeName(u'/' + name).constData(), 0);
    if (semaphore == SEM_FAILED) return false;
    ::sem_close(semaphore);
    return true;
}

TEST(NamedEventsTest, NamesFollowTheProgramsFormat) {
    NamedEvents events;
    EXPECT_EQ(events.Name(1), "Vantor_Event_Main_01");
    EXPECT_EQ(events.Name(9), "Vantor_Event_Main_09");
    EXPECT_EQ(events.Name(99), "Vantor_Event_Main_99");
    EXPECT_EQ(events.Name(212), "Vantor_Event_Main_212");
}

TEST(NamedEventsTest, ExistWhileOpenAndAreRemovedOnClose) {
    // A prefix of this test's own, so that a running program is not disturbed.
    const QString prefix = QStringLiteral("VantorTest%1_").arg(::getpid());
    for (const bool inBackground : {false, true}) {
        NamedEvents events(prefix);
        if (inBackground) {
            events.CreateInBackground();
            ASSERT_EQ(events.CreatedCount(), NamedEvents::kCount) << "waits for the creation";
        } else {
            ASSERT_EQ(events.Create(), NamedEvents::kCount);
        }
        EXPECT_TRUE(SemaphoreExists(prefix + "Main_01"));
        EXPECT_TRUE(SemaphoreExists(prefix + "Main_212"));
        EXPECT_FALSE(SemaphoreExists(prefix + "Main_213"));

        sem_t* first = ::sem_open(QFile::encodeName("/" + prefix + "Main_01").constData(), 0);
        int value = -1;
        ::sem_getvalue(first, &value);
        ::sem_close(first);
        EXPECT_EQ(value, 0) << "created not signalled";

        events.Close();
        EXPECT_FALSE(SemaphoreExists(prefix + "Main_01"));
        EXPECT_FALSE(SemaphoreExists(prefix + "Main_212"));
        EXPECT_EQ(events.CreatedCount(), 0);
    }
    // Closed while the creation may still run: it waits, and nothing is left behind.
    {
        NamedEvents events(prefix);
        events.CreateInBackground();
    }
    EXPECT_FALSE(SemaphoreExists(prefix + "Main_01"));
    EXPECT_FALSE(SemaphoreExists(prefix + "Main_212"));
}

TEST(DaemonLauncherTest, StartsThePresentDaemonAndIgnoresAMissingOne) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString daemon = folder.filePath("senvik");
    const QString marker = folder.filePath("ran");
    EXPECT_FALSE(LaunchDaemon(daemon));

    QFile script(daemon);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\necho \"$#\" > '%1'\n").arg(marker).toUtf8());
    script.close();
    EXPECT_FALSE(LaunchDaemon(daemon)) << "not executable";

    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_TRUE(LaunchDaemon(daemon));
    ASSERT_TRUE(test::WaitFor([&] { return QFile::exists(marker) && QFile(marker).size() > 0; }));
    QFile ran(marker);
    ASSERT_TRUE(ran.open(QIODevice::ReadOnly));
    EXPECT_EQ(ran.readAll().trimmed(), "0") << "started with no arguments";
}

}  // namespace
}  // namespace vantor
