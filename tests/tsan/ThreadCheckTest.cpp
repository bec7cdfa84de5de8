// The thread checker, with the project's suppressions, still sees a race that our code makes
// through a Qt value type: the suppressions leave out Qt's own internals, not every call into Qt.

#include "support/ChildProcess.h"

#include <QByteArray>

#include <cstdlib>

#include <gtest/gtest.h>

#if defined(__SANITIZE_THREAD__)
#define VANTOR_UNDER_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VANTOR_UNDER_TSAN 1
#endif
#endif

namespace vantor {
namespace {

constexpr int kWait = 30000;  // ms; a deadline, never reached when things work
constexpr int kTsanExitCode = 66;

TEST(ThreadCheck, ReportsRaceThroughQtValueType) {
#ifndef VANTOR_UNDER_TSAN
    GTEST_SKIP() << "only meaningful in the ThreadSanitizer build";
#endif
    // The child gets the suppressions ctest gives every test, named here so the check holds
    // when the test is run by hand too.
    const QByteArray suppressions = qgetenv("VANTOR_SOURCE_DIR") + "/tests/tsan-suppressions.txt";
    ASSERT_EQ(setenv("TSAN_OPTIONS", ("suppressions=" + suppressions).constData(), 1), 0);

    test::ChildProcess child;
    ASSERT_TRUE(child.Start(QStringLiteral(VANTOR_PLANTED_RACE_PROGRAM), {}));
    ASSERT_TRUE(child.WaitForExit(kWait));
    const std::string report = child.Stderr().toStdString();
    EXPECT_EQ(child.ExitCode(), kTsanExitCode) << report;
    EXPECT_NE(report.find("WARNING: ThreadSanitizer: data race"), std::string::npos) << report;
    // The race the child planted, not one of Qt's own.
    EXPECT_NE(report.find("QByteArray::fill"), std::string::npos) << report;
    EXPECT_NE(report.find("PlantedRace.cpp"), std::string::npos) << report;
}

}  // namespace
}  // namespace vantor
