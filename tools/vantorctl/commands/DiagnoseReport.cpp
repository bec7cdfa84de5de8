#include "commands/DiagnoseReport.h"

#include "CtlExit.h"
#include "commands/CtlJson.h"

#include "device/DeviceVariant.h"
#include "device/HidDevice.h"
#include "device/HidPath.h"
#include "device/HidReportDescriptor.h"
#include "device/InterfaceMatch.h"
#include "device/StatusCommands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>
#include <QSysInfo>
#include <QtGlobal>

#include <algorithm>

#ifdef VANTOR_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#endif

#ifndef VANTOR_VERSION
#define VANTOR_VERSION "unknown"
#endif

namespace vantor::ctl {

namespace {

const char kRuleFile[] = "70-vantor-keyboard.rules";
constexpr int kStatusReplyMs = 150;  // each of the four tries of the status read

QString Hex(uint value, int width) {
    return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0'));
}

// The emulator numbers its interfaces in its paths, with "mi_NN".
const QRegularExpression& InterfaceMarker() {
    static const QRegularExpression marker(QStringLiteral("[&#]mi_(\\d+)"));
    return marker;
}

QString SessionType() {
    const QString type = qEnvironmentVariable("XDG_SESSION_TYPE");
    if (!type.isEmpty())
        return type;
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        return QStringLiteral("wayland");
    if (qEnvironmentVariableIsSet("DISPLAY"))
        return QStringLiteral("x11");
    return QStringLiteral("none");
}

// Whether a StatusNotifier host (the tray the program's icon shows in) is on the session bus.
QString TrayHost() {
#ifdef VANTOR_HAVE_DBUS
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr)
        return QStringLiteral("no session bus");
    return bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher"))
               ? QStringLiteral("yes")
               : QStringLiteral("no StatusNotifier host (an X11 system tray is not checked)");
#else
    return QStringLiteral("unknown (built without D-Bus)");
#endif
}

QJsonObject SystemPart() {
    return {{"kernel", QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion()},
            {"os", QSysInfo::prettyProductName()},
            {"sessionType", SessionType()},
            {"display", qEnvironmentVariable("DISPLAY")},
            {"waylandDisplay", qEnvironmentVariable("WAYLAND_DISPLAY")},
            {"trayHost", TrayHost()}};
}

// The interface's usage and report sizes, as a collection of its descriptor gives them.
void AddCaps(QJsonObject* node, const HidCaps& caps) {
    node->insert(QStringLiteral("usagePage"), Hex(caps.usagePage, 4));
    node->insert(QStringLiteral("usage"), Hex(caps.usage, 2));
    node->insert(QStringLiteral("inputReportBytes"), int(caps.inputReportByteLength));
    node->insert(QStringLiteral("outputReportBytes"), int(caps.outputReportByteLength));
    node->insert(QStringLiteral("featureReportBytes"), int(caps.featureReportByteLength));
}

// The caps of a node that did not open, from its descriptor in sysfs.
bool AddSysfsCaps(QJsonObject* node, const DiagnoseSetup& setup, const QString& path) {
    const QString name = QFileInfo(HidPath::Locator(path)).fileName();
    const std::optional<HidReportDescriptor> descriptor =
        HidReportDescriptor::Parse(HidrawSysfsDescriptor(setup.sysfsRoot, name));
    const int collection = HidPath::CollectionIndex(path);
    if (!descriptor || collection < 0 || size_t(collection) >= descriptor->Collections().size()) {
        return false;
    }
    AddCaps(node, descriptor->Collections()[size_t(collection)].Caps());
    return true;
}

QString WhyNotVendor(const HidDevice& device) {
    if (IsConsumerInterface(device)) {
        return QStringLiteral(
            "the consumer interface: it carries the keyboard's events, not "
            "its commands");
    }
    if (device.UsagePage() != kVendorUsagePage || device.Usage() != kVendorUsage) {
        return QStringLiteral("not the vendor interface (usage page ff1c, usage 92)");
    }
    return QStringLiteral("protocol generation %1 in its version, not %2")
        .arg(device.VersionNumber() >> 8)
        .arg(kVendorVersionHighByte);
}

QJsonObject AccessPart(const QString& node, const UserIdentity& user) {
    const NodeAccess access = ReadNodeAccess(node, user);
    QJsonArray acl;
    for (const AclEntry& entry : access.acl) acl.append(entry.Text());
    return {{"node", node},
            {"exists", access.exists},
            {"owner", QStringLiteral("%1 (%2)").arg(access.ownerName).arg(access.owner)},
            {"group", QStringLiteral("%1 (%2)").arg(access.groupName).arg(access.group)},
            {"mode", QStringLiteral("%1").arg(access.mode, 4, 8, QLatin1Char('0'))},
            {"acl", acl},
            {"user", int(user.uid)},
            {"decidedBy", access.decidingEntry},
            {"mayReadWrite", access.mayReadWrite}};
}

// What gives the user access to the keyboard's nodes, given whether the rule is installed.
QString RuleFix(bool installed) {
    if (installed) {
        return QStringLiteral(
            "the udev rule is installed; unplug and plug in the keyboard, and "
            "log in at the seat (not over ssh) so that its uaccess tag gives "
            "you access");
    }
    return QStringLiteral(
               "install the udev rule %1 into /etc/udev/rules.d (or install the "
               "package), run 'udevadm control --reload' and 'udevadm trigger "
               "--subsystem-match=hidraw', then unplug and plug in the keyboard (the "
               "README tells how)")
        .arg(QLatin1String(kRuleFile));
}

QJsonObject UdevPart(const QStringList& folders) {
    QJsonArray files;
    for (const QString& folder : folders) {
        const QString path = folder + QLatin1Char('/') + QLatin1String(kRuleFile);
        if (QFileInfo::exists(path))
            files.append(path);
    }
    return {{"installed", !files.isEmpty()},
            {"files", files},
            {"lookedIn", QJsonArray::fromStringList(folders)}};
}

// The status block as read through the same search and link as every other command; an
// error is the text that command would have given.
QJsonObject StatusPart(CtlContext& context) {
    QString errors;
    QString ignored;
    QTextStream err(&errors);
    QTextStream out(&ignored);
    CtlContext probe({}, out, err,
                     std::shared_ptr<HidBackend>(&context.Backend(), [](HidBackend*) {}),
                     context.DevicePath(), context.SimSocket());
    // A keyboard that answers does so within milliseconds; one that does not should not keep
    // the report waiting for the full time of a command.
    const int asked = context.ReplyTimeout();
    probe.SetReplyTimeout(asked > 0 ? std::min(asked, kStatusReplyMs) : kStatusReplyMs);
    int code = kExitOk;
    DeviceLink* link = probe.Connect(&code);
    StatusBlock status{};
    if (link != nullptr) {
        const CommandResult read = ReadStatus(*link, &status);
        if (read != CommandResult::Ok)
            code = probe.FailCommand(read, QStringLiteral("read status"));
    }
    err.flush();
    if (code != kExitOk) {
        return {{"read", false}, {"error", errors.trimmed().remove(QStringLiteral("vantorctl: "))}};
    }
    const QByteArray bytes(reinterpret_cast<const char*>(status.data()), qsizetype(status.size()));
    QJsonObject part = StatusBlockJson(status);
    part.insert(QStringLiteral("read"), true);
    part.insert(QStringLiteral("path"), link->VendorDevice().DevicePath());
    part.insert(QStringLiteral("firmwareVersion"), Hex(link->VendorDevice().VersionNumber(), 4));
    part.insert(QStringLiteral("hex"), QString::fromLatin1(bytes.toHex(' ')));
    return part;
}

}  // namespace

