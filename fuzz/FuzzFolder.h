// The targets that read their input from a file write it into a private temporary folder,
// made once per process, and point the program's paths at it.
#pragma once

#include "shell/Paths.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace vantor::fuzz {

class FuzzFolder {
public:
    static FuzzFolder& Instance() {
        static FuzzFolder folder;
        return folder;
    }

    const AppPaths& Paths() const { return *m_paths; }

    // Replaces the file with the bytes.
    static void Put(const QString& path, const uint8_t* data, size_t size) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) {
            std::abort();
        }
    }

private:
    FuzzFolder() {
        if (!m_root.isValid())
            std::abort();
        AppPaths::Roots roots;
        roots.programFolder = m_root.path() + QStringLiteral("/program");
        roots.executableFile = roots.programFolder + QStringLiteral("/vantor");
        roots.configHome = m_root.path() + QStringLiteral("/config");
        roots.dataHome = m_root.path() + QStringLiteral("/data");
        roots.runtimeFolder = m_root.path() + QStringLiteral("/runtime");
        for (const QString& folder :
             {roots.programFolder, roots.configHome, roots.dataHome, roots.runtimeFolder}) {
            QDir().mkpath(folder);
        }
        m_paths = std::make_shared<const AppPaths>(roots);
        AppPaths::SetCurrent(m_paths);
        if (!m_paths->EnsureUserFolder() ||
            !QDir().mkpath(QFileInfo(m_paths->SettingsFile()).path())) {
            std::abort();
        }
    }

    QTemporaryDir m_root;
    std::shared_ptr<const AppPaths> m_paths;
};

}  // namespace vantor::fuzz
