#include "mainwindow/FlipSetting.h"

#include "shell/AppSettings.h"

namespace vantor {

namespace {

const QString kSection = QStringLiteral("PROFILES");
const QString kKey = QStringLiteral("Flip");

}  // namespace

int ReadFlipSetting() {
    bool ok = false;
    const int value = ReadAppSetting(kSection, kKey, QStringLiteral("0")).trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}

int WriteFlipSetting(int value) {
    const int stored = value == 1 ? 1 : 0;
    return WriteAppSetting(kSection, kKey, QString::number(stored)) ? stored : -1;
}

}  // namespace vantor
