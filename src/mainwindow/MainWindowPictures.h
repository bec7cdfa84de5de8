#pragma once

#include "mainwindow/FunctionButtonTable.h"
#include "ui/CPngButton.h"

#include <QPixmap>
#include <QSize>

#include <array>

namespace vantor {

// The main window's full-window state pictures, by the letters its control tables use. They
// come from the skin's picture cache, which decodes them on worker threads: the pointers are
// good at once, and a picture is completed when a button first draws from it, so the window
// sets itself up while they decode and waits only for what its first paint shows.
struct MainWindowPictures {
    const QPixmap* normal = nullptr;    // N
    const QPixmap* over = nullptr;      // O
    const QPixmap* down = nullptr;      // D
    const QPixmap* disabled = nullptr;  // X
    const QPixmap* arrow = nullptr;     // A
    const QPixmap* colour0 = nullptr;   // C0
    const QPixmap* colour1 = nullptr;   // C1

    // Asks for all seven for a window of `clientSize`, those the first paint shows first. A
    // missing picture ends the process here, before anything shows.
    static MainWindowPictures Request(const QSize& clientSize);

    const QPixmap* Of(StateImage image) const;
    ButtonFaces Faces(const std::array<StateImage, 5>& faces) const;
};

}  // namespace vantor
