#pragma once

// Helpers of the install and package tests: the build's own cmake and cpack, running a program
// to its end, and what an install puts where.

#include "support/ChildProcess.h"

#include <QDir>
#include <QDirIterator>
#include <QSet>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace vantor::test {

inline constexpr int kToolTimeoutMs = 300000;

inline QString BinaryDir() { return qEnvironmentVariable("VANTOR_BINARY_DIR"); }

struct RunResult {
    bool finished = false;
    int exitCode = -1;
    QString out;
    QString err;
    QString Text() const { return out + err; }
};

// Runs a program to its end; `finished` is false when it did not end in time.
inline RunResult Run(const QString& program, const QStringList& args,
                     int timeoutMs = kToolTimeoutMs) {
    ChildProcess process;
    RunResult result;
    if (!process.Start(program, args)) return result;
    result.finished = process.WaitForExit(timeoutMs) && process.ExitedNormally();
    result.exitCode = process.ExitCode();
    result.out = process.Stdout();
    result.err = process.Stderr();
    return result;
}

// `cmake --install` of the build into DESTDIR `root` under `prefix` (DESTDIR empty: into
// `prefix` itself).
inline RunResult InstallBuild(const QString& prefix, const QString& root = QString()) {
    QStringList args{QStringLiteral("-E"), QStringLiteral("env")};
    if (!root.isEmpty()) args << QStringLiteral("DESTDIR=") + root;
    args << QStringLiteral(VANTOR_CMAKE_COMMAND) << QStringLiteral("--install") << BinaryDir()
         << QStringLiteral("--prefix") << prefix;
    return Run(QStringLiteral(VANTOR_CMAKE_COMMAND), args);
}

// Every file and link under a folder, relative to it, and every empty folder with a '/' at
// its end.
inline QSet<QString> TreeEntries(const QString& folder) {
    QSet<QString> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    const QDir base(folder);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString relative = base.relativeFilePath(info.filePath());
        if (!info.isDir() || info.isSymLink()) {
            entries.insert(relative);
        } else if (QDir(info.filePath()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                 QDir::Hidden | QDir::System)) {
            entries.insert(relative + u'/');
        }
    }
    return entries;
}

// A tool on PATH, or empty.
inline QString Tool(const char* name) {
    return QStandardPaths::findExecutable(QString::fromLatin1(name));
}

// The sizes of the application icon in the hicolor theme.
inline constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// What every install holds, relative to the prefix; `autostart` is where the autostart entry
// lands, which depends on the prefix.
inline QStringList ExpectedFiles(const QString& autostart) {
    QStringList files{
        "bin/vantor",
        "bin/vantorctl",
        "bin/vantor-sim",
        "share/vantor/Skins/Main.ini",
        "share/vantor/Skins/tray128.png",
        "share/vantor/Lang0409.ini",
        "share/vantor/Lang0804.ini",
        "share/vantor/Help/index.html",
        "share/vantor/Package/",
        "lib/udev/rules.d/70-vantor-keyboard.rules",
        "share/applications/org.vantor.Vantor.desktop",
        "share/metainfo/org.vantor.Vantor.metainfo.xml",
        "share/man/man1/vantor.1.gz",
        "share/man/man1/vantorctl.1.gz",
        "share/man/man1/vantor-sim.1.gz",
        "share/doc/vantor/copyright",
        "share/doc/vantor/changelog.gz",
    };
    for (const int size : kIconSizes) {
        files << QStringLiteral("share/icons/hicolor/%1x%1/apps/vantor.png").arg(size);
    }
    files << autostart + QStringLiteral("/org.vantor.Vantor.desktop");
    return files;
}

}  // namespace vantor::test
