#include "device/BackendSelection.h"

#include "device/HidrawBackend.h"
#include "device/StatusCommands.h"
#include "device/TracingBackend.h"
#include "support/EmulatedLink.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(BackendSelection, TheEmulatorOnlyWhenAskedFor) {
    const QByteArray saved = qgetenv("VANTOR_SIM");
    qunsetenv("VANTOR_SIM");
    EXPECT_NE(dynamic_cast<HidrawBackend*>(SelectBackend().get()), nullptr);
    EXPECT_EQ(dynamic_cast<HidrawBackend*>(SelectBackend("/tmp/no-such.sock").get()), nullptr);
    qputenv("VANTOR_SIM", "/tmp/no-such.sock");
    const auto traced = SelectBackend(QString(), std::make_shared<ReportTrace>([](auto&) {}));
    EXPECT_NE(dynamic_cast<TracingBackend*>(traced.get()), nullptr);
    if (saved.isNull()) {
        qunsetenv("VANTOR_SIM");
    } else {
        qputenv("VANTOR_SIM", saved);
    }
}

TEST(BackendSelection, ATraceShowsEveryReportAsTheKeyboardsLogDoes) {
    QStringList lines;
    auto trace = std::make_shared<ReportTrace>([&](const QString& line) { lines << line; });
    test::EmulatedLink link(FirmwareVariant::B(), [&](std::shared_ptr<HidBackend> inner) {
        return std::make_shared<TracingBackend>(inner, trace);
    });
    ASSERT_TRUE(link.Connected());
    StatusBlock status{};
    ASSERT_EQ(ReadStatus(link.Link(), &status), CommandResult::Ok);
    QStringList logged;
    for (const ReportLogEntry& entry : link.Keyboard().Log()) {
        logged << entry.ToLine();
    }
    EXPECT_EQ(lines, logged);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("> 042f0003"));
}

}  // namespace
}  // namespace vantor
