#pragma once

#include "mainwindow/FunctionButtonTable.h"
#include "ui/ImageButton.h"

#include <QPixmap>
#include <QSize>

#include <array>

namespace vantor {

// The main window's full-window state pictures, by the letters its control tables use. They
// come from the skin's picture cache, which decodes them on worker threads: the pointers are
// good at once, and a picture is completed when a button first draws from it, so the window
// sets itself up while they decode and waits only for what its first paint shows; the rest
// is decoded after that paint. While the window is hidden they may be let go (Release) and
// decoded again before it shows (Restore).
struct MainWindowPictures {
    const QPixmap* normal = nullptr;    // N
    const QPixmap* over = nullptr;      // O
    const QPixmap* down = nullptr;      // D
    const QPixmap* disabled = nullptr;  // X
    const QPixmap* arrow = nullptr;     // A
    const QPixmap* colour0 = nullptr;   // C0
    const QPixmap* colour1 = nullptr;   // C1

    // Asks for all seven for a window of `clientSize`: those the first paint shows start
    // decoding at once, the others wait for DecodeRest(). A missing picture ends the process
    // here, before anything shows.
    static MainWindowPictures Request(const QSize& clientSize);
    // Starts decoding the hover faces, which the first paint does not need. Each of these
    // pictures is a few megabytes: the pressed faces and the colour view's are decoded when a
    // button first draws one.
    void DecodeRest() const;

    // Lets go of the pixels of all seven; the pointers stay good.
    void Release() const;
    // Starts decoding them again, those the first paint shows first; the pressed faces and the
    // colour view's when they are drawn.
    void Restore() const;

    const QPixmap* Of(StateImage image) const;
    ButtonFaces Faces(const std::array<StateImage, 5>& faces) const;
};

}  // namespace vantor
