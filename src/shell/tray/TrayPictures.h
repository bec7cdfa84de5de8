#pragma once

#include <QIcon>

namespace vantor {

// The picture of a tray state code (128, 141, 142): the file the main skin names in section
// "TRAY" under the code, else "tray<code>.png" in the skin folder. 128 is also the application
// icon. A missing picture gives an empty icon; the program goes on without it.
QIcon TrayPicture(int code);

}  // namespace vantor
