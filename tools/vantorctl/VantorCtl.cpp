#include "VantorCtl.h"

#include "CommandTable.h"
#include "CtlExit.h"

#include "device/BackendSelection.h"

namespace vantor::ctl {

namespace {

void PrintUsage(QTextStream& stream) {
    stream << "usage: vantorctl [--sim SOCKET | --device /dev/hidrawN] [--trace] [--json] "
              "[--reply-timeout MS] COMMAND\n\n"
              "  --sim SOCKET    talk to vantor-sim on SOCKET (also: VANTOR_SIM=SOCKET)\n"
              "  --device NODE   use this hidraw node only\n"
              "  --trace         print every report on standard error: '> ' sent, '< ' "
              "received\n"
              "  --json          one JSON document on standard output (list, status, lighting, "
              "macros,\n"
              "                  verify, diagnose); errors still go to standard error\n"
              "  --reply-timeout MS\n"
              "                  wait MS ms (1-10000) for each reply before asking again, four "
              "times in all;\n"
              "                  default 300 as the keyboard needs; shorter for tests against "
              "vantor-sim\n\nNumbers are decimal; colours are RRGGBB in hex.\n\ncommands:\n";
    for (const CtlCommand& command : CommandTable()) {
        const QString head = QStringLiteral("%1 %2").arg(QLatin1String(command.name),
                                                         QLatin1String(command.synopsis));
        stream << "  " << head.trimmed().leftJustified(34) << ' ' << command.summary << '\n';
    }
    stream.flush();
}

bool OffersJson(const QString& command) {
    static const QStringList offering{QStringLiteral("list"),   QStringLiteral("status"),
                                      QStringLiteral("lighting"), QStringLiteral("macros"),
                                      QStringLiteral("verify"), QStringLiteral("diagnose")};
    return offering.contains(command);
}

int UsageError(QTextStream& err, const QString& why) {
    err << "vantorctl: " << why << "\n\n";
    PrintUsage(err);
    return kExitUsage;
}

}  // namespace

int RunVantorCtl(const QStringList& args, QTextStream& out, QTextStream& err,
                 const BackendFactory& backends) {
    QString simSocket;
    QString device;
    bool trace = false;
    bool json = false;
    int replyTimeoutMs = 0;  // 0: the transport's default
    int i = 0;
    for (; i < args.size() && args[i].startsWith(QLatin1String("--")); ++i) {
        const QString& option = args[i];
        if (option == QLatin1String("--trace")) {
            trace = true;
        } else if (option == QLatin1String("--json")) {
            json = true;
        } else if (option == QLatin1String("--help")) {
            PrintUsage(out);
            return kExitOk;
        } else if (option == QLatin1String("--reply-timeout")) {
            QString error;
            const auto ms = DecimalArgument(args.value(i + 1), option, 1, 10000, &error);
            if (!ms) return UsageError(err, error);
            replyTimeoutMs = int(*ms);
            ++i;
        } else if (option == QLatin1String("--sim") || option == QLatin1String("--device")) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty()) {
                return UsageError(err, QStringLiteral("%1 needs a value").arg(option));
            }
            (option == QLatin1String("--sim") ? simSocket : device) = args[++i];
        } else {
            return UsageError(err, QStringLiteral("unknown option %1").arg(option));
        }
    }
    if (!simSocket.isEmpty() && !device.isEmpty()) {
        return UsageError(err, QStringLiteral("--sim and --device exclude each other"));
    }
    if (i >= args.size()) {
        return UsageError(err, QStringLiteral("no command given"));
    }
    const QString name = args[i];
    const CtlCommand* command = nullptr;
    for (const CtlCommand& c : CommandTable()) {
        if (name == QLatin1String(c.name)) command = &c;
    }
    if (command == nullptr) {
        return UsageError(err, QStringLiteral("unknown command %1").arg(name));
    }

    // --json may also follow the command's name.
    QStringList commandArgs = args.mid(i + 1);
    json = commandArgs.removeAll(QStringLiteral("--json")) > 0 || json;
    if (json && !OffersJson(name)) {
        return UsageError(err, QStringLiteral("%1 has no --json output").arg(name));
    }

    std::shared_ptr<ReportTrace> reportTrace;
    if (trace) {
        reportTrace = std::make_shared<ReportTrace>([&err](const QString& line) {
            err << line << '\n';
            err.flush();
        });
    }
    std::shared_ptr<HidBackend> backend =
        backends ? backends(simSocket, reportTrace) : SelectBackend(simSocket, reportTrace);
    // The socket the emulator is asked for on, as SelectBackend takes it.
    const QString emulatorSocket =
        simSocket.isEmpty() ? qEnvironmentVariable("VANTOR_SIM") : simSocket;
    CtlContext context(commandArgs, out, err, std::move(backend), device, emulatorSocket);
    context.SetJson(json);
    if (replyTimeoutMs > 0) context.SetReplyTimeout(replyTimeoutMs);
    const int code = command->run(context);
    out.flush();
    err.flush();
    return code;
}

}  // namespace vantor::ctl
