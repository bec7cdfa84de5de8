#include "keymodel/AssignmentSummary.h"

#include "keymodel/KeyNames.h"
#include "keymodel/KeyTables.h"
#include "shell/lang/Language.h"

namespace vantor {

QString AssignmentSummary(const QString& baseName, const KeyAssignment& record,
                          const MacroNameLookup& macroName) {
    if (record.type == kAssignDefault) return baseName;
    QString text = baseName + LanguageText(QStringLiteral("KEY_PROMPT_SET"));
    switch (record.type) {
    case kAssignKey:
        text += LanguageText(QStringLiteral("KEY_PROMPT_SINGLE"));
        text += KeyNameOfValue(record.value);
        break;
    case kAssignMacro:
        text += LanguageText(QStringLiteral("KEY_PROMPT_MACRO"));
        // Value 0 means no macro chosen yet: it is never looked up, so a stray macro record
        // with id 0 cannot lend it a name.
        if (record.value != 0 && macroName) text += macroName(record.value);
        break;
    case kAssignMedia:
        text += LanguageText(QStringLiteral("KEY_PROMPT_MEDIA"));
        if (record.value < static_cast<uint32_t>(kMediaCount)) text += KeyName(MediaList[record.value].code);
        break;
    case kAssignFunction:
        text += LanguageText(QStringLiteral("KEY_PROMPT_FUNCTION"));
        if (record.value < static_cast<uint32_t>(kFunctionCount)) {
            text += LanguageText(QString::fromLatin1(FunctionList[record.value]));
        }
        break;
    default:
        return text;  // disabled, launch, stop macro, text block and unknown types
    }
    return text + u')';
}

}  // namespace vantor
