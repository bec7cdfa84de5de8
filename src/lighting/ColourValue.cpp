#include "lighting/ColourValue.h"

#include <algorithm>

namespace vantor {

std::optional<Rgb> RgbFromHex(const QString& text) {
    if (text.size() != 6) return std::nullopt;
    for (const QChar c : text) {
        if (!c.isDigit() && (c.toLower() < u'a' || c.toLower() > u'f')) return std::nullopt;
    }
    const uint32_t rgb = text.toUInt(nullptr, 16);
    return Rgb{uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)};
}

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
