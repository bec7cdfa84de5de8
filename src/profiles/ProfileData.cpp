#include "profiles/ProfileData.h"

#include "keymodel/AssignmentRecords.h"

#include <new>

namespace vantor {

ProfileData::ProfileData() : m_texts(kStoreKeyRecordCount) {}

ProfileData ProfileData::Empty() { return ProfileData(); }

ProfileData ProfileData::Default(uint8_t flag) {
    ProfileData data;
    data.m_image = std::make_unique<ProfileImage>();
    FillProfileHeaders(*data.m_image, 0, 0, flag);
    ClearBlock(data.Records().subspan<0, kRecordsPerBlock>());
    return data;
}

std::u16string ProfileData::Text(int record) const {
    const std::u16string& entry = m_texts.at(static_cast<size_t>(record));
    return entry.empty() ? entry : entry.substr(0, entry.size() - 1);
}

uint32_t ProfileData::TextBytes(int record) const {
    return static_cast<uint32_t>(2 * m_texts.at(static_cast<size_t>(record)).size());
}

void ProfileData::SetText(int record, std::u16string text) {
    text.push_back(u'\0');
    m_texts.at(static_cast<size_t>(record)) = std::move(text);
}

void ProfileData::RemoveText(int record) { m_texts.at(static_cast<size_t>(record)).clear(); }

uint32_t ProfileData::TotalTextBytes() const {
    uint32_t total = 0;
    for (const std::u16string& entry : m_texts) {
        total += static_cast<uint32_t>(2 * entry.size());
    }
    return total;
}

void ProfileData::Clear() {
    for (std::u16string& entry : m_texts) {
        std::u16string().swap(entry);
    }
    m_macros.Clear();
    m_image.reset();
}

bool ProfileData::CopyFrom(const ProfileData& other) noexcept {
    if (this == &other) {
        return true;
    }
    try {
        ProfileData copy;
        if (other.m_image) {
            copy.m_image = std::make_unique<ProfileImage>(*other.m_image);
        }
        if (!copy.m_macros.CopyFrom(other.m_macros)) {
            return false;
        }
        copy.m_texts = other.m_texts;
        *this = std::move(copy);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace vantor
