#pragma once

#include "SkinWindow.h"

#include <QString>

namespace vantor::skingen {

// The key assignment dialog: "Composite.ini" and its five page picture sets.
SkinWindow BuildCompositeWindow();
bool WriteCompositeSkin(const QString& folder);

// The profile manager: "Profile.ini" and its three pictures.
SkinWindow BuildProfileWindow();
bool WriteProfileSkin(const QString& folder);

// The firmware update dialog: "UpdateDlg.ini" and its two pictures.
SkinWindow BuildUpdateWindow();
bool WriteUpdateSkin(const QString& folder);

// The message box: "MessageBox.ini" and its two pictures.
SkinWindow BuildMessageBoxWindow();
bool WriteMessageBoxSkin(const QString& folder);

}  // namespace vantor::skingen
