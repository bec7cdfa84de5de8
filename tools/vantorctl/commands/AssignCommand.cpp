// assign P KEY ACTION: what one key of on-board profile P does, changed on the keyboard by the
// same rules as the key assignment dialog's Apply; the working profile file follows once the
// keyboard took it.

#include "CtlExit.h"
#include "commands/ProfileCommands.h"
#include "commands/ProfileSession.h"

#include "keymodel/AssignmentRecords.h"
#include "keymodel/IntegerFormat.h"
#include "keymodel/KeyTables.h"
#include "profiles/ProfileFlows.h"
#include "shell/Paths.h"

#include <optional>

namespace vantor::ctl {

namespace {

constexpr char kSynopsis[] =
    "assign P KEY key NAME | mouse left|right|middle|wheel-up|wheel-down | media N | "
    "function N | macro ID [CYCLES] | default";

// The first key-table row with this English name, in any case; 0 for none.
KeyCode CodeOfEnglishName(const QString& name) {
    for (int row = 0; row < kKeyTableRows; ++row) {
        const QString english = QString::fromUtf8(KeyTable[static_cast<size_t>(row)].englishName);
        if (!english.isEmpty() && english.compare(name, Qt::CaseInsensitive) == 0) return CodeOfRow(row);
    }
    return kNoKey;
}

// The record a KEY argument names: a key of the key list by its English name, or G1-G18.
int RecordOfKeyArgument(const QString& name) {
    if (name.size() > 1 && name.front().toUpper() == u'G') {
        if (const auto r = ParseDecimal(QStringView(name).mid(1), 1, kExtraKeyCount))
            return RecordOfExtraKey(int(*r));
    }
    for (const KeyCode code : KeyList) {
        if (QString::fromUtf8(KeyTable[static_cast<size_t>(RowOfCode(code))].englishName)
                .compare(name, Qt::CaseInsensitive) == 0)
            return RowOfCode(code);
    }
    return -1;
}

// The choice an ACTION names, or the reason it names none.
std::optional<KeyChoice> ChoiceOfAction(const QStringList& action, QString* error) {
    const QString verb = action.value(0).toLower();
    const auto expect = [&](qsizetype low, qsizetype high) {
        const bool fits = action.size() >= low && action.size() <= high;
        if (!fits) *error = QStringLiteral("'%1' takes %2 value(s)").arg(verb).arg(low - 1);
        return fits;
    };
    if (verb == u"default") {
        if (!expect(1, 1)) return std::nullopt;
        return KeyChoice{kAssignDefault, 0};
    }
    if (verb == u"key") {
        if (!expect(2, 2)) return std::nullopt;
        const KeyCode code = CodeOfEnglishName(action[1]);
        if (code == kNoKey) *error = QStringLiteral("no key is named '%1'").arg(action[1]);
        if (code == kNoKey) return std::nullopt;
        return KeyChoice{kAssignKey, code};
    }
    if (verb == u"mouse") {
        if (!expect(2, 2)) return std::nullopt;
        const char* names[kMouseCount] = {"left", "right", "middle", "wheel-up", "wheel-down"};
        for (int i = 0; i < kMouseCount; ++i)
            if (action[1].compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0)
                return KeyChoice{kAssignKey, MouseList[static_cast<size_t>(i)].code};
        *error = QStringLiteral("a mouse action is left, right, middle, wheel-up or wheel-down");
        return std::nullopt;
    }
    if (verb == u"media" || verb == u"function") {
        if (!expect(2, 2)) return std::nullopt;
        const bool media = verb == u"media";
        const int last = media ? kMediaCount - 1 : kFunctionCount - 1;
        const auto number = DecimalArgument(action[1], QStringLiteral("a %1 number").arg(verb), 0, last, error);
        if (!number) return std::nullopt;
        return KeyChoice{media ? kAssignMedia : kAssignFunction, uint32_t(*number)};
    }
    if (verb == u"macro") {
        if (!expect(2, 3)) return std::nullopt;
        const auto id = DecimalArgument(action[1], QStringLiteral("a macro id"), 1, kMaxMacros, error);
        if (!id) return std::nullopt;
        // Without CYCLES the macro keeps the play count it has (0 says so to AssignKey).
        std::optional<int64_t> cycles = 0;
        if (action.size() == 3)
            cycles = DecimalArgument(action[2], QStringLiteral("CYCLES"), 1, kMaxPlayCount, error);
        if (!cycles) return std::nullopt;
        return KeyChoice{kAssignMacro, uint32_t(*id), static_cast<uint16_t>(*cycles)};
    }
    *error = QStringLiteral("unknown action '%1'").arg(action.value(0));
    return std::nullopt;
}

}  // namespace

int RunAssign(CtlContext& context) {
    int code = kExitOk;
    const QStringList& args = context.Args();
    if (args.size() < 3) {
        return context.Fail(kExitUsage, QStringLiteral("usage: vantorctl %1").arg(kSynopsis));
    }
    int profile = 0;
    if (!context.ProfileArgument(0, &profile, &code)) return code;
    const int record = RecordOfKeyArgument(args[1]);
    if (record < 0) {
        return context.Fail(kExitUsage,
                            QStringLiteral("no key is named '%1' (a key's name, or G1-G18)").arg(args[1]));
    }
    QString error;
    const std::optional<KeyChoice> choice = ChoiceOfAction(args.mid(2), &error);
    if (!choice) return context.Fail(kExitUsage, QStringLiteral("assign: %1").arg(error));

    DeviceLink* link = context.Connect(&code);
    if (link == nullptr) return code;
    ProfileSession session(context, *link);
    if ((code = session.Learn()) != kExitOk) return code;
    const ProfileResult result = AssignKey(session.Context(), profile, record, *choice);
    if (result != ProfileResult::Done) {
        return context.FailProfile(result, QStringLiteral("assign"),
                                   QStringLiteral("the working profile file %1")
                                       .arg(AppPaths::Current()->WorkingProfileFile()));
    }
    context.Out() << "assigned " << args[1] << " of profile " << profile << '\n';
    return kExitOk;
}

}  // namespace vantor::ctl
