#include "device/SimBackendSelection.h"

#include "device/SimSocketBackend.h"

#include <QDir>

#include <unistd.h>

namespace vantor {

QString DefaultSimSocketPath() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return QDir(runtime).filePath(QStringLiteral("vantor-sim.sock"));
    return QStringLiteral("/tmp/vantor-sim-%1.sock").arg(::getuid());
}

std::unique_ptr<HidBackend> SimBackendFromEnvironment(const QString& simSocket) {
    const QString path = simSocket.isEmpty() ? qEnvironmentVariable("VANTOR_SIM") : simSocket;
    if (path.isEmpty()) return nullptr;
    return std::make_unique<SimSocketBackend>(path);
}

}  // namespace vantor
