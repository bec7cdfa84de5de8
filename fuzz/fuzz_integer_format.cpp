// Language texts used as formats can be edited by anyone: any text must format safely.

#include "keymodel/IntegerFormat.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8) return 0;
    int64_t value = 0;
    std::memcpy(&value, data, sizeof value);
    const QString format = QString::fromUtf8(reinterpret_cast<const char*>(data + 8),
                                             static_cast<qsizetype>(size - 8));
    vantor::FormatWithInteger(format, value);
    return 0;
}
