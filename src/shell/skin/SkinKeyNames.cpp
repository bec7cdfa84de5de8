#include "shell/skin/SkinKeyNames.h"

namespace vantor {

QString SkinKeyName(uint16_t keyCode) {
    return QStringLiteral("KEY_") +
           QString::number(keyCode, 16).toUpper().rightJustified(3, u'0');
}

QString GKeySkinName(int number) { return QStringLiteral("FUNC_G") + QString::number(number); }

QString OriginKeyName(const QString& base, int number) { return base + QString::number(number); }

}  // namespace vantor
