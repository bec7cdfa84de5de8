#include "mainwindow/MainWindowPictures.h"

#include "ui/SkinPictureCache.h"

namespace vantor {

MainWindowPictures MainWindowPictures::Request(const QSize& clientSize) {
    const auto request = [&clientSize](const char* name) {
        return SkinPictureCache::DecodingStatePicture(QString::fromLatin1(name), clientSize);
    };
    MainWindowPictures pictures;
    // Shown by the first paint: the faces of the buttons, of the disabled ones and the arrows.
    pictures.normal = request("Skins\\main_normal.jpg");
    pictures.disabled = request("Skins\\main_disable.jpg");
    pictures.arrow = request("Skins\\Arrow.jpg");
    // Shown once the mouse is over a button or colour mode is on.
    pictures.over = request("Skins\\main_over.jpg");
    pictures.down = request("Skins\\main_down.jpg");
    pictures.colour0 = request("Skins\\main_color0.jpg");
    pictures.colour1 = request("Skins\\main_color1.jpg");
    return pictures;
}

const QPixmap* MainWindowPictures::Of(StateImage image) const {
    switch (image) {
        case StateImage::N: return normal;
        case StateImage::O: return over;
        case StateImage::D: return down;
        case StateImage::X: return disabled;
        case StateImage::A: return arrow;
    }
    return nullptr;
}

ButtonFaces MainWindowPictures::Faces(const std::array<StateImage, 5>& faces) const {
    return {Of(faces[0]), Of(faces[1]), Of(faces[2]), Of(faces[3]), Of(faces[4])};
}

}  // namespace vantor
