#pragma once

#include "shell/skin/SkinGeometry.h"
#include "ui/ImageButton.h"

#include <QString>
#include <QWidget>

namespace vantor {

// The readers that place a window's controls from its skin INI file. Each reads the geometry
// "x,y,w,h" of a key (default "1,1,1,1,x" when the file, section or key is missing) and returns
// what it read.

// Moves the button to (x, y) with size w × h, gives it the five faces with face origin (x, y),
// and disables it when x = 1 and y = 1 (the skin's way of leaving a control out).
SkinGeometry PlaceImageButton(ImageButton& button, const QString& iniPath, const QString& section,
                              const QString& key, const ButtonFaces& faces);

// Moves and sizes any control; no pictures.
SkinGeometry PlaceControl(QWidget& control, const QString& iniPath, const QString& section,
                          const QString& key);

// Moves the control to (x, y), keeping its size.
SkinGeometry PlaceAtPoint(QWidget& control, const QString& iniPath, const QString& section,
                          const QString& key);

// Moves and sizes the button from the first key, and gives all five faces `picture` with the
// face origin (x, y) read from the second key (default (1,1) too). Returns the first geometry.
SkinGeometry PlaceWithOrigin(ImageButton& button, const QString& iniPath, const QString& section,
                             const QString& key, const QString& originSection,
                             const QString& originKey, const QPixmap* picture);

}  // namespace vantor
