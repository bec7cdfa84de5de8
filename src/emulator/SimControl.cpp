#include "emulator/SimControl.h"

#include "emulator/EmulatedKeyboard.h"

namespace vantor {

namespace {

SimControlResult Refuse(const QString& why) { return {false, why}; }

// Decimal, or hexadecimal after "0x"; a leading 0 does not mean octal.
bool ParseNumber(const QString& text, unsigned max, unsigned* value) {
    bool ok = false;
    const bool hex = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    const unsigned parsed = hex ? text.mid(2).toUInt(&ok, 16) : text.toUInt(&ok, 10);
    if (!ok || parsed > max) return false;
    *value = parsed;
    return true;
}

SimControlResult RunFault(EmulatedKeyboard& keyboard, const QStringList& action) {
    const auto fault = FaultFromName(action.value(1));
    if (!fault) return Refuse(QStringLiteral("unknown fault '%1'").arg(action.value(1)));
    FaultSwitch with{*fault};
    const QStringList numbers = action.mid(2);
    const qsizetype allowed = *fault == EmulatorFault::LateReply           ? 2
                              : *fault == EmulatorFault::UnplugMidTransfer ? 1
                                                                           : 0;
    if (numbers.size() > allowed) {
        return Refuse(allowed == 0 ? QStringLiteral("fault %1 takes no number").arg(action[1])
                                   : QStringLiteral("fault %1 takes at most %2 number(s)")
                                         .arg(action[1])
                                         .arg(allowed));
    }
    unsigned values[2] = {};
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        if (!ParseNumber(numbers[i], 3600 * 1000, &values[i]))
            return Refuse(QStringLiteral("not a number: '%1'").arg(numbers[i]));
    }
    if (*fault == EmulatorFault::LateReply) {
        if (numbers.size() > 0) with.lateReplyMs = static_cast<int>(values[0]);
        if (numbers.size() > 1) with.lateJitterMs = static_cast<int>(values[1]);
    } else if (numbers.size() > 0) {
        with.reportsBeforeUnplug = static_cast<int>(values[0]);
    }
    keyboard.SetFault(with);
    return {true, {}};
}

}  // namespace

SimControlResult RunSimControl(EmulatedKeyboard& keyboard, const QStringList& action) {
    const QString verb = action.value(0);
    const int arguments = static_cast<int>(action.size()) - 1;
    const auto unplugged = [] { return Refuse(QStringLiteral("the keyboard is unplugged")); };

    if (verb == QLatin1String("plug") && arguments == 0) {
        keyboard.Plug();
        return {true, {}};
    }
    if (verb == QLatin1String("unplug") && arguments == 0) {
        keyboard.Unplug();
        return {true, {}};
    }
    if (verb == QLatin1String("switch") && arguments == 1) {
        unsigned profile = 0;
        if (!ParseNumber(action[1], KeyboardFirmware::kProfileCount - 1, &profile))
            return Refuse(QStringLiteral("profile must be 0, 1 or 2"));
        return keyboard.SwitchProfileOnKeyboard(static_cast<int>(profile))
                   ? SimControlResult{true, {}}
                   : unplugged();
    }
    if (verb == QLatin1String("light") && arguments == 0)
        return keyboard.ChangeLightingOnKeyboard() ? SimControlResult{true, {}} : unplugged();
    if (verb == QLatin1String("event") && arguments == 1) {
        unsigned code = 0;
        if (!ParseNumber(action[1], 0xFFFF, &code))
            return Refuse(QStringLiteral("event code must be 0-0xFFFF, hexadecimal with 0x or "
                                         "decimal"));
        return keyboard.SendEvent(static_cast<uint16_t>(code)) ? SimControlResult{true, {}}
                                                               : unplugged();
    }
    if (verb == QLatin1String("fault") && arguments >= 1)
        return RunFault(keyboard, action);
    if (verb == QLatin1String("log") && arguments == 0) {
        QString text;
        for (const ReportLogEntry& entry : keyboard.Log()) text += entry.ToLine() + u'\n';
        return {true, text};
    }
    return Refuse(QStringLiteral("unknown action '%1'").arg(action.join(u' ')));
}

}  // namespace vantor
