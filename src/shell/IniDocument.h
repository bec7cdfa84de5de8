#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

namespace vantor {

// The text encodings an INI file may have. A file keeps its encoding when it is written;
// a new file is UTF-16 little-endian with its byte-order mark.
enum class IniEncoding {
    Utf16LE,  // BOM FF FE
    Utf16BE,  // BOM FE FF
    Utf8Bom,  // BOM EF BB BF
    Utf8,     // no BOM
};

// The bytes of one INI file, read and edited by the private-profile rules:
//  - "[name]" opens a section, "key=value" is an entry, a line starting with ';' is a comment;
//  - section and key names match without regard to letter case; the first matching entry
//    wins, and sections of the same name count as one, in file order;
//  - names and values lose their surrounding blanks, then a value loses one pair of
//    surrounding quotes ("..." or '...').
// Edits change only the bytes they must: a value is replaced in place, a missing entry is
// added at the end of its section, a missing section at the end of the file.
//
// Parse() accepts any bytes (it is the entry point for fuzzing); an odd trailing byte of a
// UTF-16 file cannot be text and is dropped.
class IniDocument {
public:
    // The buffer size the readers use unless told otherwise: at most 259 characters.
    static constexpr qsizetype kDefaultCapacity = 260;

    // An empty new file: UTF-16 LE, holding only its byte-order mark.
    IniDocument();
    static IniDocument Parse(QByteArrayView bytes);

    IniEncoding Encoding() const { return m_encoding; }
    const QByteArray& Bytes() const { return m_bytes; }

    QStringList SectionNames() const;
    // Key names of the section, first spelling of each, in file order.
    QStringList KeyNames(QStringView section) const;
    bool HasSection(QStringView section) const;

    // The value, or nothing when the section or key is missing.
    std::optional<QString> Value(QStringView section, QStringView key) const;

    // The value, or the default when it is missing, cut to capacity - 1 characters as if read
    // into a buffer of that many characters with its terminator. A cut never splits a
    // surrogate pair.
    QString ReadString(QStringView section, QStringView key, const QString& defaultValue,
                       qsizetype capacity = kDefaultCapacity) const;

    // Sets the value of the key, adding the entry or the section when missing. A value that
    // would lose blanks or quotes when read back is written inside double quotes. Fails,
    // changing nothing, for names that cannot be written as such (empty, surrounding blanks,
    // line breaks, a key with '=' or starting with '[' or ';') and for values with line breaks
    // or NUL characters.
    bool SetValue(const QString& section, const QString& key, const QString& value);

    // Cuts text as a buffer of the capacity (terminator included) would.
    static QString CutToCapacity(QString text, qsizetype capacity);

private:
    enum class LineKind : uint8_t { Blank, Other, Section, Entry };
    struct Line {
        qsizetype begin = 0;       // first unit
        qsizetype contentEnd = 0;  // end of the text before the line break
        qsizetype end = 0;         // first unit of the next line
        LineKind kind = LineKind::Blank;
        qsizetype nameBegin = 0;  // section name or key, trimmed
        qsizetype nameEnd = 0;
        qsizetype valueBegin = 0;  // entry value, trimmed, quotes still on
        qsizetype valueEnd = 0;
    };
    struct SectionIndex {
        QString name;             // first spelling
        qsizetype firstLine = 0;  // the first header of this name
        QHash<QString, qsizetype> entries;  // folded key -> line of its first entry
        QStringList keyOrder;
    };

    void Split();
    void Index();
    char16_t UnitAt(qsizetype unit) const;
    qsizetype UnitCount() const;
    qsizetype ByteOffset(qsizetype unit) const;
    QString Decode(qsizetype begin, qsizetype end) const;
    QByteArray Encode(const QString& text) const;
    QByteArray LineBreak() const;
    const SectionIndex* FindSection(QStringView section) const;

    QByteArray m_bytes;
    IniEncoding m_encoding = IniEncoding::Utf16LE;
    qsizetype m_bomSize = 0;
    std::vector<Line> m_lines;
    std::vector<SectionIndex> m_sections;
    QHash<QString, qsizetype> m_sectionByName;  // folded name -> m_sections index
};

}  // namespace vantor
