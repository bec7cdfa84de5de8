#pragma once

#include "shell/InstanceMessages.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace vantor {

// The size of a request on the instance socket (a WindowMessage: id, tag and argument,
// little-endian 32-bit words) and of its answer.
inline constexpr int kInstanceRequestSize = 12;
inline constexpr int kInstanceAnswerSize = 4;

// A request in its wire form, and the message a whole request holds. Every 12 bytes decode to
// some message; whether it is acted on is up to CarriesTag.
void EncodeInstanceRequest(const WindowMessage& message, char (&request)[kInstanceRequestSize]);
WindowMessage DecodeInstanceRequest(const char (&request)[kInstanceRequestSize]);

// Sends one request to the instance listening on the path and waits for its answer. Connecting
// is retried until the deadline, since the instance may hold the lock before it listens or
// before its event loop runs. Nothing when no answer came in time.
std::optional<uint32_t> SendInstanceRequest(const QString& serverPath, uint32_t message,
                                            uint32_t tag, int timeoutMs,
                                            uint32_t argument = 0);

}  // namespace vantor
