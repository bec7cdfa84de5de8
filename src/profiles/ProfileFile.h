#pragma once

#include "profiles/ProfileData.h"
#include "profiles/ProfileResult.h"
#include "profiles/ProfileStore.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <optional>

namespace vantor {

// What checking a profile file found.
enum class ProfileCheck {
    Valid,
    Missing,      // no such file
    CannotOpen,   // it exists but cannot be opened for reading
    TooShort,     // shorter than the fixed part of a profile file
    BadHeader,    // a header field is wrong
    CutShort,     // the header is right, but the file ends before its macros and texts do
    OutOfMemory,  // memory ran out while reading it
};

// How a flow reports a file that could not be taken in.
ProfileResult ResultOfCheck(ProfileCheck check);

// A profile file read whole: its contents when the check found it valid.
struct ProfileFileRead {
    ProfileCheck check = ProfileCheck::Missing;
    std::optional<ProfileData> data;
};

// The file image of a store. The headers are rebuilt, and the texts of launch-program and
// text-block keys are laid out in record order, each key's value becoming its text's offset
// (in the data itself, as the file records it); such a key without a text gets the text area's
// size, an offset that reads as no text. nullopt when memory runs out.
std::optional<QByteArray> SerializeProfile(ProfileData& data);

// Lays the texts out as SerializeProfile does, setting the value fields, without building a
// file.
void AssignTextOffsets(ProfileData& data);

// Reads a profile file into new contents. Nothing is validated beyond what reading needs:
// nullopt for a file shorter than its image, macros and text area, more than 100 macros, or
// when memory runs out. A key's text whose offset lies past the text area, or that runs past
// it unterminated, counts as no text.
std::optional<ProfileData> ParseProfile(QIODevice& device);
std::optional<ProfileData> ParseProfileBytes(const QByteArray& bytes);

// The checks of the header alone (Valid, Missing, CannotOpen, TooShort or BadHeader); the real
// length of the file is not compared with its file size field. Shows nothing: a caller that
// tells the user shows "PROFILE_FORMAT_ERROR" with the path for BadHeader.
ProfileCheck ValidateProfileFile(const QString& path);

// The header checks, then the whole file read: what an import takes in.
ProfileFileRead ReadProfileFile(const QString& path);

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
