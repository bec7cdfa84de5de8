#include "shell/IniFileCache.h"

#include "shell/IniFile.h"

namespace vantor {

IniFileCache& IniFileCache::Instance() {
    static IniFileCache cache;
    return cache;
}

std::shared_ptr<const IniDocument> IniFileCache::Document(const QString& path) {
    std::lock_guard lock(m_mutex);
    auto it = m_entries.begin();
    while (it != m_entries.end() && it->path != path) {
        ++it;
    }
    if (it == m_entries.end()) {
        m_entries.push_front(Entry{path, {}, {}});
        if (m_entries.size() > kMaxFiles) {
            m_entries.pop_back();
        }
    } else {
        m_entries.splice(m_entries.begin(), m_entries, it);
    }
    Entry& entry = m_entries.front();
    if (entry.snapshot.Refresh(path, IniFile::kMaxFileSize)) {
        entry.document = entry.snapshot.Exists()
                             ? std::make_shared<const IniDocument>(IniDocument::Parse(entry.snapshot.Bytes()))
                             : nullptr;
    }
    return entry.document;
}

void IniFileCache::Clear() {
    std::lock_guard lock(m_mutex);
    m_entries.clear();
}

}  // namespace vantor
