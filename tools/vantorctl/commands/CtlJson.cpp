#include "commands/CtlJson.h"

#include "commands/ProfileFileText.h"

#include <QJsonDocument>

namespace vantor::ctl {

namespace {

constexpr uint32_t kDelayUnitMs = 10;

}  // namespace

void WriteJson(CtlContext& context, const QJsonObject& document) {
    context.Out() << QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented));
}

QJsonObject StatusBlockJson(const StatusBlock& status) {
    QJsonArray effects;
    for (size_t i = 0; i < kStatusEffectListSize; ++i) {
        if (const uint8_t effect = status[kStatusEffectList + i]) effects.append(int(effect));
    }
    return {{"activeProfile", int(status[kStatusActiveProfile])},
            {"macroCapacityBytes", qint64(status[kStatusMacroCapacity]) * qint64(kMacroCapacityUnit)},
            {"effects", effects}};
}

uint32_t MacroActionDelayMs(const KeyboardMacroAction& action) {
    return action.delayField * kDelayUnitMs;
}

QJsonObject MacroJson(const KeyboardMacro& macro) {
    QJsonArray actions;
    for (const KeyboardMacroAction& action : macro.actions) {
        actions.append(QJsonObject{{"key", EnglishKeyName(action.keyCode)},
                                   {"press", action.direction != 1},
                                   {"delayMs", qint64(MacroActionDelayMs(action))}});
    }
    return QJsonObject{
        {"name", macro.name}, {"plays", int(macro.cycleCount)}, {"actions", actions}};
}

}  // namespace vantor::ctl
