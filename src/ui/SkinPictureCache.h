#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace vantor {

// Full-window state pictures ("all buttons normal", "all hovered", …) that image buttons cut
// their faces from. Each is decoded once per process and drawn unscaled at (0,0) of a pixmap
// 100 pixels wider and taller than the window's client area (the rest is black), then shared
// by every dialog and button that asks for it. Pointers stay valid until the application ends;
// a window that hides may let go of its pictures' pixels (Release) and have them back later.
// UI thread only (the decoding itself may run on worker threads).
class SkinPictureCache {
public:
    // The state picture of a program-folder file such as "Skins\\main_normal.jpg" (written
    // with '\' or '/', found without regard to case), for a window whose client area is
    // `clientSize`, ready to draw. A missing or undecodable picture ends the process (exit
    // code 0).
    static const QPixmap* StatePicture(const QString& relativeName, const QSize& clientSize);

    // The same for a file given by its full path.
    static const QPixmap* StatePictureOfFile(const QString& path, const QSize& clientSize);

    // When a picture from DecodingStatePicture starts decoding: at once, or only once
    // DecodeHeldBack() is called (or a paint needs it first).
    enum class Start { AtOnce, HeldBack };

    // The same picture without waiting for it: it is decoded on a worker thread, and the pixmap
    // behind the pointer stays null until Ready() is called for it. A window asks for all its
    // pictures this way and goes on setting itself up while they decode, holding back those
    // its first paint does not show; image buttons call Ready() before they draw. A missing
    // file ends the process here, one that does not decode in Ready().
    static const QPixmap* DecodingStatePicture(const QString& relativeName, const QSize& clientSize,
                                               Start start = Start::AtOnce);

    // Starts decoding the pictures held back so far.
    static void DecodeHeldBack();

    // Completes a picture from DecodingStatePicture, waiting for its decoding (or decoding it
    // here when it was held back); any other picture (or null) is returned as it is. Cheap
    // once nothing is decoding.
    static const QPixmap* Ready(const QPixmap* picture);

    // Lets go of a picture's pixels while no window shows it (a hidden window's pictures): the
    // pointer stays good, the pixmap null, until Restore() or Ready() decodes it again. Also
    // drops a decoding under way or held back. Any other pointer is ignored.
    static void Release(const QPixmap* picture);

    // The same for every picture held: for when no window shows any.
    static void ReleaseAll();

    // Starts decoding a released or held-back picture on the worker; nothing for one that is
    // complete or decoding. Pictures are decoded in the order they are restored.
    static void Restore(const QPixmap* picture);

    // How many pictures are held (for tests).
    static int Count();
};

}  // namespace vantor
