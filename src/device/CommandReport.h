#pragma once

#include "device/CommandResult.h"
#include "device/DeviceLink.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace vantor {

// The 64-byte report of the keyboard's vendor interface. A request and its reply share the
// layout; a request starts zeroed, so every byte a command does not name is 0.
struct CommandReport {
    uint8_t reportId = 0;     // always 0x04
    uint8_t checksum[2] = {};  // little-endian sum of bytes 3-63, modulo 65536
    uint8_t command = 0;
    uint8_t length = 0;        // payload bytes carried or asked for
    uint8_t address[2] = {};   // byte offset in the command's data area, little-endian
    uint8_t status = 0;        // 0 in a request; 0xFF and 0xFE are errors in a reply
    uint8_t payload[56] = {};

    static constexpr uint8_t kReportId = 0x04;
    static constexpr size_t kPayloadSize = 56;

    // A zeroed request for the command.
    static CommandReport Request(uint8_t command, uint8_t length, uint16_t address);

    void SetAddress(uint16_t value);
    uint16_t Address() const;
    uint16_t Checksum() const;
    // Computes the checksum over the finished request; done last, after every other byte.
    void Seal();

    const uint8_t* Bytes() const { return reinterpret_cast<const uint8_t*>(this); }
    uint8_t* Bytes() { return reinterpret_cast<uint8_t*>(this); }
};
static_assert(sizeof(CommandReport) == 64);
static_assert(std::is_standard_layout_v<CommandReport>);
static_assert(std::is_trivially_copyable_v<CommandReport>);
static_assert(offsetof(CommandReport, checksum) == 1);
static_assert(offsetof(CommandReport, command) == 3);
static_assert(offsetof(CommandReport, length) == 4);
static_assert(offsetof(CommandReport, address) == 5);
static_assert(offsetof(CommandReport, status) == 7);
static_assert(offsetof(CommandReport, payload) == 8);

// Command codes of the vendor interface.
enum CommandCode : uint8_t {
    kCmdGroupStart = 0x01,
    kCmdGroupEnd = 0x02,
    kCmdReadStatus = 0x03,
    kCmdWriteStatus = 0x04,
    kCmdReadLighting = 0x05,
    kCmdWriteLighting = 0x06,
    kCmdReadKeyMap = 0x07,
    kCmdWriteKeyMap = 0x08,
    kCmdReadMacroArea = 0x09,
    kCmdWriteMacroArea = 0x0A,
    kCmd0B = 0x0B,
    kCmd0C = 0x0C,
    kCmd0D = 0x0D,
    kCmd0E = 0x0E,
    kCmdReadDefaultKeyMatrix = 0x0F,
    kCmdReadKeyColours = 0x10,
    kCmdWriteKeyColours = 0x11,
    kCmdEnterBootMode = 0xEE,
};

// Seals the request, exchanges it and judges the reply's status byte: the command result
// (Ok, NoReply, WriteFailed, StatusFF or StatusFE). The reply, zeroed first, holds what arrived.
CommandResult RunCommand(DeviceLink& link, CommandReport& request, CommandReport* reply);

// A command with no payload either way, answered by its status only.
CommandResult RunStatusOnlyCommand(DeviceLink& link, uint8_t command);

}  // namespace vantor
