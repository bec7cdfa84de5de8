// Validation and loading of a profile file from arbitrary bytes: the header checks, the reads
// of macros and the text area, and the text walk must stay inside what the file holds, and a
// file that loads must write back to the same store contents.
#include "profiles/ProfileFile.h"
#include "profiles/ProfileFileFormat.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantor;
    if (size >= sizeof(ProfileFileHeader)) {
        ProfileFileHeader header;
        std::memcpy(&header, data, sizeof header);
        (void)ProfileHeaderIsValid(header);
    }
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::optional<ProfileData> loaded = ParseProfileBytes(bytes);
    if (!loaded) {
        return 0;
    }
    std::optional<QByteArray> written = SerializeProfile(*loaded);
    if (!written) {
        std::abort();
    }
    std::optional<ProfileData> reloaded = ParseProfileBytes(*written);
    if (!reloaded || reloaded->Macros().Count() != loaded->Macros().Count() ||
        reloaded->TotalTextBytes() != loaded->TotalTextBytes() ||
        std::memcmp(&reloaded->Image(), &loaded->Image(), sizeof(ProfileImage)) != 0) {
        std::abort();
    }
    return 0;
}
