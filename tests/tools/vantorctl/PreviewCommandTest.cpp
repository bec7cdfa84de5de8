// vantorctl preview: the lighting preview as numbers, with no keyboard anywhere.

#include "CtlExit.h"
#include "VantorCtl.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTextStream>

namespace vantor::ctl {
namespace {

struct PreviewRun {
    int exit = -1;
    QString out, err;
};

// vantorctl pointed at a socket no emulator listens on: the preview must not need it.
PreviewRun Preview(const QStringList& args) {
    QTemporaryDir folder;
    PreviewRun r;
    QTextStream o(&r.out), e(&r.err);
    const QStringList head{"--sim", folder.filePath("none.sock"), "preview"};
    r.exit = RunVantorCtl(head + args, o, e);
    return r;
}

TEST(PreviewCommand, PrintsEachTicksButtonsInIdOrder) {
    const PreviewRun r = Preview({"4", "--ticks", "2", "--backward"});
    ASSERT_EQ(r.exit, kExitOk) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    // Backward from 0: wheel entries 190, then 188, on every key of the grid.
    const QString colours[] = {"ff0002", "ff0006"};
    for (int t = 0; t < 2; ++t) {
        EXPECT_TRUE(lines[t].startsWith(QStringLiteral("tick %1: ").arg(t + 1)));
        const QStringList words = lines[t].split(' ').mid(2);
        ASSERT_EQ(words.size(), 104);
        int last = 0;
        for (const QString& word : words) {
            const int id = word.section('=', 0, 0).toInt();
            EXPECT_GT(id, last) << word.toStdString();
            last = id;
            EXPECT_EQ(word.section('=', 1), colours[t]) << word.toStdString();
        }
    }
}

TEST(PreviewCommand, PlainResetsAndEffect20) {
    PreviewRun r = Preview({"20", "--ticks", "2"});
    EXPECT_EQ(r.out, "tick 1:\ntick 2:\n");

    r = Preview({"17"});
    EXPECT_TRUE(r.out.startsWith("tick 1: 1000=plain 1001=plain ")) << r.out.toStdString();
    EXPECT_TRUE(r.out.endsWith(" 1174=plain 1199=plain 1200=plain\n")) << r.out.toStdString();
    EXPECT_EQ(r.out.count("=plain"), 116);
    EXPECT_FALSE(r.out.contains(" 1016=")) << "D1-D6 keep their look";
}

TEST(PreviewCommand, ColourAndSeedChooseTheColours) {
    PreviewRun r = Preview({"6", "--colour", "A0b0C0"});
    EXPECT_TRUE(r.out.contains(" 1010=a0b0c0 ")) << r.out.toStdString();

    const PreviewRun a = Preview({"10", "--random", "--seed", "5", "--ticks", "3"});
    const PreviewRun b = Preview({"10", "--random", "--seed", "5", "--ticks", "3"});
    const PreviewRun c = Preview({"10", "--random", "--seed", "6", "--ticks", "3"});
    EXPECT_EQ(a.out, b.out);
    EXPECT_NE(a.out, c.out);
}

TEST(PreviewCommand, BadArgumentsAreUsageErrors) {
    const QStringList cases[] = {
        {},
        {"x"},
        {"256"},
        {"4", "5"},
        {"4", "--ticks", "0"},
        {"4", "--ticks"},
        {"4", "--colour", "12345"},
        {"4", "--colour", "12345g"},
        {"4", "--seed", "-1"},
        {"4", "--fast"},
    };
    for (const QStringList& args : cases) {
        const PreviewRun r = Preview(args);
        EXPECT_EQ(r.exit, kExitUsage) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.startsWith("vantorctl: ")) << r.err.toStdString();
    }
}

}  // namespace
}  // namespace vantor::ctl
