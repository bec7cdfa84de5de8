#include "shell/tray/OpenHelp.h"

#include "shell/Paths.h"

#include <QDesktopServices>
#include <QUrl>

namespace vantor {

bool OpenHelp() {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(AppPaths::Current()->HelpPage()));
}

}  // namespace vantor
