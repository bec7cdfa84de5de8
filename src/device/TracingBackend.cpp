#include "device/TracingBackend.h"

namespace vantor {

namespace {

class TracingChannel : public HidChannel {
public:
    TracingChannel(std::unique_ptr<HidChannel> inner, std::shared_ptr<ReportTrace> trace)
        : m_inner(std::move(inner)), m_trace(std::move(trace)) {}

    HidAttributes Attributes() const override { return m_inner->Attributes(); }
    QByteArray ReportDescriptor() const override { return m_inner->ReportDescriptor(); }

    HidIoResult Read(uint8_t* buffer, size_t length, size_t* bytesRead, int timeoutMs) override {
        const HidIoResult result = m_inner->Read(buffer, length, bytesRead, timeoutMs);
        if (result == HidIoResult::Done) {
            m_trace->Received(buffer, *bytesRead);
        }
        return result;
    }

    HidIoResult Write(const uint8_t* buffer, size_t length, size_t* bytesWritten,
                      int timeoutMs) override {
        const HidIoResult result = m_inner->Write(buffer, length, bytesWritten, timeoutMs);
        if (result == HidIoResult::Done) {
            m_trace->Sent(buffer, *bytesWritten);
        }
        return result;
    }

    HidIoResult WaitGone(int timeoutMs) override { return m_inner->WaitGone(timeoutMs); }
    void Abort() override { m_inner->Abort(); }

private:
    std::unique_ptr<HidChannel> m_inner;
    std::shared_ptr<ReportTrace> m_trace;
};

}  // namespace

TracingBackend::TracingBackend(std::shared_ptr<HidBackend> inner,
                               std::shared_ptr<ReportTrace> trace)
    : m_inner(std::move(inner)), m_trace(std::move(trace)) {}

bool TracingBackend::Enumerate(QStringList* paths) { return m_inner->Enumerate(paths); }

std::unique_ptr<HidChannel> TracingBackend::Open(const QString& path, bool read, bool write) {
    std::unique_ptr<HidChannel> inner = m_inner->Open(path, read, write);
    if (!inner) {
        return nullptr;
    }
    return std::make_unique<TracingChannel>(std::move(inner), m_trace);
}

bool TracingBackend::Probe(const QString& path) { return m_inner->Probe(path); }

}  // namespace vantor
