#include "shell/CommandLine.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

struct CommandLineCase {
    QStringList arguments;
    bool kill;
    bool start;
    std::optional<QString> simSocket;
};

class CommandLineTest : public testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, SwitchesMatchInAnyCaseAndOtherArgumentsAreIgnored) {
    const CommandLineCase& c = GetParam();
    const CommandLine parsed = ParseCommandLine(c.arguments);
    EXPECT_EQ(parsed.kill, c.kill);
    EXPECT_EQ(parsed.start, c.start);
    EXPECT_EQ(parsed.simSocket, c.simSocket);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineTest,
    testing::Values(
        CommandLineCase{{}, false, false, std::nullopt},
        CommandLineCase{{"/Kill"}, true, false, std::nullopt},
        CommandLineCase{{"/kill"}, true, false, std::nullopt},
        CommandLineCase{{"/KILL"}, true, false, std::nullopt},
        CommandLineCase{{"/start"}, false, true, std::nullopt},
        CommandLineCase{{"/sTaRt", "/kIlL"}, true, true, std::nullopt},
        CommandLineCase{{"-Kill", "Kill", "/Killer", "/Start2", "x"}, false, false, std::nullopt},
        CommandLineCase{{"--sim", "/tmp/kb.sock", "/Start"}, false, true, QString("/tmp/kb.sock")},
        CommandLineCase{{"--sim", "/START"}, false, true, QString()},
        CommandLineCase{{"--sim"}, false, false, QString()},
        CommandLineCase{{"--sim=/run/s.sock"}, false, false, QString("/run/s.sock")}));

}  // namespace
}  // namespace vantor
