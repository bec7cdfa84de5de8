// verify, diagnose and --json against the in-process keyboard, and diagnose on a fixture hidraw
// tree.

#include "CtlExit.h"
#include "VantorCtl.h"
#include "commands/DiagnoseReport.h"

#include "SampleProfile.h"
#include "SysfsTree.h"
#include "device/HidrawBackend.h"
#include "emulator/EmulatedInterface.h"
#include "emulator/EmulatorBackend.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <set>
#include <span>

#include <sys/xattr.h>

namespace vantor::ctl {
namespace {

class ReportCommandsTest : public ::testing::TestWithParam<char> {
protected:
    int Run(const QStringList& args) {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        return RunVantorCtl(args, o, e, [this](const QString&, std::shared_ptr<ReportTrace>) {
            return std::shared_ptr<HidBackend>(emulator);
        });
    }
    // The standard output as a JSON object; null when it is not one.
    const QJsonObject Json() const {
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(out.toUtf8(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << out.toStdString();
        return document.object();
    }
    QString Path(const QString& name) const { return env.Root() + '/' + name; }
    EmulatedKeyboard& Keyboard() { return emulator->Keyboard(); }
    // The commands of the requests the keyboard received, in order.
    std::vector<uint8_t> Commands() {
        std::vector<uint8_t> commands;
        for (const ReportLogEntry& e : Keyboard().Log()) {
            if (e.direction == ReportLogEntry::Direction::Received)
                commands.push_back(e.bytes[3]);
        }
        return commands;
    }
    void ReplaceWorkingFile(const QString& with) {
        const QString working = env.Paths().WorkingProfileFile();
        ASSERT_TRUE(QFile::remove(working));
        ASSERT_TRUE(QFile::copy(with, working));
    }

    test::TestEnvironment env;
    std::shared_ptr<EmulatorBackend> emulator =
        std::make_shared<EmulatorBackend>(*FirmwareVariant::FromLetter(GetParam()));
    QString out, err;
};

// The read commands: status, lighting, key map, macro area, default key matrix, key colours.
const std::set<uint8_t> kReadCommands{0x03, 0x05, 0x07, 0x09, 0x0F, 0x10};

// After an import the keyboard holds the working profile file, launch-program and text-block
// keys included (it keeps the key's own function, or sends nothing, for them). A working file
// replaced by another valid one differs in the keys and macros it changes, and only in those.
TEST_P(ReportCommandsTest, VerifyAgreesAfterImportAndNamesWhatAnotherFileChanges) {
    const QString imported = Path("in.vpf");
    test::WriteSampleProfile(imported);
    ASSERT_EQ(Run({"import", imported}), kExitOk) << err.toStdString();
    Keyboard().ClearLog();
    ASSERT_EQ(Run({"verify"}), kExitOk) << out.toStdString() << err.toStdString();
    EXPECT_TRUE(out.startsWith("the keyboard holds what ")) << out.toStdString();
    const std::vector<uint8_t> commands = Commands();
    EXPECT_FALSE(commands.empty());
    for (uint8_t command : commands) EXPECT_TRUE(kReadCommands.contains(command)) << int(command);

    // The same keys without the host-only ones: profile 1's T, a text-block key on the
    // keyboard (which sends nothing), has its own function in this file. R and G3 were
    // launch-program keys, which the keyboard holds as their own function: they agree.
    const QString other = Path("other.vpf");
    test::WriteSampleProfile(other, 3, 30, false);
    ReplaceWorkingFile(other);
    ASSERT_EQ(Run({"verify"}), kExitDiffers) << err.toStdString();
    EXPECT_EQ(out.toStdString(),
              QStringLiteral("the keyboard differs from %1:\nprofile 1, key T: keyboard is "
                             "disabled, file has its built-in function\n")
                  .arg(env.Paths().WorkingProfileFile())
                  .toStdString());
    ASSERT_EQ(Run({"--json", "verify"}), kExitDiffers);
    const QJsonObject json = Json();
    EXPECT_FALSE(json["agree"].toBool());
    ASSERT_EQ(json["keys"].toArray().size(), 1);
    const QJsonObject key = json["keys"][0].toObject();
    EXPECT_EQ(key["profile"].toInt(), 1);
    EXPECT_EQ(key["key"].toString(), "T");
    EXPECT_EQ(key["keyboard"].toString(), "is disabled");
    EXPECT_EQ(key["file"].toString(), "has its built-in function");
    EXPECT_TRUE(json["macros"].toArray().isEmpty());

    // Two macros instead of three, each of other actions: every slot differs, while A still
    // plays the second macro, in slot 1, and so agrees.
    test::WriteSampleProfile(other, 2, 12);
    ReplaceWorkingFile(other);
    ASSERT_EQ(Run({"verify"}), kExitDiffers) << err.toStdString();
    for (const char* line : {"\nmacro slot 0: keyboard \"", "\nmacro slot 1: keyboard \"",
                             "\nmacro slot 2: keyboard \""}) {
        EXPECT_TRUE(out.contains(line)) << line << '\n' << out.toStdString();
    }
    EXPECT_TRUE(out.contains("; file no macro\n")) << out.toStdString();
    EXPECT_FALSE(out.contains("key A")) << out.toStdString();
    ASSERT_EQ(Run({"verify", "--json"}), kExitDiffers);
    const QJsonArray macros = Json()["macros"].toArray();
    ASSERT_EQ(macros.size(), 3);
    EXPECT_EQ(macros[2]["slot"].toInt(), 2);
    EXPECT_TRUE(macros[2]["file"].isNull());
    EXPECT_EQ(macros[0]["file"]["actions"].toArray().size(), 12);
    EXPECT_EQ(macros[0]["keyboard"]["actions"].toArray().size(), 30);
}

// A key changed on the keyboard behind the working file's back: the macro key names both the
// file's macro id and the slot the keyboard would play.
TEST_P(ReportCommandsTest, VerifyNamesAKeyChangedOnTheKeyboard) {
    const QString imported = Path("in.vpf");
    test::WriteSampleProfile(imported);
    ASSERT_EQ(Run({"import", imported}), kExitOk) << err.toStdString();
    Keyboard().EditFirmware([](KeyboardFirmware& firmware) {
        const auto matrix = firmware.DefaultKeyMatrix();
        std::span<uint8_t> maps = firmware.MutableArea(FirmwareArea::KeyMaps);
        for (size_t p = 0; p + 2 < matrix.size(); p += 3) {
            if (matrix[p] == 2 && matrix[p + 1] == 2 && matrix[p + 2] == 0x04) {  // A
                std::ranges::copy(std::array<uint8_t, 3>{2, 2, 0x05}, maps.begin() + p);
            }
        }
    });
    ASSERT_EQ(Run({"verify"}), kExitDiffers);
    EXPECT_TRUE(
        out.endsWith(":\nprofile 0, key A: keyboard sends B, file plays macro 2 (slot 1)\n"))
        << out.toStdString();
}

TEST_P(ReportCommandsTest, VerifyWithoutAWorkingFileAsksNothingOfTheKeyboard) {
    EXPECT_EQ(Run({"verify"}), kExitFileError);
    EXPECT_TRUE(err.contains("the working profile file")) << err.toStdString();
    EXPECT_TRUE(err.contains("no such file")) << err.toStdString();
    QDir().mkpath(QFileInfo(env.Paths().WorkingProfileFile()).path());
    QFile broken(env.Paths().WorkingProfileFile());
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a profile");
    broken.close();
    EXPECT_EQ(Run({"verify"}), kExitInvalidFile);
    EXPECT_TRUE(Keyboard().Log().empty());
}

TEST_P(ReportCommandsTest, JsonOutputsParseAndCarryTheirValues) {
    ASSERT_EQ(Run({"switch", "2"}), kExitOk);
    for (const QStringList& args :
         {QStringList{"--json", "status"}, QStringList{"status", "--json"}}) {
        ASSERT_EQ(Run(args), kExitOk) << err.toStdString();
        const QJsonObject status = Json();
        EXPECT_EQ(status["activeProfile"].toInt(-1), 2);
        EXPECT_EQ(status["macroCapacityBytes"].toInt(), 8192);
        EXPECT_EQ(status["effects"][0].toInt(), 1);
    }
    ASSERT_EQ(Run({"--json", "list"}), kExitOk);
    const QJsonObject keyboard = Json()["keyboards"][0].toObject();
    EXPECT_EQ(keyboard["variant"].toString(), QString(QChar(GetParam())));
    EXPECT_TRUE(keyboard["path"].toString().contains("mi_02"));

    ASSERT_EQ(Run({"set-lighting", "1", "brightness=3", "direction=left", "colour=102030"}),
              kExitOk);
    ASSERT_EQ(Run({"--json", "lighting", "1"}), kExitOk);
    const QJsonObject lighting = Json();
    EXPECT_EQ(lighting["brightness"].toInt(), 3);
    EXPECT_EQ(lighting["direction"].toString(), "left");
    EXPECT_EQ(lighting["colour"].toString(), "102030");

    test::WriteSampleProfile(Path("in.vpf"), 2, 4);
    ASSERT_EQ(Run({"import", Path("in.vpf")}), kExitOk);
    ASSERT_EQ(Run({"--json", "macros"}), kExitOk);
    const QJsonArray macros = Json()["macros"].toArray();
    ASSERT_EQ(macros.size(), 2);
    EXPECT_EQ(macros[1]["slot"].toInt(), 1);
    EXPECT_EQ(macros[1]["actions"].toArray().size(), 4);
    EXPECT_TRUE(macros[1]["actions"][0]["press"].isBool());

    // Errors still go to standard error, with their codes; a command without JSON says so.
    emulator->Unplug();
    EXPECT_EQ(Run({"--json", "status"}), kExitNoKeyboard);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_TRUE(err.contains("no keyboard found")) << err.toStdString();
    EXPECT_EQ(Run({"--json", "switch", "1"}), kExitUsage);
    EXPECT_TRUE(err.contains("switch has no --json output")) << err.toStdString();
}

TEST_P(ReportCommandsTest, DiagnoseOnlyReadsAndReportsTheInterfacesAndStatus) {
    ASSERT_EQ(Run({"switch", "1"}), kExitOk);
    Keyboard().ClearLog();
    ASSERT_EQ(Run({"diagnose"}), kExitOk) << err.toStdString();
    const std::vector<uint8_t> commands = Commands();
    EXPECT_FALSE(commands.empty());
    for (uint8_t command : commands) EXPECT_TRUE(kReadCommands.contains(command)) << int(command);
    for (const char* says :
         {"qtRuntime: ", "sessionType: ", "trayHost: ", "backend: emulator",
          "why: chosen: ", "why: the consumer interface", "usagePage: ff1c",
          "outputReportBytes: 64", "activeProfile: 1", "hex: ", "problems: none found"}) {
        EXPECT_TRUE(out.contains(says)) << says << '\n' << out.toStdString();
    }

    ASSERT_EQ(Run({"--json", "diagnose", "--output", Path("report.json")}), kExitOk);
    EXPECT_TRUE(out.isEmpty());
    QFile file(Path("report.json"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject report = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonArray nodes = report["nodes"].toArray();
    ASSERT_EQ(
        std::ranges::count_if(nodes, [](const QJsonValue& n) { return n["chosen"].toBool(); }), 1);
    EXPECT_EQ(report["status"]["activeProfile"].toInt(), 1);
    EXPECT_EQ(report["status"]["hex"].toString().size(), 44 * 3 - 1);

    // No keyboard: the report still comes, and says what it looked for.
    emulator->Unplug();
    ASSERT_EQ(Run({"diagnose"}), kExitOk) << err.toStdString();
    EXPECT_TRUE(out.contains("ids: 0c45:5004 320f:5000")) << out.toStdString();
    EXPECT_TRUE(out.contains("interfaces with the keyboard's IDs: none")) << out.toStdString();
    EXPECT_TRUE(out.contains("read: no")) << out.toStdString();
    EXPECT_EQ(Run({"diagnose", "--output"}), kExitUsage);
}

INSTANTIATE_TEST_SUITE_P(Variants, ReportCommandsTest, ::testing::Values('A', 'B'));

// A POSIX access ACL attribute: version 2, then (tag, permissions, id) entries.
QByteArray Acl(std::initializer_list<AclEntry> entries) {
    QByteArray bytes("\x02\x00\x00\x00", 4);
    for (const AclEntry& e : entries) {
        const uint8_t entry[8] = {
            uint8_t(e.tag), uint8_t(e.tag >> 8), uint8_t(e.permissions), 0,
            uint8_t(e.id),  uint8_t(e.id >> 8),  uint8_t(e.id >> 16),    uint8_t(e.id >> 24)};
        bytes.append(reinterpret_cast<const char*>(entry), 8);
    }
    return bytes;
}

// The keyboard's two interfaces as hidraw nodes the user (not their owner, in no group of
// theirs) may not open: diagnose names the node, the permission problem and the udev rule.
// An ACL entry for the user, as udev's uaccess tag gives one, lets them in unless the mask
// takes write away.
TEST(DiagnoseHidrawTest, NamesAPermissionProblemAndItsFix) {
    test::TestEnvironment env;
    test::SysfsTree tree;
    ASSERT_NO_FATAL_FAILURE(tree.AddNode(4, 0x0C45, 0x5004, 0x0201,
                                         EmulatedReportDescriptor(EmulatedInterface::Consumer)));
    ASSERT_NO_FATAL_FAILURE(tree.AddNode(5, 0x0C45, 0x5004, 0x0201,
                                         EmulatedReportDescriptor(EmulatedInterface::Vendor)));
    const QByteArray node = QFile::encodeName(tree.NodePath(5));
    ASSERT_TRUE(QFile::setPermissions(tree.NodePath(5), QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_TRUE(QFile::setPermissions(tree.NodePath(4), QFile::ReadOwner | QFile::WriteOwner));

    const auto diagnose = [&]() -> const QJsonObject {
        QString out, err;
        QTextStream o(&out), e(&err);
        CtlContext context({}, o, e,
                           std::make_shared<HidrawBackend>(tree.SysRoot(), tree.DevRoot()), {});
        context.SetReplyTimeout(10);  // a fixture node does not answer as a keyboard
        DiagnoseSetup setup{true,
                            tree.SysRoot(),
                            tree.DevRoot(),
                            UserIdentity{65534, {65534}},
                            {env.Root() + "/rules.d"}};
        return CollectDiagnosis(context, setup);
    };
    const QJsonObject report = diagnose();
    const QJsonArray nodes = report["nodes"].toArray();
    ASSERT_EQ(nodes.size(), 2);
    EXPECT_EQ(nodes[0]["interfaceNumber"].toInt(-1), 0);
    EXPECT_EQ(nodes[0]["usagePage"].toString(), "000c");
    EXPECT_EQ(nodes[1]["usagePage"].toString(), "ff1c");
    EXPECT_EQ(nodes[1]["outputReportBytes"].toInt(), 64);
    EXPECT_EQ(report["access"]["mode"].toString(), "0600");
    EXPECT_FALSE(report["access"]["mayReadWrite"].toBool());
    EXPECT_FALSE(report["udevRule"]["installed"].toBool());
    const QString text = DiagnosisText(report);
    EXPECT_TRUE(
        text.contains(QStringLiteral("permission denied: user 65534 may not read and write %1")
                          .arg(tree.NodePath(5))))
        << text.toStdString();
    EXPECT_TRUE(
        text.contains("install the udev rule 70-vantor-keyboard.rules into /etc/udev/rules.d"))
        << text.toStdString();

    // The command finds the hidraw backend's roots itself.
    QString out, err;
    QTextStream o(&out), e(&err);
    ASSERT_EQ(RunVantorCtl({"--reply-timeout", "10", "--json", "diagnose"}, o, e,
                           [&](const QString&, std::shared_ptr<ReportTrace>) {
                               return std::make_shared<HidrawBackend>(tree.SysRoot(),
                                                                      tree.DevRoot());
                           }),
              kExitOk)
        << err.toStdString();
    const QJsonObject fromCommand = QJsonDocument::fromJson(out.toUtf8()).object();
    EXPECT_EQ(fromCommand["lookedFor"]["backend"].toString(), "hidraw");
    EXPECT_EQ(fromCommand["lookedFor"]["sysfs"].toString(), tree.SysRoot() + "/class/hidraw");
    EXPECT_EQ(fromCommand["nodes"].toArray().size(), 2);

    // With the rule installed the fix is to plug the keyboard in again at the seat.
    QDir().mkpath(env.Root() + "/rules.d");
    QFile rule(env.Root() + "/rules.d/70-vantor-keyboard.rules");
    ASSERT_TRUE(rule.open(QIODevice::WriteOnly));
    rule.close();
    const QJsonObject withRule = diagnose();
    EXPECT_TRUE(withRule["udevRule"]["installed"].toBool());
    EXPECT_TRUE(DiagnosisText(withRule).contains("the udev rule is installed; unplug and plug in"));

    const struct {
        QByteArray acl;
        bool may;
        const char* decidedBy;
    } cases[] = {
        {Acl({{AclEntry::UserObject, 6, 0},
              {AclEntry::User, 6, 65534},
              {AclEntry::GroupObject, 0, 0},
              {AclEntry::Mask, 6, 0},
              {AclEntry::Other, 0, 0}}),
         true, "user:65534:rw-"},
        {Acl({{AclEntry::UserObject, 6, 0},
              {AclEntry::User, 6, 65534},
              {AclEntry::GroupObject, 0, 0},
              {AclEntry::Mask, 4, 0},
              {AclEntry::Other, 0, 0}}),
         false, "user:65534:rw-"},
        {Acl({{AclEntry::UserObject, 6, 0},
              {AclEntry::GroupObject, 0, 0},
              {AclEntry::Group, 6, 65534},
              {AclEntry::Mask, 6, 0},
              {AclEntry::Other, 0, 0}}),
         true, "group:65534:rw-"},
    };
    for (const auto& c : cases) {
        if (::setxattr(node.constData(), "system.posix_acl_access", c.acl.constData(),
                       size_t(c.acl.size()), 0) != 0) {
            GTEST_SKIP() << "the test folder's file system keeps no ACLs";
        }
        const QJsonObject withAcl = diagnose();
        EXPECT_EQ(withAcl["access"]["mayReadWrite"].toBool(), c.may) << c.decidedBy;
        EXPECT_EQ(withAcl["access"]["decidedBy"].toString(), c.decidedBy);
        EXPECT_EQ(withAcl["access"]["acl"].toArray().size(), 5);  // as getfacl lists them
        EXPECT_EQ(DiagnosisText(withAcl).contains("permission denied"), !c.may) << c.decidedBy;
    }
}

}  // namespace
}  // namespace vantor::ctl
