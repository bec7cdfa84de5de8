#pragma once

// The build's program folder data (the generated skin and the language files) copied into a
// test's own program folder, so a test can take pictures away without touching the build.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace vantor::test {

inline QString BuildProgramFolder() {
    return qEnvironmentVariable("VANTOR_BINARY_DIR") + QStringLiteral("/bin");
}

// Copies Skins/ and the language files; false when the build has not made them.
inline bool CopyProgramData(const QString& programFolder) {
    const QString source = BuildProgramFolder();
    if (!QFileInfo(source + QStringLiteral("/Skins/Main.ini")).exists()) return false;
    QDirIterator files(source + QStringLiteral("/Skins"), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        const QString target = programFolder + file.mid(source.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::remove(target);
        if (!QFile::copy(file, target)) return false;
    }
    for (const QString& name : {QStringLiteral("Lang0409.ini"), QStringLiteral("Lang0804.ini")}) {
        QFile::remove(programFolder + u'/' + name);
        if (!QFile::copy(source + u'/' + name, programFolder + u'/' + name)) return false;
    }
    return true;
}

}  // namespace vantor::test
