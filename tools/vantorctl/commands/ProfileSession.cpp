#include "commands/ProfileSession.h"

#include "CtlExit.h"

#include "device/CommandResult.h"
#include "device/KeyMapCommands.h"
#include "device/StatusCommands.h"

#include <algorithm>

namespace vantor::ctl {

ProfileSession::ProfileSession(CtlContext& context, DeviceLink& link)
    : m_ctl(context),
      m_link(link),
      m_ui(context.Err()),
      m_context{link, m_facts, m_store, m_snapshot, m_ui} {}

int ProfileSession::Learn() {
    const size_t blockSize =
        std::min<size_t>(m_link.Variant().keyMapBlockSize, kKeyMatrixBufferSize);
    int result = ReadDefaultKeyMatrix(m_link, std::span(m_defaultMatrix.data(), blockSize));
    if (result != kCommandOk) {
        return m_ctl.FailCommand(result, QStringLiteral("read default key matrix"));
    }
    m_facts.SetDefaultMatrix(m_defaultMatrix);
    StatusBlock status{};
    result = ReadStatus(m_link, &status);
    if (result != kCommandOk) {
        return m_ctl.FailCommand(result, QStringLiteral("read status"));
    }
    m_facts.SetMacroCapacity(uint32_t(status[kStatusMacroCapacity]) * kMacroCapacityUnit);
    m_facts.SetActiveProfile(status[kStatusActiveProfile]);
    return kExitOk;
}

}  // namespace vantor::ctl
