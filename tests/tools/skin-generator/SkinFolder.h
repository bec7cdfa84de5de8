#pragma once

// The skin folder the build drew, and readers for its INI files.

#include "shell/IniDocument.h"
#include "shell/skin/SkinGeometry.h"

#include <QDir>
#include <QFile>
#include <QRect>
#include <QString>
#include <QStringList>

namespace vantor::test {

inline QString SkinPath(const QString& name) { return QDir(QStringLiteral(VANTOR_SKIN_DIR)).filePath(name); }

inline IniDocument ReadSkinIni(const QString& name) {
    QFile file(SkinPath(name));
    if (!file.open(QIODevice::ReadOnly)) return IniDocument();
    return IniDocument::Parse(file.readAll());
}

inline QRect GeometryOf(const IniDocument& ini, const QString& key, const QString& section = "BUTTONINFO") {
    return ParseSkinGeometry(ini.ReadString(section, key, QString::fromUtf16(kDefaultSkinGeometry))).Rect();
}

}  // namespace vantor::test
