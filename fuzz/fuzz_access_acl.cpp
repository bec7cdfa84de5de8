// A node's access ACL attribute comes from whatever file system the node lies on: any bytes
// must parse or be refused safely, and every parsed entry must print.

#include "device/HidrawNodeAccess.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const auto entries = vantor::ParseAccessAcl(bytes)) {
        for (const vantor::AclEntry& entry : *entries) entry.Text();
    }
    return 0;
}
