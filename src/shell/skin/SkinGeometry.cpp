#include "shell/skin/SkinGeometry.h"

#include "shell/IniDocument.h"
#include "shell/IniFile.h"

#include <algorithm>

namespace vantor {

namespace {

bool IsAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// One integer at pos (after optional blanks and sign); false when no digit is there.
bool ParseNumber(QStringView text, qsizetype& pos, int& out) {
    while (pos < text.size() && text[pos].isSpace()) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    if (pos >= text.size() || !IsAsciiDigit(text[pos])) {
        return false;
    }
    // Accumulated with saturation: the digits after the limit only keep it there.
    int64_t magnitude = 0;
    while (pos < text.size() && IsAsciiDigit(text[pos])) {
        magnitude = std::min<int64_t>(magnitude * 10 + (text[pos].unicode() - u'0'),
                                      int64_t{SkinGeometry::kMax} + 1);
        ++pos;
    }
    const int64_t value = negative ? -magnitude : magnitude;
    out = static_cast<int>(std::clamp<int64_t>(value, SkinGeometry::kMin, SkinGeometry::kMax));
    return true;
}

}  // namespace

SkinGeometry ParseSkinGeometry(QStringView value) {
    int numbers[4] = {0, 0, 0, 0};
    qsizetype pos = 0;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (pos >= value.size() || value[pos] != u',') {
                break;
            }
            ++pos;
        }
        if (!ParseNumber(value, pos, numbers[i])) {
            break;
        }
    }
    return SkinGeometry{numbers[0], numbers[1], numbers[2], numbers[3]};
}

SkinGeometry ReadSkinGeometry(const QString& iniPath, const QString& section, const QString& key) {
    return ParseSkinGeometry(IniFile(iniPath).ReadString(
        section, key, QString::fromUtf16(kDefaultSkinGeometry), IniDocument::kDefaultCapacity));
}

}  // namespace vantor
