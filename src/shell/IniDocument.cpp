#include "shell/IniDocument.h"

#include <QStringDecoder>

namespace vantor {

namespace {

bool IsBlank(char16_t unit) {
    return unit == u' ' || unit == u'\t' || unit == u'\r' || unit == u'\v' || unit == u'\f';
}

bool IsBlankChar(QChar c) { return IsBlank(c.unicode()); }

// Case-insensitive matching key for section and key names.
QString Fold(QStringView name) { return name.toString().toCaseFolded(); }

bool HasLineBreakOrNul(const QString& text) {
    for (QChar c : text) {
        if (c == u'\n' || c == u'\r' || c == u'\0') {
            return true;
        }
    }
    return false;
}

bool IsTrimmed(const QString& text) {
    return !text.isEmpty() && !IsBlankChar(text.front()) && !IsBlankChar(text.back());
}

bool IsQuote(QChar c) { return c == u'"' || c == u'\''; }

// Strips one pair of matching surrounding quotes.
QString Unquote(QString value) {
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()) {
        return value.mid(1, value.size() - 2);
    }
    return value;
}

// The text to write so that reading it back gives the value unchanged.
QString QuoteForWriting(const QString& value) {
    if (value.isEmpty()) {
        return value;
    }
    const bool blankEdge = IsBlankChar(value.front()) || IsBlankChar(value.back());
    if (blankEdge || Unquote(value) != value) {
        return u'"' + value + u'"';
    }
    return value;
}

}  // namespace

IniDocument::IniDocument() : m_bytes("\xFF\xFE", 2), m_encoding(IniEncoding::Utf16LE), m_bomSize(2) {
    Split();
    Index();
}

IniDocument IniDocument::Parse(QByteArrayView bytes) {
    IniDocument doc;
    doc.m_bytes = bytes.toByteArray();
    const auto startsWith = [&](const char* bom, qsizetype size) {
        return bytes.size() >= size && bytes.first(size) == QByteArrayView(bom, size);
    };
    if (startsWith("\xFF\xFE", 2)) {
        doc.m_encoding = IniEncoding::Utf16LE;
        doc.m_bomSize = 2;
    } else if (startsWith("\xFE\xFF", 2)) {
        doc.m_encoding = IniEncoding::Utf16BE;
        doc.m_bomSize = 2;
    } else if (startsWith("\xEF\xBB\xBF", 3)) {
        doc.m_encoding = IniEncoding::Utf8Bom;
        doc.m_bomSize = 3;
    } else {
        doc.m_encoding = IniEncoding::Utf8;
        doc.m_bomSize = 0;
    }
    if (doc.m_bomSize == 2 && (doc.m_bytes.size() % 2) != 0) {
        doc.m_bytes.chop(1);
    }
    doc.Split();
    doc.Index();
    return doc;
}

qsizetype IniDocument::UnitCount() const {
    const qsizetype payload = m_bytes.size() - m_bomSize;
    return (m_encoding == IniEncoding::Utf16LE || m_encoding == IniEncoding::Utf16BE) ? payload / 2
                                                                                     : payload;
}

qsizetype IniDocument::ByteOffset(qsizetype unit) const {
    const bool wide = m_encoding == IniEncoding::Utf16LE || m_encoding == IniEncoding::Utf16BE;
    return m_bomSize + (wide ? unit * 2 : unit);
}

char16_t IniDocument::UnitAt(qsizetype unit) const {
    const auto* data = reinterpret_cast<const unsigned char*>(m_bytes.constData());
    const qsizetype at = ByteOffset(unit);
    switch (m_encoding) {
        case IniEncoding::Utf16LE:
            return static_cast<char16_t>(data[at] | (data[at + 1] << 8));
        case IniEncoding::Utf16BE:
            return static_cast<char16_t>((data[at] << 8) | data[at + 1]);
        default:
            return data[at];
    }
}

QString IniDocument::Decode(qsizetype begin, qsizetype end) const {
    if (end <= begin) {
        return {};
    }
    if (m_encoding == IniEncoding::Utf16LE || m_encoding == IniEncoding::Utf16BE) {
        QString text(end - begin, Qt::Uninitialized);
        for (qsizetype i = begin; i < end; ++i) {
            text[i - begin] = QChar(UnitAt(i));
        }
        return text;
    }
    // Stateless, and a leading U+FEFF inside a line is text, not a byte-order mark.
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder(QByteArrayView(m_bytes).sliced(ByteOffset(begin), end - begin));
}

