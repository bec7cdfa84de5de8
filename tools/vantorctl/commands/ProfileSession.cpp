#include "commands/ProfileSession.h"

#include "CtlExit.h"

#include "device/KeyMapCommands.h"
#include "device/StatusCommands.h"

namespace vantor::ctl {

ProfileSession::ProfileSession(CtlContext& context, DeviceLink& link)
    : m_ctl(context),
      m_link(link),
      m_ui(context.Err(), link),
      m_context{link, m_device, m_store, m_snapshot, m_ui} {}

int ProfileSession::Learn() {
    KeyMatrix matrix{};
    CommandResult result = ReadDefaultKeyMatrix(m_link, matrix);
    if (result != CommandResult::Ok) {
        return m_ctl.FailCommand(result, QStringLiteral("read default key matrix"));
    }
    m_device.SetDefaultKeyMatrix(matrix);
    StatusBlock status{};
    result = ReadStatus(m_link, &status);
    if (result != CommandResult::Ok) {
        return m_ctl.FailCommand(result, QStringLiteral("read status"));
    }
    m_device.SetMacroCapacity(size_t(status[kStatusMacroCapacity]) * kMacroCapacityUnit);
    m_device.SetActiveProfile(status[kStatusActiveProfile]);
    return kExitOk;
}

}  // namespace vantor::ctl
