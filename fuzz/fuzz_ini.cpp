// INI files come from the skin folder, the language files and the user's colour files.
// Parse any bytes, read every entry, then edit and re-parse: the edit must read back.

#include "shell/IniDocument.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using vantor::IniDocument;
    IniDocument doc = IniDocument::Parse(QByteArrayView(data, static_cast<qsizetype>(size)));
    for (const QString& section : doc.SectionNames()) {
        for (const QString& key : doc.KeyNames(section)) {
            doc.ReadString(section, key, QStringLiteral("#Error"), 8);
        }
    }
    const QString value = QStringLiteral("1,2,3,4");
    if (doc.SetValue(QStringLiteral("BUTTONINFO"), QStringLiteral("KEY_01E"), value)) {
        IniDocument again = IniDocument::Parse(doc.Bytes());
        if (again.Value(u"BUTTONINFO", u"KEY_01E") != value) std::abort();
    }
    return 0;
}
