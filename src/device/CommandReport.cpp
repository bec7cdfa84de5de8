#include "device/CommandReport.h"

#include "device/CommandResult.h"

namespace vantor {

CommandReport CommandReport::Request(uint8_t command, uint8_t length, uint16_t address) {
    CommandReport report;
    report.reportId = kReportId;
    report.command = command;
    report.length = length;
    report.SetAddress(address);
    return report;
}

void CommandReport::SetAddress(uint16_t value) {
    address[0] = uint8_t(value & 0xFF);
    address[1] = uint8_t(value >> 8);
}

uint16_t CommandReport::Address() const { return uint16_t(address[0] | (address[1] << 8)); }

uint16_t CommandReport::Checksum() const { return uint16_t(checksum[0] | (checksum[1] << 8)); }

void CommandReport::Seal() {
    uint32_t sum = 0;
    const uint8_t* bytes = Bytes();
    for (size_t i = offsetof(CommandReport, command); i < sizeof(CommandReport); ++i) {
        sum += bytes[i];
    }
    checksum[0] = uint8_t(sum & 0xFF);
    checksum[1] = uint8_t((sum >> 8) & 0xFF);
}

CommandResult RunCommand(DeviceLink& link, CommandReport& request, CommandReport* reply) {
    request.Seal();
    *reply = CommandReport();
    size_t received = 0;
    const CommandResult result = link.Exchange(request.Bytes(), sizeof request, reply->Bytes(),
                                     sizeof *reply, &received);
    if (result != CommandResult::Ok) {
        return result;
    }
    switch (reply->status) {
        case 0xFF: return CommandResult::StatusFF;
        case 0xFE: return CommandResult::StatusFE;
        default: return CommandResult::Ok;
    }
}

CommandResult RunStatusOnlyCommand(DeviceLink& link, uint8_t command) {
    CommandReport request = CommandReport::Request(command, 0, 0);
    CommandReport reply;
    return RunCommand(link, request, &reply);
}

}  // namespace vantor
