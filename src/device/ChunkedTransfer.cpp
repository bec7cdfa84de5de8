#include "device/ChunkedTransfer.h"

#include "device/CommandReport.h"
#include "device/CommandResult.h"

#include <algorithm>
#include <cstring>

namespace vantor {

namespace {

constexpr size_t kChunk = CommandReport::kPayloadSize;

size_t ChunkLength(size_t offset, size_t total) { return std::min(kChunk, total - offset); }

}  // namespace

int ReadInChunks(DeviceLink& link, uint8_t command, uint16_t base, std::span<uint8_t> block) {
    CommandReport request = CommandReport::Request(command, 0, 0);
    CommandReport reply;
    for (size_t offset = 0; offset < block.size(); offset += kChunk) {
        const size_t length = ChunkLength(offset, block.size());
        request.length = uint8_t(length);
        request.SetAddress(uint16_t(base + offset));
        const int result = RunCommand(link, request, &reply);
        if (result != kCommandOk) {
            return result;
        }
        std::memcpy(block.data() + offset, reply.payload, length);
    }
    return kCommandOk;
}

int WriteInChunks(DeviceLink& link, uint8_t command, uint16_t base,
                  std::span<const uint8_t> block) {
    CommandReport request = CommandReport::Request(command, 0, 0);
    CommandReport reply;
    for (size_t offset = 0; offset < block.size(); offset += kChunk) {
        const size_t length = ChunkLength(offset, block.size());
        request.length = uint8_t(length);
        request.SetAddress(uint16_t(base + offset));
        std::memcpy(request.payload, block.data() + offset, length);
        const int result = RunCommand(link, request, &reply);
        if (result != kCommandOk) {
            return result;
        }
    }
    return kCommandOk;
}

}  // namespace vantor
