#include "macros/RecordDelaysSetting.h"

#include "shell/AppSettings.h"
#include "shell/lang/Language.h"

namespace vantor {

namespace {

const QString kSection = QStringLiteral("PROFILES");

QString ValueName()
{
    return LanguageText(QStringLiteral("MACRO_ACTION_RECORD_DELAY"));
}

}  // namespace

int ReadRecordDelaysSetting()
{
    bool ok = false;
    const int value =
        ReadAppSetting(kSection, ValueName(), QStringLiteral("0")).trimmed().toInt(&ok, 10);
    return ok && value == 1 ? 1 : 0;
}

int WriteRecordDelaysSetting(int value)
{
    const int stored = value == 1 ? 1 : 0;
    WriteAppSetting(kSection, ValueName(), QString::number(stored));
    return stored;
}

}  // namespace vantor
