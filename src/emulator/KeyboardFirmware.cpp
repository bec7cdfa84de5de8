#include "emulator/KeyboardFirmware.h"

#include "emulator/FactoryKeyMatrix.h"

#include <algorithm>

namespace vantor {

namespace {

enum Command : uint8_t {
    kGroupStart = 0x01,
    kGroupEnd = 0x02,
    kReadStatus = 0x03,
    kWriteStatus = 0x04,
    kReadLighting = 0x05,
    kWriteLighting = 0x06,
    kReadKeyMap = 0x07,
    kWriteKeyMap = 0x08,
    kReadMacroArea = 0x09,
    kWriteMacroArea = 0x0A,
    kCommand0B = 0x0B,
    kCommand0C = 0x0C,
    kCommand0D = 0x0D,
    kCommand0E = 0x0E,
    kReadDefaultMatrix = 0x0F,
    kReadKeyColours = 0x10,
    kWriteKeyColours = 0x11,
    kEnterBootMode = 0xEE,
};

// Status bytes 0-9 belong to the firmware; it reports its revision there.
constexpr uint8_t kFirmwareRevision[10] = {0x02, 0x01, 0x00, 0x00, 0x00,
                                           0x00, 0x00, 0x00, 0x00, 0x00};

// The effects a keyboard of this generation offers, in the order it lists them.
constexpr uint8_t kFactoryEffects[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10,
                                       11, 12, 13, 14, 15, 16, 17, 18, 20};

// Effect 1, brightness 4, speed 2, second direction, random colours, white; zeros after.
// The firmware's own copy, kept apart from the program's FactoryLightingBlock on purpose: the
// emulator stands for the keyboard, so a fault in the program's copy must show against it.
constexpr uint8_t kFactoryLighting[KeyboardFirmware::kFactoryLightingSize] = {
    0x01, 0x04, 0x02, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};

void FinishReply(FirmwareReport* reply) {
    const uint16_t sum = FirmwareChecksum(*reply);
    (*reply)[kReportChecksumOffset] = static_cast<uint8_t>(sum & 0xFF);
    (*reply)[kReportChecksumOffset + 1] = static_cast<uint8_t>(sum >> 8);
}

FirmwareReport ReplyHeader(const FirmwareReport& request, uint8_t status) {
    FirmwareReport reply{};
    reply[0] = request[0];
    for (size_t i = kReportCommandOffset; i < kReportStatusOffset; ++i) reply[i] = request[i];
    reply[kReportStatusOffset] = status;
    return reply;
}

bool IsReadCommand(uint8_t command, FirmwareArea* area) {
    switch (command) {
    case kReadLighting: *area = FirmwareArea::Lighting; return true;
    case kReadKeyMap: *area = FirmwareArea::KeyMaps; return true;
    case kReadMacroArea: *area = FirmwareArea::MacroArea; return true;
    case kReadDefaultMatrix: *area = FirmwareArea::DefaultMatrix; return true;
    case kReadKeyColours: *area = FirmwareArea::KeyColours; return true;
    default: return false;
    }
}

bool IsWriteCommand(uint8_t command, FirmwareArea* area) {
    switch (command) {
    case kWriteLighting: *area = FirmwareArea::Lighting; return true;
    case kWriteKeyMap: *area = FirmwareArea::KeyMaps; return true;
    case kWriteMacroArea: *area = FirmwareArea::MacroArea; return true;
    case kWriteKeyColours: *area = FirmwareArea::KeyColours; return true;
    default: return false;
    }
}

}  // namespace

bool KeyboardFirmware::IsValidMacroCapacity(size_t bytes) {
    return bytes % kMacroCapacityUnit == 0 && bytes <= kMaxMacroCapacity;
}

KeyboardFirmware::KeyboardFirmware(const FirmwareVariant& variant, size_t macroCapacity)
    : m_variant(&variant),
      m_status(kStatusSize, 0),
      m_lighting(kProfileCount * kLightingBlockSize, 0),
      m_keyMaps(kProfileCount * static_cast<size_t>(variant.keyMapStride), 0),
      m_macroArea(std::min(macroCapacity, kMaxMacroCapacity) / kMacroCapacityUnit *
                      kMacroCapacityUnit,
                  0),
      m_defaultMatrix(FactoryKeyMatrix(variant)),
      m_keyColours(kProfileCount * kColourTableStride, 0) {
    std::copy(std::begin(kFirmwareRevision), std::end(kFirmwareRevision), m_status.begin());
    m_status[kActiveProfileOffset] = 0;
    m_status[kCapacityOffset] = static_cast<uint8_t>(m_macroArea.size() / kMacroCapacityUnit);
    SetOfferedEffects({std::begin(kFactoryEffects), std::end(kFactoryEffects)});

    for (int p = 0; p < kProfileCount; ++p) {
        std::copy(std::begin(kFactoryLighting), std::end(kFactoryLighting),
                  m_lighting.begin() + p * kLightingBlockSize);
        std::copy(m_defaultMatrix.begin(), m_defaultMatrix.end(),
                  m_keyMaps.begin() + p * variant.keyMapStride);
        // Every key lit white; the slots past the last LED stay 0.
        std::fill_n(m_keyColours.begin() + p * kColourTableStride, variant.positionCount * 3,
                    uint8_t{0xFF});
    }
}

void KeyboardFirmware::SetOfferedEffects(const std::vector<uint8_t>& codes) {
    auto list = m_status.begin() + kEffectListOffset;
    std::fill_n(list, kEffectListSize, uint8_t{0});
    std::copy_n(codes.begin(), std::min(codes.size(), kEffectListSize), list);
}

std::span<const uint8_t> KeyboardFirmware::Area(FirmwareArea area) const {
    return const_cast<KeyboardFirmware*>(this)->MutableArea(area);
}

std::span<uint8_t> KeyboardFirmware::MutableArea(FirmwareArea area) {
    switch (area) {
    case FirmwareArea::Status: return m_status;
    case FirmwareArea::Lighting: return m_lighting;
    case FirmwareArea::KeyMaps: return m_keyMaps;
    case FirmwareArea::MacroArea: return m_macroArea;
    case FirmwareArea::DefaultMatrix: return m_defaultMatrix;
    case FirmwareArea::KeyColours: return m_keyColours;
    }
    return {};
}

std::span<const uint8_t> KeyboardFirmware::LightingBlock(int profile) const {
    return Area(FirmwareArea::Lighting).subspan(profile * kLightingBlockSize, kLightingBlockSize);
}

std::span<const uint8_t> KeyboardFirmware::KeyMap(int profile) const {
    return Area(FirmwareArea::KeyMaps)
        .subspan(static_cast<size_t>(profile * m_variant->keyMapStride),
                 static_cast<size_t>(m_variant->keyMapSize));
}

std::span<const uint8_t> KeyboardFirmware::KeyColours(int profile) const {
    return Area(FirmwareArea::KeyColours).subspan(profile * kColourTableStride, kColourTableStride);
}

bool KeyboardFirmware::ExpectsReply(const FirmwareReport& request) {
    return request[kReportCommandOffset] != kEnterBootMode;
}

FirmwareReport KeyboardFirmware::ErrorReply(const FirmwareReport& request, uint8_t status) {
    FirmwareReport reply = ReplyHeader(request, status);
    FinishReply(&reply);
    return reply;
}

KeyboardFirmware::Outcome KeyboardFirmware::HandleRequest(const FirmwareReport& request) {
    const uint8_t command = request[kReportCommandOffset];
    if (command == kEnterBootMode) {
        // The one request sent without a checksum; its length byte repeats the command as a
        // guard against a stray report.
        if (request[kReportLengthOffset] != kEnterBootMode)
            return {ErrorReply(request, kStatusRefused), false};
        return {std::nullopt, true};
    }

    const uint16_t sent = static_cast<uint16_t>(request[kReportChecksumOffset] |
                                                (request[kReportChecksumOffset + 1] << 8));
    if (sent != FirmwareChecksum(request)) return {ErrorReply(request, kStatusBadChecksum), false};

    FirmwareReport reply = ReplyHeader(request, kStatusOk);
    uint8_t status = kStatusOk;
    FirmwareArea area{};
    switch (command) {
    case kGroupStart:
    case kGroupEnd:
    case kCommand0B:
    case kCommand0C:
    case kCommand0D:
    case kCommand0E:
        break;
    case kReadStatus:
        reply[kReportLengthOffset] = static_cast<uint8_t>(kStatusSize);
        std::copy(m_status.begin(), m_status.end(), reply.begin() + kReportPayloadOffset);
        break;
    case kWriteStatus:
        status = WriteStatus(request);
        break;
    default:
        if (IsReadCommand(command, &area))
            status = ReadArea(area, request, &reply);
        else if (IsWriteCommand(command, &area))
            status = WriteArea(area, request);
        else
            status = kStatusRefused;
        break;
    }
    if (status != kStatusOk) return {ErrorReply(request, status), false};
    FinishReply(&reply);
    return {reply, false};
}

uint8_t KeyboardFirmware::WriteStatus(const FirmwareReport& request) {
    if (request[kReportLengthOffset] != kStatusSize || ReportAddress(request) != 0)
        return kStatusRefused;
    const uint8_t* payload = request.data() + kReportPayloadOffset;
    if (payload[kActiveProfileOffset] >= kProfileCount) return kStatusRefused;
    std::copy_n(payload, kActiveProfileOffset + 1, m_status.begin());
    return kStatusOk;
}

uint8_t KeyboardFirmware::ReadArea(FirmwareArea area, const FirmwareReport& request,
                                   FirmwareReport* reply) const {
    const std::span<const uint8_t> bytes = Area(area);
    const size_t length = request[kReportLengthOffset];
    const size_t address = ReportAddress(request);
    if (length > kReportPayloadSize) return kStatusRefused;
    if (length == 0) return kStatusOk;
    if (address >= bytes.size()) return kStatusRefused;
    const size_t available = std::min(length, bytes.size() - address);
    std::copy_n(bytes.begin() + address, available, reply->begin() + kReportPayloadOffset);
    return kStatusOk;
}

uint8_t KeyboardFirmware::WriteArea(FirmwareArea area, const FirmwareReport& request) {
    const std::span<uint8_t> bytes = MutableArea(area);
    const size_t length = request[kReportLengthOffset];
    const size_t address = ReportAddress(request);
    if (length > kReportPayloadSize || address + length > bytes.size()) return kStatusRefused;
    std::copy_n(request.begin() + kReportPayloadOffset, length, bytes.begin() + address);
    return kStatusOk;
}

std::optional<uint16_t> KeyboardFirmware::SwitchProfileOnKeyboard(int profile) {
    if (profile < 0 || profile >= kProfileCount) return std::nullopt;
    m_status[kActiveProfileOffset] = static_cast<uint8_t>(profile);
    return kEventProfileSwitched;
}

std::optional<uint16_t> KeyboardFirmware::ChangeLightingOnKeyboard() {
    const size_t block = ActiveProfile() * kLightingBlockSize;
    std::vector<uint8_t> offered;
    for (size_t i = 0; i < kEffectListSize; ++i)
        if (const uint8_t code = m_status[kEffectListOffset + i]; code != 0) offered.push_back(code);

    if (offered.empty()) {
        m_lighting[block + 1] = static_cast<uint8_t>((m_lighting[block + 1] + 1) % 6);
        return kEventLightingChanged;
    }
    const auto current = std::find(offered.begin(), offered.end(), m_lighting[block]);
    const auto next = (current == offered.end() || current + 1 == offered.end()) ? offered.begin()
                                                                                 : current + 1;
    m_lighting[block] = *next;
    return kEventLightingChanged;
}

}  // namespace vantor
