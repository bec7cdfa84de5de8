#include "keymodel/KeyNames.h"

#include "keymodel/IntegerFormat.h"
#include "keymodel/KeyTables.h"
#include "shell/lang/Language.h"

namespace vantor {
namespace {

const QString kTextSection = QStringLiteral("TEXT");

// Text of a row's language key; the English name when the language file does not hold it.
QString RowText(const KeyRow& row) {
    if (row.languageKey[0] == '\0') return {};
    const std::optional<QString> text =
        FindLanguageText(kTextSection, QString::fromLatin1(row.languageKey), GetLanguageIndex());
    return text ? *text : QString::fromUtf8(row.englishName);
}

QString Cut(QString text, int capacity) {
    if (capacity <= 0) return {};
    if (text.size() > capacity - 1) text.truncate(capacity - 1);
    return text;
}

}  // namespace

QString KeyNameOfValue(uint32_t value, int capacity) {
    const int row = value <= 0xFFFF ? RowOfCode(static_cast<KeyCode>(value)) : -1;
    QString name = IsKeyTableRow(row) ? RowText(KeyTable[row]) : QString();
    if (name.isEmpty()) name = FormatWithInteger(LanguageText(QStringLiteral("UNKNOWN_KEY")), value);
    return Cut(name, capacity);
}

QString KeyName(KeyCode code, int capacity) { return KeyNameOfValue(code, capacity); }

QString NameOfOrdinal(KeyOrdinal ordinal) {
    for (const KeyRow& row : KeyTable) {
        if (row.ordinal == ordinal) return RowText(row);
    }
    return {};
}

}  // namespace vantor
