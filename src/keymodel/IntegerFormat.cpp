#include "keymodel/IntegerFormat.h"

#include <algorithm>

namespace vantor {
namespace {

constexpr int kMaxFieldWidth = 512;

struct Directive {
    bool left = false, plus = false, space = false, alternate = false, zero = false;
    int width = 0;
    int precision = -1;
    QChar conversion;
};

bool IsIntegerConversion(QChar c) {
    return c == u'd' || c == u'i' || c == u'u' || c == u'x' || c == u'X' || c == u'o' || c == u'c';
}

// Reads a run of digits, capped; returns the position after it.
qsizetype ReadNumber(const QString& text, qsizetype at, int& number) {
    number = 0;
    while (at < text.size() && text[at].isDigit() && text[at].unicode() < 0x80) {
        number = std::min(kMaxFieldWidth, number * 10 + (text[at].unicode() - u'0'));
        ++at;
    }
    return at;
}

// Parses the directive that starts after a '%'; returns the position after it, or -1 when
// it is not an integer conversion.
qsizetype ParseDirective(const QString& text, qsizetype at, Directive& d) {
    for (; at < text.size(); ++at) {
        const QChar c = text[at];
        if (c == u'-') d.left = true;
        else if (c == u'+') d.plus = true;
        else if (c == u' ') d.space = true;
        else if (c == u'#') d.alternate = true;
        else if (c == u'0') d.zero = true;
        else break;
    }
    at = ReadNumber(text, at, d.width);
    if (at < text.size() && text[at] == u'.') at = ReadNumber(text, at + 1, d.precision);
    while (at < text.size() && QStringView(u"hljztL").contains(text[at])) ++at;
    if (at >= text.size() || !IsIntegerConversion(text[at])) return -1;
    d.conversion = text[at];
    return at + 1;
}

QString Render(const Directive& d, int64_t value) {
    QString body;
    QString prefix;
    if (d.conversion == u'c') {
        body = QChar(static_cast<char16_t>(value & 0xFFFF));
    } else {
        const bool isSigned = d.conversion == u'd' || d.conversion == u'i';
        // Unsigned conversions see the value as a 32-bit unsigned int, as printf would.
        const uint64_t magnitude = isSigned ? (value < 0 ? 0 - static_cast<uint64_t>(value) : uint64_t(value))
                                            : static_cast<uint32_t>(value);
        const int base = d.conversion == u'o' ? 8 : (d.conversion == u'x' || d.conversion == u'X') ? 16 : 10;
        body = QString::number(magnitude, base);
        if (d.conversion == u'X') body = body.toUpper();
        if (d.precision >= 0) {
            if (d.precision == 0 && magnitude == 0) body.clear();
            if (body.size() < d.precision) body.prepend(QString(d.precision - body.size(), u'0'));
        }
        if (isSigned) prefix = value < 0 ? QStringLiteral("-") : d.plus ? QStringLiteral("+") : d.space ? QStringLiteral(" ") : QString();
        if (d.alternate && magnitude != 0 && base == 16) prefix = d.conversion == u'X' ? QStringLiteral("0X") : QStringLiteral("0x");
        if (d.alternate && base == 8 && !body.startsWith(u'0')) body.prepend(u'0');
    }
    const qsizetype padding = std::max<qsizetype>(0, d.width - prefix.size() - body.size());
    if (d.left) return prefix + body + QString(padding, u' ');
    if (d.zero && d.precision < 0 && d.conversion != u'c') return prefix + QString(padding, u'0') + body;
    return QString(padding, u' ') + prefix + body;
}

}  // namespace

QString FormatWithInteger(const QString& format, int64_t value) {
    QString out;
    bool used = false;
    qsizetype at = 0;
    while (at < format.size()) {
        const qsizetype percent = format.indexOf(u'%', at);
        if (percent < 0) {
            out += QStringView(format).mid(at);
            break;
        }
        out += QStringView(format).mid(at, percent - at);
        if (percent + 1 < format.size() && format[percent + 1] == u'%') {
            out += u'%';
            at = percent + 2;
            continue;
        }
        Directive directive;
        const qsizetype end = used ? -1 : ParseDirective(format, percent + 1, directive);
        if (end < 0) {
            out += u'%';  // not ours to fill: copied as it stands
            at = percent + 1;
            continue;
        }
        out += Render(directive, value);
        used = true;
        at = end;
    }
    return out;
}

std::optional<int64_t> ParseDecimal(QStringView text, int64_t low, int64_t high) {
    if (text.isEmpty()) return std::nullopt;
    int64_t value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        const int digit = c.unicode() - u'0';
        // Past the top of the range no further digit can bring it back (and nothing overflows).
        if (value > (high - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
        if (value > high) return std::nullopt;
    }
    if (value < low) return std::nullopt;
    return value;
}

}  // namespace vantor