QByteArray IniDocument::Encode(const QString& text) const {
    switch (m_encoding) {
        case IniEncoding::Utf16LE:
        case IniEncoding::Utf16BE: {
            QByteArray out;
            out.reserve(text.size() * 2);
            const bool little = m_encoding == IniEncoding::Utf16LE;
            for (QChar c : text) {
                const char16_t u = c.unicode();
                const char low = static_cast<char>(u & 0xFF);
                const char high = static_cast<char>(u >> 8);
                out.append(little ? low : high);
                out.append(little ? high : low);
            }
            return out;
        }
        default:
            return text.toUtf8();
    }
}

void IniDocument::Split() {
    m_lines.clear();
    const qsizetype count = UnitCount();
    qsizetype begin = 0;
    while (begin < count) {
        Line line;
        line.begin = begin;
        qsizetype at = begin;
        while (at < count && UnitAt(at) != u'\n') {
            ++at;
        }
        line.contentEnd = at;
        line.end = at < count ? at + 1 : at;
        if (at < count && at > begin && UnitAt(at - 1) == u'\r') {
            line.contentEnd = at - 1;
        }

        qsizetype first = line.begin;
        qsizetype last = line.contentEnd;
        while (first < last && IsBlank(UnitAt(first))) {
            ++first;
        }
        while (last > first && IsBlank(UnitAt(last - 1))) {
            --last;
        }
        if (first == last) {
            line.kind = LineKind::Blank;
        } else if (UnitAt(first) == u';') {
            line.kind = LineKind::Other;
        } else if (UnitAt(first) == u'[') {
            qsizetype close = last;
            while (close > first && UnitAt(close - 1) != u']') {
                --close;
            }
            if (close > first + 1) {
                // The name runs to the last ']' on the line; anything after it is ignored.
                line.kind = LineKind::Section;
                qsizetype nameBegin = first + 1;
                qsizetype nameEnd = close - 1;
                while (nameBegin < nameEnd && IsBlank(UnitAt(nameBegin))) {
                    ++nameBegin;
                }
                while (nameEnd > nameBegin && IsBlank(UnitAt(nameEnd - 1))) {
                    --nameEnd;
                }
                line.nameBegin = nameBegin;
                line.nameEnd = nameEnd;
            } else {
                line.kind = LineKind::Other;
            }
        } else {
            qsizetype equals = first;
            while (equals < last && UnitAt(equals) != u'=') {
                ++equals;
            }
            qsizetype keyEnd = equals;
            while (keyEnd > first && IsBlank(UnitAt(keyEnd - 1))) {
                --keyEnd;
            }
            if (equals < last && keyEnd > first) {
                line.kind = LineKind::Entry;
                line.nameBegin = first;
                line.nameEnd = keyEnd;
                qsizetype valueBegin = equals + 1;
                while (valueBegin < last && IsBlank(UnitAt(valueBegin))) {
                    ++valueBegin;
                }
                line.valueBegin = valueBegin;
                line.valueEnd = last;
            } else {
                line.kind = LineKind::Other;
            }
        }
        m_lines.push_back(line);
        begin = line.end;
    }
}

void IniDocument::Index() {
    m_sections.clear();
    m_sectionByName.clear();
    SectionIndex* current = nullptr;
    for (qsizetype i = 0; i < static_cast<qsizetype>(m_lines.size()); ++i) {
        const Line& line = m_lines[i];
        if (line.kind == LineKind::Section) {
            const QString name = Decode(line.nameBegin, line.nameEnd);
            const QString folded = Fold(name);
            auto found = m_sectionByName.constFind(folded);
            if (found == m_sectionByName.constEnd()) {
                m_sections.push_back(SectionIndex{name, i, {}, {}});
                found = m_sectionByName.insert(folded, m_sections.size() - 1);
            }
            current = &m_sections[*found];
        } else if (line.kind == LineKind::Entry && current != nullptr) {
            const QString key = Decode(line.nameBegin, line.nameEnd);
            const QString folded = Fold(key);
            if (!current->entries.contains(folded)) {
                current->entries.insert(folded, i);
                current->keyOrder.append(key);
            }
        }
    }
}

