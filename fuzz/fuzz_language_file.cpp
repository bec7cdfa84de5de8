// Language files are editable text in the program folder. Every lookup in any section must
// give a text of at most 259 characters, and a text with a "%s" or "%d" must take its argument
// as it stands.

#include "FuzzFolder.h"
#include "shell/IniDocument.h"
#include "shell/lang/Language.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantor;
    fuzz::FuzzFolder& folder = fuzz::FuzzFolder::Instance();
    // The choice is stored once; the file of the other language is looked up by index.
    static const bool chosen = SetLanguageIndex(1);
    const int index = size > 0 ? data[0] % kLanguageCount : 1;
    fuzz::FuzzFolder::Put(
        folder.Paths().ProgramFolder() + u'/' + LanguageFileName(LanguageIdOfIndex(index)), data,
        size);

    const IniDocument doc = IniDocument::Parse(QByteArrayView(data, qsizetype(size)));
    const QString argument = QStringLiteral("%s%d%1");
    for (const QString& section : doc.SectionNames()) {
        for (const QString& key : doc.KeyNames(section)) {
            const QString text = LanguageSectionText(section, key, index);
            if (text.size() > IniDocument::kDefaultCapacity - 1)
                std::abort();
            if (chosen && index == 1 && section.compare(u"TEXT", Qt::CaseInsensitive) == 0) {
                const QString formatted = FormatLanguageText(key, argument);
                if (formatted.size() > text.size() - 2 + argument.size())
                    std::abort();
            }
        }
    }
    (void)LanguageText(QStringLiteral("missing key"), index);
    return 0;
}
