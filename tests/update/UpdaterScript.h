#pragma once

// A stand-in updater for the tests: a shell script, written into a test's folder, that notes
// what it was started with, so a test can tell that it ran and how.

#include <QFile>
#include <QString>

namespace vantor::test {

// Writes the script; `body` runs after it has noted its folder and its argument count in
// "<path>.pwd" and "<path>.args". Executable unless asked otherwise.
inline bool WriteUpdaterScript(const QString& path, const QString& body = {},
                               bool executable = true) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QString text = QStringLiteral("#!/bin/sh\n"
                                        "pwd > '%1.pwd.tmp'; mv '%1.pwd.tmp' '%1.pwd'\n"
                                        "echo $# > '%1.args'\n")
                             .arg(path) +
                         body;
    file.write(text.toUtf8());
    file.close();
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (executable) permissions |= QFile::ExeOwner;
    return QFile::setPermissions(path, permissions);
}

}  // namespace vantor::test
