#include "profiles/HostAssignments.h"

#include "keyassign/KeyActionCodec.h"
#include "keymodel/AssignmentRecords.h"

#include <algorithm>
#include <array>

namespace vantor {

namespace {

// The rows of one profile's block whose host-only working record the key map contradicts:
// some position addressing the row holds another action than the download writes for it.
std::array<bool, kRecordsPerBlock> ContradictedRows(
    std::span<const KeyAssignment, kRecordsPerBlock> working, std::span<const uint8_t> keyMap,
    std::span<const uint8_t> defaultMatrix, int positionCount) {
    std::array<bool, kRecordsPerBlock> contradicted{};
    const int positions = std::min<int>(
        positionCount, static_cast<int>(std::min(keyMap.size(), defaultMatrix.size()) / 3));
    for (int position = 0; position < positions; ++position) {
        const int row = RowOfPosition(defaultMatrix, position);
        if (row < 0) {
            continue;
        }
        const KeyAssignment& record = working[static_cast<size_t>(row)];
        if (IsHostOnlyAssignment(record) &&
            EncodeAssignment(record, ActionAt(defaultMatrix, position), nullptr) !=
                ActionAt(keyMap, position)) {
            contradicted[static_cast<size_t>(row)] = true;
        }
    }
    return contradicted;
}

}  // namespace

bool IsHostOnlyAssignment(const KeyAssignment& record) {
    return record.type == kAssignLaunch || record.type == kAssignText;
}

std::vector<DroppedHostAssignment> TakeHostAssignments(
    ProfileData& read, const ProfileData& working,
    std::span<const std::span<const uint8_t>> keyMaps, std::span<const uint8_t> defaultMatrix,
    int positionCount) {
    std::vector<DroppedHostAssignment> dropped;
    if (!read.HasImage() || !working.HasImage()) {
        return dropped;
    }
    const ConstStoreKeyRecords workingRecords = working.Records();
    StoreKeyRecords readRecords = read.Records();
    for (int block = 0; block < kBlockCount; ++block) {
        const auto workingBlock = workingRecords.subspan(static_cast<size_t>(BlockStart(block)))
                                      .first<kRecordsPerBlock>();
        std::array<bool, kRecordsPerBlock> contradicted{};
        if (static_cast<size_t>(block) < keyMaps.size()) {
            contradicted = ContradictedRows(workingBlock, keyMaps[static_cast<size_t>(block)],
                                            defaultMatrix, positionCount);
        }
        for (int row = 0; row < kRecordsPerBlock; ++row) {
            const KeyAssignment& record = workingBlock[static_cast<size_t>(row)];
            if (!IsHostOnlyAssignment(record)) {
                continue;
            }
            const int index = BlockStart(block) + row;
            if (contradicted[static_cast<size_t>(row)]) {
                dropped.push_back({index, record, readRecords[static_cast<size_t>(index)]});
                continue;
            }
            readRecords[static_cast<size_t>(index)] = record;
            if (working.TextBytes(index) > 0) {
                read.SetText(index, working.Text(index));
            }
        }
    }
    return dropped;
}

}  // namespace vantor
