#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>

namespace vantor {

// A hex log of reports as they cross the wire, one line each: "> " and the bytes for a report
// sent to the keyboard, "< " for one received from it. Lines go to a sink (vantorctl's
// --trace prints them); safe to use from several threads.
class ReportTrace {
public:
    using Sink = std::function<void(const QString& line)>;

    explicit ReportTrace(Sink sink);

    void Sent(const uint8_t* data, size_t length);
    void Received(const uint8_t* data, size_t length);

    // "> 0401..." / "< ...": lower-case hex, two digits a byte, no separators.
    static QString Line(bool sent, const uint8_t* data, size_t length);

private:
    std::mutex m_mutex;
    Sink m_sink;
};

}  // namespace vantor
