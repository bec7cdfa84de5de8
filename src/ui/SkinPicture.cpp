#include "ui/SkinPicture.h"

#include "ui/LargeImage.h"

#include <QImageReader>

#include <cstdlib>

namespace vantor {

void ExitForMissingSkinPicture() { std::_Exit(0); }

std::optional<QImage> LoadSkinPicture(const QString& path) {
    if (path.isEmpty()) {
        return std::nullopt;
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    // A picture that decodes to 32-bit RGB (a colour JPEG, an opaque PNG) is decoded into large
    // pages: the reader fills an image of the picture's own size and format as it is. Any other
    // leaves that image untouched and decodes into one of its own.
    QImage image = NewLargeImage(reader.size(), QImage::Format_RGB32);
    if (!reader.read(&image) || image.isNull()) {
        return std::nullopt;
    }
    return image;
}

QImage LoadSkinPictureOrExit(const QString& path) {
    std::optional<QImage> image = LoadSkinPicture(path);
    if (!image) {
        ExitForMissingSkinPicture();
    }
    return *std::move(image);
}

}  // namespace vantor
