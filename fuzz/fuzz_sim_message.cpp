// The emulator's socket is a stream from another process. The input is that stream, cut into
// pieces as reads deliver them; the reader must take whole frames only, decode each as the
// client reads it (numbers and strings past the end read as 0 and empty) and stop for good at
// the first frame it cannot trust. A message that decodes encodes back to the same frame.

#include "device/SimMessage.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantor;
    if (size == 0)
        return 0;
    // The first byte sets the piece length, so frames are split at every kind of boundary.
    const size_t piece = 1 + data[0] % 64;
    size_t at = 1;
    SimFrameReader reader;
    bool broken = false;
    while (at < size) {
        const size_t n = std::min(piece, size - at);
        reader.Append(QByteArray(reinterpret_cast<const char*>(data + at), qsizetype(n)));
        at += n;
        while (std::optional<SimMessage> message = reader.Next()) {
            if (broken)
                std::abort();  // nothing comes after a broken frame
            (void)message->Number(int(message->numbers.size()));
            (void)message->String(int(message->strings.size()));
            SimFrameReader again;
            again.Append(EncodeSimFrame(*message));
            const std::optional<SimMessage> decoded = again.Next();
            if (!decoded || decoded->op != message->op || decoded->id != message->id ||
                decoded->strings != message->strings || decoded->bytes != message->bytes ||
                decoded->numbers != message->numbers) {
                std::abort();
            }
        }
        broken = reader.Broken();
    }
    return 0;
}
