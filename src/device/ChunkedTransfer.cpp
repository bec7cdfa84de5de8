#include "device/ChunkedTransfer.h"

#include "device/CommandReport.h"
#include "device/CommandResult.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace vantor {

namespace {

constexpr size_t kChunk = CommandReport::kPayloadSize;

// One exchange per chunk of a block of the given size, in one request reused throughout.
// fill puts a chunk's payload in the request; take copies a chunk out of its reply.
using ChunkStep = std::function<void(CommandReport& report, size_t offset, size_t length)>;

CommandResult Transfer(DeviceLink& link, uint8_t command, uint16_t base, size_t size, const ChunkStep& fill,
             const ChunkStep& take) {
    CommandReport request = CommandReport::Request(command, 0, 0);
    CommandReport reply;
    for (size_t offset = 0; offset < size; offset += kChunk) {
        const size_t length = std::min(kChunk, size - offset);
        request.length = uint8_t(length);
        request.SetAddress(uint16_t(base + offset));
        fill(request, offset, length);
        const CommandResult result = RunCommand(link, request, &reply);
        if (result != CommandResult::Ok) {
            return result;
        }
        take(reply, offset, length);
    }
    return CommandResult::Ok;
}

void Nothing(CommandReport&, size_t, size_t) {}

}  // namespace

CommandResult ReadInChunks(DeviceLink& link, uint8_t command, uint16_t base, std::span<uint8_t> block) {
    return Transfer(link, command, base, block.size(), Nothing,
                    [&](CommandReport& reply, size_t offset, size_t length) {
                        std::memcpy(block.data() + offset, reply.payload, length);
                    });
}

CommandResult WriteInChunks(DeviceLink& link, uint8_t command, uint16_t base,
                  std::span<const uint8_t> block) {
    return Transfer(
        link, command, base, block.size(),
        [&](CommandReport& request, size_t offset, size_t length) {
            std::memcpy(request.payload, block.data() + offset, length);
        },
        Nothing);
}

}  // namespace vantor
