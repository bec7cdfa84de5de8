#include "ui/SkinPicture.h"

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
    QImage image = reader.read();
    if (image.isNull()) {
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