const IniDocument::SectionIndex* IniDocument::FindSection(QStringView section) const {
    const auto found = m_sectionByName.constFind(Fold(section));
    return found == m_sectionByName.constEnd() ? nullptr : &m_sections[*found];
}

QStringList IniDocument::SectionNames() const {
    QStringList names;
    for (const SectionIndex& section : m_sections) {
        names.append(section.name);
    }
    return names;
}

QStringList IniDocument::KeyNames(QStringView section) const {
    const SectionIndex* found = FindSection(section);
    return found ? found->keyOrder : QStringList();
}

bool IniDocument::HasSection(QStringView section) const { return FindSection(section) != nullptr; }

std::optional<QString> IniDocument::Value(QStringView section, QStringView key) const {
    const SectionIndex* found = FindSection(section);
    if (!found) {
        return std::nullopt;
    }
    const auto entry = found->entries.constFind(Fold(key));
    if (entry == found->entries.constEnd()) {
        return std::nullopt;
    }
    const Line& line = m_lines[*entry];
    return Unquote(Decode(line.valueBegin, line.valueEnd));
}

QString IniDocument::CutToCapacity(QString text, qsizetype capacity) {
    if (capacity <= 1) {
        return {};
    }
    if (text.size() > capacity - 1) {
        text.truncate(capacity - 1);
        if (text.back().isHighSurrogate()) {
            text.chop(1);
        }
    }
    return text;
}

QString IniDocument::ReadString(QStringView section, QStringView key, const QString& defaultValue,
                                qsizetype capacity) const {
    return CutToCapacity(Value(section, key).value_or(defaultValue), capacity);
}

QByteArray IniDocument::LineBreak() const {
    for (const Line& line : m_lines) {
        if (line.end > line.contentEnd) {
            return line.end - line.contentEnd == 2 ? Encode(QStringLiteral("\r\n"))
                                                   : Encode(QStringLiteral("\n"));
        }
    }
    return Encode(QStringLiteral("\r\n"));
}

bool IniDocument::SetValue(const QString& section, const QString& key, const QString& value) {
    if (!IsTrimmed(section) || HasLineBreakOrNul(section) || !IsTrimmed(key) ||
        HasLineBreakOrNul(key) || key.contains(u'=') || key.front() == u'[' ||
        key.front() == u';' || HasLineBreakOrNul(value)) {
        return false;
    }
    const QByteArray written = Encode(QuoteForWriting(value));
    const QByteArray lineBreak = LineBreak();
    QByteArray out;

    const SectionIndex* found = FindSection(section);
    const auto entry = found ? found->entries.constFind(Fold(key)) : QHash<QString, qsizetype>::const_iterator();
    if (found && entry != found->entries.constEnd()) {
        const Line& line = m_lines[*entry];
        out = m_bytes.first(ByteOffset(line.valueBegin)) + written +
              m_bytes.sliced(ByteOffset(line.contentEnd));
    } else if (found) {
        // After the last non-blank line of the section's first block, so the blank lines that
        // separate it from the next section stay where they are.
        qsizetype last = found->firstLine;
        for (qsizetype i = last + 1; i < static_cast<qsizetype>(m_lines.size()); ++i) {
            if (m_lines[i].kind == LineKind::Section) {
                break;
            }
            if (m_lines[i].kind != LineKind::Blank) {
                last = i;
            }
        }
        const Line& anchor = m_lines[last];
        const qsizetype at = ByteOffset(anchor.end);
        out = m_bytes.first(at);
        if (anchor.end == anchor.contentEnd) {
            out += lineBreak;
        }
        out += Encode(key + u'=') + written + lineBreak + m_bytes.sliced(at);
    } else {
        out = m_bytes;
        if (!m_lines.empty()) {
            const Line& tail = m_lines.back();
            if (tail.end == tail.contentEnd) {
                out += lineBreak;
            }
            if (tail.kind != LineKind::Blank) {
                out += lineBreak;
            }
        }
        out += Encode(u'[' + section + u']') + lineBreak + Encode(key + u'=') + written + lineBreak;
    }
    *this = Parse(out);
    return true;
}

}  // namespace vantor
