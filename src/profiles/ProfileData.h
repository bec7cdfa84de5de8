#pragma once

#include "macros/MacroTable.h"
#include "macros/StoreKeyRecords.h"
#include "profiles/ProfileFileFormat.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vantor {

// The contents of a profile store: the image (headers and the 2048 key records), the macro
// table and the text table, one optional text per key record. A text is kept with its
// terminating NUL, so its byte length is what it takes in a file's text area; an empty entry
// is no text. Move-only: a full store is several megabytes and is copied on purpose only.
class ProfileData {
public:
    ProfileData();
    ProfileData(ProfileData&&) noexcept = default;
    ProfileData& operator=(ProfileData&&) noexcept = default;
    ProfileData(const ProfileData&) = delete;
    ProfileData& operator=(const ProfileData&) = delete;

    // Nothing held: no image, no macros, no texts (the state after clearing).
    static ProfileData Empty();
    // The default profile: empty key maps, with the extra keys' parameter words in block 0.
    static ProfileData Default(uint8_t flag = 0);

    bool HasImage() const { return m_image != nullptr; }
    ProfileImage& Image() { return *m_image; }
    const ProfileImage& Image() const { return *m_image; }
    void SetImage(std::unique_ptr<ProfileImage> image) { m_image = std::move(image); }
    StoreKeyRecords Records() { return StoreKeyRecords(m_image->records); }
    ConstStoreKeyRecords Records() const { return ConstStoreKeyRecords(m_image->records); }
    // The 512 records of one block (0-3).
    std::span<KeyAssignment, kRecordsPerBlock> Block(int block) {
        return Records().subspan(static_cast<size_t>(block) * kRecordsPerBlock).first<kRecordsPerBlock>();
    }

    MacroTable& Macros() { return m_macros; }
    const MacroTable& Macros() const { return m_macros; }

    // The text of a record without its terminator; empty for none.
    std::u16string Text(int record) const;
    // Byte length of the record's text entry including the NUL; 0 for no text.
    uint32_t TextBytes(int record) const;
    // Gives the record a text (terminated here); setText with no value removes it.
    void SetText(int record, std::u16string text);
    void RemoveText(int record);
    uint32_t TotalTextBytes() const;

    void Clear();
    // Replaces this with a copy of the other; false, and this unchanged, when memory runs out.
    bool CopyFrom(const ProfileData& other) noexcept;

private:
    std::unique_ptr<ProfileImage> m_image;
    MacroTable m_macros;
    std::vector<std::u16string> m_texts;  // kStoreKeyRecordCount entries, each NUL-terminated
};

}  // namespace vantor
