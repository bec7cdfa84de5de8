#include "profiles/ProfileFile.h"

#include "profiles/ProfileFlows.h"
#include "shell/AtomicFile.h"
#include "shell/Paths.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringLiteral>

#include <cstring>
#include <new>

namespace vantor {

namespace {

constexpr int kTemplateColourFile = 3;

bool CarriesText(const KeyAssignment& record) {
    return record.type == kAssignLaunch || record.type == kAssignText;
}

// Walks the records in order, giving each text-carrying record with a text the next offset
// of the text area, and hands each placement to place(record, offset). A text-carrying record
// left without a text gets the offset of the area's end, which a reader takes as no text: the
// offset it held before could land on another key's text in the area laid out anew.
template <typename Place>
void WalkTexts(ProfileData& data, uint32_t areaSize, Place place) {
    uint32_t offset = 0;
    StoreKeyRecords records = data.Records();
    for (int i = 0; i < kStoreKeyRecordCount; ++i) {
        if (!CarriesText(records[i])) {
            continue;
        }
        const uint32_t length = data.TextBytes(i);
        if (length == 0 || uint64_t{offset} + length > areaSize) {
            records[i].value = areaSize;
            continue;
        }
        records[i].value = offset;
        place(i, offset);
        offset += length;
    }
}

bool ReadExactly(QIODevice& device, char* buffer, qint64 length) {
    qint64 done = 0;
    while (done < length) {
        const qint64 got = device.read(buffer + done, length - done);
        if (got <= 0) {
            return false;
        }
        done += got;
    }
    return true;
}

// Whether the device can still hold that many bytes; a file shorter than its header says is
// refused before anything large is allocated for it.
bool HasBytes(const QIODevice& device, uint64_t length) {
    if (device.isSequential()) {
        return true;
    }
    return device.size() >= device.pos() &&
           static_cast<uint64_t>(device.size() - device.pos()) >= length;
}

}  // namespace

void AssignTextOffsets(ProfileData& data) {
    WalkTexts(data, data.TotalTextBytes(), [](int, uint32_t) {});
}

std::optional<QByteArray> SerializeProfile(ProfileData& data) {
    if (!data.HasImage()) {
        return std::nullopt;
    }
    const uint32_t textSize = data.TotalTextBytes();
    const auto macroCount = static_cast<uint16_t>(data.Macros().Count());
    ProfileImage& image = data.Image();
    FillProfileHeaders(image, macroCount, textSize, 0);
    QByteArray bytes;
    try {
        bytes.resize(static_cast<qsizetype>(image.header.fileSize));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    char* textArea = bytes.data() + kProfileImageSize + qsizetype{kProfileMacroSize} * macroCount;
    std::memset(textArea, 0, textSize);
    WalkTexts(data, textSize, [&](int record, uint32_t offset) {
        const std::u16string text = data.Text(record);
        std::memcpy(textArea + offset, text.c_str(), data.TextBytes(record));
    });
    std::memcpy(bytes.data(), &image, kProfileImageSize);
    if (macroCount > 0) {
        std::memcpy(bytes.data() + kProfileImageSize, data.Macros().Records().data(),
                    size_t{kProfileMacroSize} * macroCount);
    }
    return bytes;
}

std::optional<ProfileData> ParseProfile(QIODevice& device) {
    try {
        ProfileData data;
        auto image = std::make_unique<ProfileImage>();
        if (!ReadExactly(device, reinterpret_cast<char*>(image.get()), kProfileImageSize)) {
            return std::nullopt;
        }
        const uint16_t macroCount = image->header.macroCount;
        const uint32_t textSize = image->header.textAreaSize;
        if (macroCount > kMaxMacros ||
            !HasBytes(device, uint64_t{kProfileMacroSize} * macroCount + textSize)) {
            return std::nullopt;
        }
        std::vector<MacroRecord> macros(macroCount);
        if (macroCount > 0 &&
            !ReadExactly(device, reinterpret_cast<char*>(macros.data()),
                         qint64{kProfileMacroSize} * macroCount)) {
            return std::nullopt;
        }
        std::vector<char16_t> area(textSize / 2 + 1);
        if (!ReadExactly(device, reinterpret_cast<char*>(area.data()), textSize)) {
            return std::nullopt;
        }
        const size_t areaChars = textSize / 2;
        for (int i = 0; i < kStoreKeyRecordCount; ++i) {
            const KeyAssignment& record = image->records[i];
            if (!CarriesText(record)) {
                continue;
            }
            // A text that starts or runs past the text area is no text; the rest of the file
            // is still good.
            const size_t start = (record.value & ~1u) / 2;
            if (start >= areaChars) {
                continue;
            }
            size_t end = start;
            while (end < areaChars && area[end] != u'\0') {
                ++end;
            }
            if (end == areaChars) {
                continue;
            }
            data.SetText(i, std::u16string(area.data() + start, end - start));
        }
        if (!data.Macros().Replace(std::move(macros))) {
            return std::nullopt;
        }
        data.SetImage(std::move(image));
        return data;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::optional<ProfileData> ParseProfileBytes(const QByteArray& bytes) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    if (!buffer.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return ParseProfile(buffer);
}

ProfileResult ResultOfCheck(ProfileCheck check) {
    switch (check) {
    case ProfileCheck::Valid: return ProfileResult::Done;
    case ProfileCheck::Missing:
    case ProfileCheck::CannotOpen: return ProfileResult::FileError;
    case ProfileCheck::OutOfMemory: return ProfileResult::OutOfMemory;
    case ProfileCheck::TooShort:
    case ProfileCheck::BadHeader:
    case ProfileCheck::CutShort: break;
    }
    return ProfileResult::InvalidFile;
}

namespace {

// The header checks on an open file; the header read is left in *header.
ProfileCheck CheckHeader(QFile& file, ProfileFileHeader* header) {
    const qint64 size = file.size();
    if (size > qint64{UINT32_MAX} || size < qint64{kProfileImageSize}) {
        return ProfileCheck::TooShort;
    }
    // Every check lies in the header, so only the header is read.
    if (!ReadExactly(file, reinterpret_cast<char*>(header), sizeof *header)) {
        return ProfileCheck::CannotOpen;
    }
    return ProfileHeaderIsValid(*header) ? ProfileCheck::Valid : ProfileCheck::BadHeader;
}

}  // namespace

ProfileCheck ValidateProfileFile(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        return ProfileCheck::Missing;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return ProfileCheck::CannotOpen;
    }
    ProfileFileHeader header;
    return CheckHeader(file, &header);
}

ProfileFileRead ReadProfileFile(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        return {ProfileCheck::Missing, std::nullopt};
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return {ProfileCheck::CannotOpen, std::nullopt};
    }
    ProfileFileHeader header;
    if (const ProfileCheck check = CheckHeader(file, &header); check != ProfileCheck::Valid) {
        return {check, std::nullopt};
    }
    // The header passes a file cut short after it; only a whole file is taken in. Past this,
    // reading fails only for want of memory.
    if (file.size() < qint64{header.fileSize}) {
        return {ProfileCheck::CutShort, std::nullopt};
    }
    if (!file.seek(0)) {
        return {ProfileCheck::CannotOpen, std::nullopt};
    }
    std::optional<ProfileData> data = ParseProfile(file);
    if (!data) {
        return {ProfileCheck::OutOfMemory, std::nullopt};
    }
    return {ProfileCheck::Valid, std::move(data)};
}

int LoadProfileFile(ProfileStore& store, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    std::optional<ProfileData> data = ParseProfile(file);
    if (!data) {
        return 0;
    }
    store.Replace(std::move(*data));
    return 1;
}

bool SaveProfileToPath(ProfileStore& store, const QString& path) {
    return ExportProfile(store, path) == ProfileResult::Done;
}

int SaveWorkingProfile(ProfileStore& store) {
    const QString path = AppPaths::Current()->WorkingProfileFile();
    if (!QFileInfo::exists(path)) {
        return 0;
    }
    return SaveProfileToPath(store, path) ? 1 : 0;
}

int CreateDefaultProfile(const QString& path, uint8_t flag) {
    ProfileData data = ProfileData::Default(flag);
    const QByteArray bytes(reinterpret_cast<const char*>(&data.Image()), kProfileImageSize);
    return WriteFileAtomically(path, bytes) ? 1 : 0;
}

int CreateDefaultProfile(ProfileStore& store, uint8_t flag) {
    store.Replace(ProfileData::Default(flag));
    return 1;
}

void EnsureProfileFolder() {
    const std::shared_ptr<const AppPaths> paths = AppPaths::Current();
    if (QFileInfo(paths->UserFolder()).isDir() || !paths->EnsureUserFolder()) {
        return;
    }
    QFile colourTemplate(paths->SkinColourFile(kTemplateColourFile));
    if (!colourTemplate.open(QIODevice::ReadOnly)) {
        return;
    }
    const QByteArray bytes = colourTemplate.readAll();
    for (int profile = 0; profile < 3; ++profile) {
        WriteFileAtomically(paths->UserColourFile(profile), bytes);
    }
}

}  // namespace vantor
