#pragma once

#include <QImage>
#include <QString>

#include <optional>

namespace vantor {

// Ends the process at once, with exit code 0 and no message: what the program does when a skin
// picture is missing or cannot be decoded. Nothing is flushed and no destructor runs.
[[noreturn]] void ExitForMissingSkinPicture();

// Decodes a skin picture (JPEG, BMP, PNG, …; the format is taken from the content, so a
// misnamed file still loads). Nothing when the file is missing or does not decode.
std::optional<QImage> LoadSkinPicture(const QString& path);

// The same, ending the process when the picture cannot be had.
QImage LoadSkinPictureOrExit(const QString& path);

}  // namespace vantor
