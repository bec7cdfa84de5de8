#pragma once

#include <QImage>
#include <QString>

namespace vantor::skingen {

// JPEG quality of the face pictures: high enough that edges and legends do not smear.
inline constexpr int kJpegQuality = 95;

// Writes the picture in the format its name ends with (.jpg, .bmp, .png); the file is
// replaced whole or not at all. Reports the failure on stderr.
bool SavePicture(const QImage& image, const QString& folder, const QString& name);

// Passes ok through, naming what could not be written on stderr when it is false.
bool Report(bool ok, const QString& what);

}  // namespace vantor::skingen