QStringList SystemUdevRuleFolders() {
    return {QStringLiteral("/etc/udev/rules.d"), QStringLiteral("/run/udev/rules.d"),
            QStringLiteral("/usr/local/lib/udev/rules.d"), QStringLiteral("/usr/lib/udev/rules.d"),
            QStringLiteral("/lib/udev/rules.d")};
}

QJsonObject CollectDiagnosis(CtlContext& context, const DiagnoseSetup& setup) {
    QJsonObject report;
    report.insert(QStringLiteral("program"), QJsonObject{{"name", "vantorctl"},
                                                         {"version", VANTOR_VERSION},
                                                         {"qtRuntime", qVersion()},
                                                         {"qtBuild", QT_VERSION_STR}});
    report.insert(QStringLiteral("system"), SystemPart());
    QJsonArray wanted;
    for (const DeviceVariant& variant : kDeviceVariants) {
        wanted.append(Hex(variant.vendorId, 4) + QLatin1Char(':') + Hex(variant.productId, 4));
    }
    QJsonObject search{{"backend", setup.hidraw ? "hidraw" : "emulator"}, {"ids", wanted}};
    if (setup.hidraw) {
        search.insert(QStringLiteral("sysfs"), setup.sysfsRoot + QStringLiteral("/class/hidraw"));
        search.insert(QStringLiteral("dev"), setup.devRoot);
    } else {
        search.insert(QStringLiteral("socket"), context.SimSocket());
    }
    if (!context.DevicePath().isEmpty())
        search.insert(QStringLiteral("device"), context.DevicePath());
    report.insert(QStringLiteral("lookedFor"), search);

    QJsonArray problems;
    QJsonArray nodes;
    QString chosen;
    QString refused;  // the first node of the keyboard that did not open
    QStringList paths;
    if (!context.Backend().Enumerate(&paths)) {
        problems.append(QStringLiteral("the HID devices cannot be listed"));
    }
    HidDevice device(std::shared_ptr<HidBackend>(&context.Backend(), [](HidBackend*) {}));
    for (const QString& path : paths) {
        if (!IsKeyboardPath(path))
            continue;
        QJsonObject node{{"path", path}, {"node", HidPath::Locator(path)}};
        if (setup.hidraw) {
            const QString name = QFileInfo(HidPath::Locator(path)).fileName();
            node.insert(QStringLiteral("interfaceNumber"),
                        HidrawInterfaceNumber(setup.sysfsRoot, name));
        } else if (const QRegularExpressionMatch mi = InterfaceMarker().match(path);
                   mi.hasMatch()) {
            node.insert(QStringLiteral("interfaceNumber"), mi.captured(1).toInt());
        }
        const OpenOutcome outcome = OpenVendorInterface(device, path);
        QString why;
        if (outcome == OpenOutcome::Matched) {
            AddCaps(&node, device.Caps());
            if (!context.DevicePath().isEmpty() && HidPath::Locator(path) != context.DevicePath()) {
                why = QStringLiteral("not the node asked for with --device");
            } else if (!chosen.isEmpty()) {
                why = QStringLiteral(
                    "another keyboard's vendor interface: the first one found is used");
            } else {
                chosen = path;
                why = QStringLiteral(
                    "chosen: the first vendor interface that opens for reading and writing");
            }
        } else if (device.Open(path, true, false, true, false)) {
            AddCaps(&node, device.Caps());
            why = WhyNotVendor(device);
        } else {
            if (setup.hidraw)
                AddSysfsCaps(&node, setup, path);
            why = QStringLiteral("cannot be opened for reading and writing");
            if (refused.isEmpty())
                refused = path;
        }
        device.Close();
        node.insert(QStringLiteral("chosen"), path == chosen);
        node.insert(QStringLiteral("why"), why);
        nodes.append(node);
    }
    report.insert(QStringLiteral("nodes"), nodes);
    if (nodes.isEmpty()) {
        problems.append(
            setup.hidraw
                ? QStringLiteral("no hidraw node with the keyboard's IDs in %1/class/hidraw: "
                                 "plug the keyboard in, or check that the hid and "
                                 "hidraw kernel modules are loaded")
                      .arg(setup.sysfsRoot)
                : QStringLiteral("the emulator on %1 offers no keyboard").arg(context.SimSocket()));
    }

    const QJsonObject udev = UdevPart(setup.udevRuleFolders);
    if (setup.hidraw) {
        report.insert(QStringLiteral("udevRule"), udev);
        const QString examined = HidPath::Locator(chosen.isEmpty() ? refused : chosen);
        const bool ruleInstalled = udev.value(QStringLiteral("installed")).toBool();
        if (!examined.isEmpty()) {
            const QJsonObject access = AccessPart(examined, setup.user);
            report.insert(QStringLiteral("access"), access);
            if (!access.value(QStringLiteral("mayReadWrite")).toBool()) {
                problems.append(QStringLiteral("permission denied: user %1 may not read and "
                                               "write %2 (mode %3, decided by %4). Fix: %5")
                                    .arg(setup.user.uid)
                                    .arg(examined, access.value(QStringLiteral("mode")).toString(),
                                         access.value(QStringLiteral("decidedBy")).toString(),
                                         RuleFix(ruleInstalled)));
            }
        } else if (!ruleInstalled) {
            problems.append(QStringLiteral("the udev rule %1 is not installed: without it only "
                                           "root may open the keyboard's nodes. Fix: %2")
                                .arg(QLatin1String(kRuleFile), RuleFix(false)));
        }
    }
    const QJsonObject status = StatusPart(context);
    report.insert(QStringLiteral("status"), status);
    if (!status.value(QStringLiteral("read")).toBool() && !nodes.isEmpty() && problems.isEmpty()) {
        problems.append(status.value(QStringLiteral("error")));
    }
    report.insert(QStringLiteral("problems"), problems);
    return report;
}

