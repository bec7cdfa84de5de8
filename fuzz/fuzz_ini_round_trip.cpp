// An INI file read, written and read again must give the same values: both when every value is
// written back into the file it came from (in place) and when all are written to a new file.

#include "shell/IniDocument.h"

#include <QList>

#include <cstdint>
#include <cstdlib>
#include <tuple>

namespace {

using Entries = QList<std::tuple<QString, QString, QString>>;

Entries EntriesOf(const vantor::IniDocument& doc) {
    Entries entries;
    for (const QString& section : doc.SectionNames()) {
        for (const QString& key : doc.KeyNames(section)) {
            entries.push_back({section, key, doc.Value(section, key).value_or(QString())});
        }
    }
    return entries;
}

// Every entry that could be written reads back from the bytes with its value.
void ExpectValues(const Entries& entries, const QList<bool>& written, const QByteArray& bytes) {
    const vantor::IniDocument again = vantor::IniDocument::Parse(bytes);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (!written[i])
            continue;
        const auto& [section, key, value] = entries[i];
        if (again.Value(section, key) != value)
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using vantor::IniDocument;
    IniDocument doc = IniDocument::Parse(QByteArrayView(data, qsizetype(size)));
    const Entries entries = EntriesOf(doc);

    IniDocument fresh;
    QList<bool> inPlace, toFresh;
    for (const auto& [section, key, value] : entries) {
        inPlace.push_back(doc.SetValue(section, key, value));
        toFresh.push_back(fresh.SetValue(section, key, value));
    }
    ExpectValues(entries, inPlace, doc.Bytes());
    ExpectValues(entries, toFresh, fresh.Bytes());
    return 0;
}
