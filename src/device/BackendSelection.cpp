#include "device/BackendSelection.h"

#include "device/HidrawBackend.h"
#include "device/TracingBackend.h"
#include "device/SimBackendSelection.h"

namespace vantor {

std::shared_ptr<HidBackend> SelectBackend(const QString& simSocket,
                                          std::shared_ptr<ReportTrace> trace) {
    std::shared_ptr<HidBackend> sim = SimBackendFromEnvironment(simSocket);
    if (sim) {
        return trace ? std::make_shared<TracingBackend>(std::move(sim), std::move(trace)) : sim;
    }
    auto hidraw = std::make_shared<HidrawBackend>();
    hidraw->SetTrace(std::move(trace));
    return hidraw;
}

}  // namespace vantor
