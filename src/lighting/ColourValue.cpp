#include "lighting/ColourValue.h"

#include <algorithm>

namespace vantor {

QString ColourValueText(const QString& typed) {
    QString digits;
    for (const QChar c : typed) {
        if (c >= u'0' && c <= u'9') digits.append(c);
    }
    if (digits.isEmpty()) return {};
    // Past three digits the value is above 255 whatever follows.
    if (digits.size() > 3) return QStringLiteral("255");
    return QString::number(std::min(digits.toInt(), 255));
}

}  // namespace vantor
