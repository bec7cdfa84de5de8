#include "ui/SkinPlacement.h"

namespace vantor {

SkinGeometry PlaceImageButton(ImageButton& button, const QString& iniPath, const QString& section,
                              const QString& key, const ButtonFaces& faces) {
    const SkinGeometry geometry = ReadSkinGeometry(iniPath, section, key);
    button.setGeometry(geometry.Rect());
    button.SetPictures(geometry.Origin(), faces, true);
    if (geometry.IsDisabledMarker()) {
        button.setEnabled(false);
    }
    return geometry;
}

SkinGeometry PlaceControl(QWidget& control, const QString& iniPath, const QString& section,
                          const QString& key) {
    const SkinGeometry geometry = ReadSkinGeometry(iniPath, section, key);
    control.setGeometry(geometry.Rect());
    return geometry;
}

SkinGeometry PlaceAtPoint(QWidget& control, const QString& iniPath, const QString& section,
                          const QString& key) {
    const SkinGeometry geometry = ReadSkinGeometry(iniPath, section, key);
    control.move(geometry.Origin());
    control.update();
    return geometry;
}

SkinGeometry PlaceWithOrigin(ImageButton& button, const QString& iniPath, const QString& section,
                             const QString& key, const QString& originSection,
                             const QString& originKey, const QPixmap* picture) {
    const SkinGeometry geometry = ReadSkinGeometry(iniPath, section, key);
    const SkinGeometry origin = ReadSkinGeometry(iniPath, originSection, originKey);
    button.setGeometry(geometry.Rect());
    button.SetPictures(origin.Origin(), ButtonFaces::All(picture), true);
    return geometry;
}

}  // namespace vantor
