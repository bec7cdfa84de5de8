#pragma once

#include "keyassign/UserMessages.h"
#include "profiles/ProfileData.h"
#include "profiles/ProfileStore.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <optional>

namespace vantor {

// What ValidateProfileFile gives.
enum ProfileValidation : int {
    kProfileValid = 1,
    kProfileInvalid = 0,        // missing, too short, or a header check failed
    kProfileCannotOpen = -2,
    kProfileOutOfMemory = -3,
};

// The file image of a store. The headers are rebuilt, and the texts of launch-program and
// text-block keys are laid out in record order, each key's value becoming its text's offset
// (in the data itself, as the file records it). nullopt when memory runs out.
std::optional<QByteArray> SerializeProfile(ProfileData& data);

// Lays the texts out as SerializeProfile does, setting the value fields, without building a
// file.
void AssignTextOffsets(ProfileData& data);

// Reads a profile file into new contents. Nothing is validated beyond what reading needs:
// nullopt for a file shorter than its image, macros and text area, more than 100 macros, a
// text whose offset lies past the text area or that runs past it unterminated, or when memory
// runs out.
std::optional<ProfileData> ParseProfile(QIODevice& device);
std::optional<ProfileData> ParseProfileBytes(const QByteArray& bytes);

// 1 valid, 0 invalid or missing, -2 cannot be opened. A file that was read and failed a
// header check shows "PROFILE_FORMAT_ERROR" with the path; nothing else shows a message.
int ValidateProfileFile(const QString& path, UserMessages& messages);

// Replaces the store's contents with the file's: 1 when the whole file was taken in; 0, and
// the store as it was, otherwise.
int LoadProfileFile(ProfileStore& store, const QString& path);

// Writes the store to the path, atomically: on failure the file is as it was.
bool SaveProfileToPath(ProfileStore& store, const QString& path);
// Writes the store to the working profile file, only when that file exists: 1 when written.
int SaveWorkingProfile(ProfileStore& store);

// Writes a default profile file (no macros, no texts, the given flag): 1 when written.
int CreateDefaultProfile(const QString& path, uint8_t flag);
// Makes the default profile the store's contents.
int CreateDefaultProfile(ProfileStore& store, uint8_t flag);

// Creates the user folder when missing and gives it the three user colour files, copies of the
// skin's colour template. Nothing happens when the folder exists.
void EnsureProfileFolder();

}  // namespace vantor
