// Requests on the instance socket come from any program of the user. The input is the byte
// stream of several connections, each cut into pieces as recv() may deliver them; every whole
// request decodes to a message, re-encodes to its own bytes, and is acted on only when it is a
// known message with its own tag.

#include "shell/InstanceMessages.h"
#include "shell/InstanceRequest.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

bool IsKnown(uint32_t id) {
    using namespace vantor;
    for (uint32_t known : {kMessageOpen, kMessageKill, kMessageInit, kMessageConnected,
                           kMessageGone, kMessageLanguage, kMessageCommand}) {
        if (id == known)
            return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantor;
    size_t at = 0;
    char request[kInstanceRequestSize];
    int received = 0;
    while (at < size) {
        // One control byte per piece: its low bits give the piece's length (at most what the
        // request still lacks, as the server asks for no more).
        const int wanted = 1 + data[at++] % kInstanceRequestSize;
        const int piece = std::min<int>({wanted, kInstanceRequestSize - received, int(size - at)});
        std::memcpy(request + received, data + at, size_t(piece));
        at += size_t(piece);
        received += piece;
        if (received < kInstanceRequestSize)
            continue;
        received = 0;

        const WindowMessage message = DecodeInstanceRequest(request);
        char again[kInstanceRequestSize];
        EncodeInstanceRequest(message, again);
        if (std::memcmp(again, request, sizeof request) != 0)
            std::abort();
        if (CarriesTag(message) && !IsKnown(message.id))
            std::abort();
        if (message.id == kMessageGone && message.tag != 0 && CarriesTag(message))
            std::abort();
    }
    return 0;
}
