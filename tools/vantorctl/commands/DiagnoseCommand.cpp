// diagnose [--output FILE]: a report to attach to a bug report. It reads, never writes to the
// keyboard, and gives its report also when no keyboard is found.

#include "CtlExit.h"
#include "commands/CtlJson.h"
#include "commands/DiagnoseReport.h"
#include "commands/ReportCommands.h"

#include "device/HidrawBackend.h"
#include "shell/AtomicFile.h"

#include <QJsonDocument>

namespace vantor::ctl {

int RunDiagnose(CtlContext& context) {
    const QStringList& args = context.Args();
    QString output;
    if (args.size() == 2 && args[0] == QLatin1String("--output") && !args[1].isEmpty()) {
        output = args[1];
    } else if (!args.isEmpty()) {
        return context.Fail(kExitUsage, QStringLiteral("expected: diagnose [--output FILE]"));
    }
    DiagnoseSetup setup;
    if (const auto* hidraw = dynamic_cast<const HidrawBackend*>(&context.Backend())) {
        setup.hidraw = true;
        setup.sysfsRoot = hidraw->SysfsRoot();
        setup.devRoot = hidraw->DevRoot();
    }
    setup.user = UserIdentity::Current();
    setup.udevRuleFolders = SystemUdevRuleFolders();
    const QJsonObject report = CollectDiagnosis(context, setup);

    if (output.isEmpty()) {
        if (context.Json()) {
            WriteJson(context, report);
        } else {
            context.Out() << DiagnosisText(report);
        }
        return kExitOk;
    }
    const QByteArray bytes = context.Json() ? QJsonDocument(report).toJson(QJsonDocument::Indented)
                                            : DiagnosisText(report).toUtf8();
    if (!WriteFileAtomically(output, bytes)) {
        return context.Fail(kExitFileError,
                            QStringLiteral("diagnose: %1 could not be written").arg(output));
    }
    context.Err() << "vantorctl: diagnose: the report is in " << output
                  << "; attach it to your bug report\n";
    return kExitOk;
}

}  // namespace vantor::ctl
