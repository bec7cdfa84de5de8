#include "mainwindow/MainWindowPictures.h"

#include "ui/SkinPictureCache.h"

namespace vantor {

MainWindowPictures MainWindowPictures::Request(const QSize& clientSize) {
    const auto request = [&clientSize](const char* name, SkinPictureCache::Start start) {
        return SkinPictureCache::DecodingStatePicture(QString::fromLatin1(name), clientSize, start);
    };
    constexpr auto kAtOnce = SkinPictureCache::Start::AtOnce;
    constexpr auto kHeldBack = SkinPictureCache::Start::HeldBack;
    MainWindowPictures pictures;
    // Shown by the first paint: the faces of the buttons, of the disabled ones and the arrows.
    pictures.normal = request("Skins\\main_normal.jpg", kAtOnce);
    pictures.disabled = request("Skins\\main_disable.jpg", kAtOnce);
    pictures.arrow = request("Skins\\Arrow.jpg", kAtOnce);
    // The hover faces are decoded after the first paint (DecodeRest), or when a button needs
    // them before; the pressed faces and the colour view's only when a button first draws one.
    pictures.over = request("Skins\\main_over.jpg", kHeldBack);
    pictures.down = request("Skins\\main_down.jpg", kHeldBack);
    pictures.colour0 = request("Skins\\main_color0.jpg", kHeldBack);
    pictures.colour1 = request("Skins\\main_color1.jpg", kHeldBack);
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

void MainWindowPictures::Release() const {
    for (const QPixmap* picture : {normal, disabled, arrow, over, down, colour0, colour1})
        SkinPictureCache::Release(picture);
}

void MainWindowPictures::Restore() const {
    // The worker takes them in this order: the first paint's three first.
    for (const QPixmap* picture : {normal, disabled, arrow, over}) {
        SkinPictureCache::Restore(picture);
    }
}

void MainWindowPictures::DecodeRest() const { SkinPictureCache::Restore(over); }

ButtonFaces MainWindowPictures::Faces(const std::array<StateImage, 5>& faces) const {
    return {Of(faces[0]), Of(faces[1]), Of(faces[2]), Of(faces[3]), Of(faces[4])};
}

}  // namespace vantor