QString DiagnosisText(const QJsonObject& report) {
    QString text;
    QTextStream out(&text);
    const auto field = [](const QJsonObject& o, const char* key) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isBool())
            return v.toBool() ? QStringLiteral("yes") : QStringLiteral("no");
        if (v.isDouble())
            return QString::number(v.toInteger());
        if (v.isArray()) {
            QStringList items;
            for (const QJsonValue& item : v.toArray()) {
                items << (item.isDouble() ? QString::number(item.toInteger()) : item.toString());
            }
            return items.join(QLatin1Char(' '));
        }
        return v.toString();
    };
    const auto section = [&](const char* title, const QJsonObject& o,
                             std::initializer_list<const char*> keys) {
        out << title << ":\n";
        for (const char* key : keys) {
            if (!o.contains(QLatin1String(key)))
                continue;
            QString value = field(o, key);
            if (qstrcmp(key, "hex") == 0) {
                // A hex dump goes in rows of 16 bytes, under each other.
                const QStringList bytes = value.split(QLatin1Char(' '));
                QStringList rows;
                for (qsizetype at = 0; at < bytes.size(); at += 16) {
                    rows << bytes.mid(at, 16).join(QLatin1Char(' '));
                }
                value = rows.join(QStringLiteral("\n       "));
            }
            out << "  " << key << ": " << value << '\n';
        }
    };
    section("program", report.value(QStringLiteral("program")).toObject(),
            {"name", "version", "qtRuntime", "qtBuild"});
    section("system", report.value(QStringLiteral("system")).toObject(),
            {"kernel", "os", "sessionType", "display", "waylandDisplay", "trayHost"});
    section("looked for", report.value(QStringLiteral("lookedFor")).toObject(),
            {"backend", "ids", "sysfs", "dev", "socket", "device"});
    out << "interfaces with the keyboard's IDs:";
    const QJsonArray nodes = report.value(QStringLiteral("nodes")).toArray();
    out << (nodes.isEmpty() ? " none\n" : "\n");
    for (const QJsonValue& value : nodes) {
        const QJsonObject node = value.toObject();
        out << "  " << field(node, "path") << '\n';
        for (const char* key : {"interfaceNumber", "usagePage", "usage", "inputReportBytes",
                                "outputReportBytes", "featureReportBytes", "why"}) {
            if (node.contains(QLatin1String(key)))
                out << "    " << key << ": " << field(node, key) << '\n';
        }
    }
    if (report.contains(QStringLiteral("access"))) {
        section("access", report.value(QStringLiteral("access")).toObject(),
                {"node", "exists", "owner", "group", "mode", "acl", "user", "decidedBy",
                 "mayReadWrite"});
    }
    if (report.contains(QStringLiteral("udevRule"))) {
        section("udev rule", report.value(QStringLiteral("udevRule")).toObject(),
                {"installed", "files", "lookedIn"});
    }
    section("status block", report.value(QStringLiteral("status")).toObject(),
            {"read", "error", "path", "firmwareVersion", "activeProfile", "macroCapacityBytes",
             "effects", "hex"});
    out << "problems:";
    const QJsonArray problems = report.value(QStringLiteral("problems")).toArray();
    out << (problems.isEmpty() ? " none found\n" : "\n");
    for (const QJsonValue& problem : problems) out << "  " << problem.toString() << '\n';
    out.flush();
    return text;
}

}  // namespace vantor::ctl
