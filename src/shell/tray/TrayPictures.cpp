#include "shell/tray/TrayPictures.h"

#include "shell/Paths.h"
#include "shell/skin/SkinIni.h"

#include <QFileInfo>

namespace vantor {

QIcon TrayPicture(int code) {
    const auto paths = AppPaths::Current();
    const QString fallback = QStringLiteral("tray%1.png").arg(code);
    SkinIni skin(paths->MainSkinFile());
    const QString name =
        skin.ReadString(QStringLiteral("TRAY"), QString::number(code), fallback).value_or(fallback);
    const QString file = paths->ResolveSkinFile(name);
    return QFileInfo::exists(file) ? QIcon(file) : QIcon();
}

}  // namespace vantor
