#pragma once

#include "device/HidBackend.h"
#include "device/ReportTrace.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <memory>

namespace vantor::ctl {

// Where the tool finds interfaces: given the --sim socket (empty when not given) and the
// trace (null without --trace). The default is the program's own choice (BackendSelection).
using BackendFactory = std::function<std::shared_ptr<HidBackend>(
    const QString& simSocket, std::shared_ptr<ReportTrace> trace)>;

// Runs one vantorctl command line (without the program name) and returns its exit code:
//   vantorctl [--sim SOCKET | --device /dev/hidrawN] [--trace] COMMAND [ARGS]
int RunVantorCtl(const QStringList& args, QTextStream& out, QTextStream& err,
                 const BackendFactory& backends = nullptr);

}  // namespace vantor::ctl
