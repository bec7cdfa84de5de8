#pragma once

#include "shell/FileSnapshot.h"
#include "shell/IniDocument.h"

#include <QString>

#include <list>
#include <memory>
#include <mutex>

namespace vantor {

// Parsed INI files, parsed again only when their bytes change. Every visible text is looked up
// in a language file, many times per refresh; the cache turns each lookup into one stat() and a
// hash lookup (see FileSnapshot), and still shows an edited file's new texts to the next
// lookup. Safe to use from any thread.
class IniFileCache {
public:
    static constexpr size_t kMaxFiles = 16;

    static IniFileCache& Instance();

    // The parsed file, or null when it is missing or unreadable.
    std::shared_ptr<const IniDocument> Document(const QString& path);
    void Clear();

private:
    struct Entry {
        QString path;
        FileSnapshot snapshot;
        std::shared_ptr<const IniDocument> document;
    };

    std::mutex m_mutex;
    std::list<Entry> m_entries;  // most recently used first
};

}  // namespace vantor
