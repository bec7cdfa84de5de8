// verify: whether the keyboard holds what the working profile file says: its three key maps
// and its macro area, compared with what importing that file would write.

#include "CtlExit.h"
#include "commands/CtlJson.h"
#include "commands/ProfileFileText.h"
#include "commands/ProfileSession.h"
#include "commands/ReportCommands.h"

#include "keymodel/AssignmentRecords.h"
#include "profiles/ProfileComparison.h"
#include "profiles/ProfileFile.h"
#include "shell/Paths.h"

#include <algorithm>

namespace vantor::ctl {

namespace {

// A key's action in words; a macro key names the slot it plays, and on the file's side also
// the macro's id, since the file refers to macros by id and the keyboard by slot.
QString Action(const KeyAssignment& record, bool keyboard, const MacroTable& fileMacros) {
    if (record.type != kAssignMacro)
        return WhatTheKeyDoes(record);
    if (keyboard)
        return QStringLiteral("plays the macro in slot %1").arg(record.value - 1);
    // A missing id is written as slot 0, as the download writes it.
    return QStringLiteral("plays macro %1 (slot %2)")
        .arg(record.value)
        .arg(std::max(FindMacroById(fileMacros.Records(), record.value), 0));
}

QString KeyName(const KeyDifference& difference) {
    return difference.row >= 0 ? KeyOfRecord(difference.row)
                               : QStringLiteral("position %1").arg(difference.position);
}

QString MacroText(const std::optional<KeyboardMacro>& macro) {
    if (!macro)
        return QStringLiteral("no macro");
    QStringList actions;
    for (const KeyboardMacroAction& action : macro->actions) {
        actions << QStringLiteral("%1 %2 %3 ms")
                       .arg(EnglishKeyName(action.keyCode), action.direction == 1
                                                                ? QStringLiteral("release")
                                                                : QStringLiteral("press"))
                       .arg(MacroActionDelayMs(action));
    }
    return QStringLiteral("\"%1\" plays %2, %3 actions: %4")
        .arg(macro->name)
        .arg(macro->cycleCount)
        .arg(macro->actions.size())
        .arg(actions.join(QStringLiteral(", ")));
}

QJsonValue MacroValue(const std::optional<KeyboardMacro>& macro) {
    return macro ? QJsonValue(MacroJson(*macro)) : QJsonValue();
}

}  // namespace

int RunVerify(CtlContext& context) {
    int code = kExitOk;
    if (!context.ExpectArguments(0, "verify", &code))
        return code;
    const QString path = AppPaths::Current()->WorkingProfileFile();
    ProfileFileRead file = ReadProfileFile(path);
    if (file.check != ProfileCheck::Valid) {
        const int failed = file.check == ProfileCheck::Missing
                               ? kExitFileError
                               : ExitOfProfileResult(ResultOfCheck(file.check));
        return context.Fail(failed, QStringLiteral("verify: the working profile file %1: %2")
                                        .arg(path, ProfileCheckText(file.check)));
    }
    DeviceLink* link = context.Connect(&code);
    if (link == nullptr)
        return code;
    ProfileSession session(context, *link);
    if ((code = session.Learn()) != kExitOk)
        return code;
    ProfileComparison comparison;
    const ProfileResult result =
        CompareKeyboardWithProfile(session.Context(), *file.data, &comparison);
    if (result != ProfileResult::Done) {
        return context.FailProfile(result, QStringLiteral("verify: reading the keyboard"));
    }

    const MacroTable& macros = file.data->Macros();
    if (context.Json()) {
        QJsonArray keys;
        for (const KeyDifference& d : comparison.keys) {
            keys.append(QJsonObject{{"profile", d.profile},
                                    {"key", KeyName(d)},
                                    {"keyboard", Action(d.keyboard, true, macros)},
                                    {"file", Action(d.file, false, macros)}});
        }
        QJsonArray macroList;
        for (const MacroDifference& d : comparison.macros) {
            macroList.append(QJsonObject{{"slot", d.slot},
                                         {"keyboard", MacroValue(d.keyboard)},
                                         {"file", MacroValue(d.file)}});
        }
        WriteJson(context, QJsonObject{{"workingProfileFile", path},
                                       {"agree", comparison.Agree()},
                                       {"keys", keys},
                                       {"macros", macroList}});
    } else if (comparison.Agree()) {
        context.Out() << "the keyboard holds what " << path << " says\n";
    } else {
        QTextStream& out = context.Out();
        out << "the keyboard differs from " << path << ":\n";
        for (const KeyDifference& d : comparison.keys) {
            out << "profile " << d.profile << ", key " << KeyName(d) << ": keyboard "
                << Action(d.keyboard, true, macros) << ", file " << Action(d.file, false, macros)
                << '\n';
        }
        for (const MacroDifference& d : comparison.macros) {
            out << "macro slot " << d.slot << ": keyboard " << MacroText(d.keyboard) << "; file "
                << MacroText(d.file) << '\n';
        }
    }
    return comparison.Agree() ? kExitOk : kExitDiffers;
}

}  // namespace vantor::ctl
