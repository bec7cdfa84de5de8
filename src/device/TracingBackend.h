#pragma once

#include "device/HidBackend.h"
#include "device/ReportTrace.h"

#include <memory>

namespace vantor {

// Puts every report that another backend's channels move into a trace, for backends that do
// not keep one themselves (the emulator's socket); the hidraw backend traces on its own.
class TracingBackend : public HidBackend {
public:
    TracingBackend(std::shared_ptr<HidBackend> inner, std::shared_ptr<ReportTrace> trace);

    bool Enumerate(QStringList* paths) override;
    std::unique_ptr<HidChannel> Open(const QString& path, bool read, bool write) override;
    bool Probe(const QString& path) override;

private:
    std::shared_ptr<HidBackend> m_inner;
    std::shared_ptr<ReportTrace> m_trace;
};

}  // namespace vantor
