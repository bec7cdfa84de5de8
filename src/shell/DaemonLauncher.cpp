#include "shell/DaemonLauncher.h"

#include <QFileInfo>
#include <QProcess>

namespace vantor {

bool LaunchDaemon(const QString& daemonPath) {
    const QFileInfo file(daemonPath);
    if (!file.isFile() || !file.isExecutable()) return false;
    QProcess daemon;
    daemon.setProgram(file.absoluteFilePath());
    daemon.setWorkingDirectory(file.absolutePath());
    // Hidden: it has no terminal of ours to write to.
    daemon.setStandardInputFile(QProcess::nullDevice());
    daemon.setStandardOutputFile(QProcess::nullDevice());
    daemon.setStandardErrorFile(QProcess::nullDevice());
    return daemon.startDetached();
}

}  // namespace vantor
