#include "shell/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <mutex>

#include <unistd.h>

namespace vantor {

namespace {

const QString kSkins = QStringLiteral("Skins");
const QString kColourFilePrefix = QStringLiteral("UserDengColor_");

// An XDG base folder: the variable when it holds an absolute path, else the fallback under home.
QString XdgFolder(const QProcessEnvironment& environment, const QString& variable,
                  const QString& fallbackUnderHome) {
    const QString value = environment.value(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value)) {
        return QDir::cleanPath(value);
    }
    QString home = environment.value(QStringLiteral("HOME"));
    if (home.isEmpty()) {
        home = QDir::homePath();
    }
    return QDir::cleanPath(home + u'/' + fallbackUnderHome);
}

QString RunningExecutable() {
    if (QCoreApplication::instance() != nullptr) {
        return QCoreApplication::applicationFilePath();
    }
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QString ColourFileName(int profile) {
    return kColourFilePrefix + QString::number(profile) + QStringLiteral(".userd");
}

std::mutex& CurrentMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<const AppPaths>& CurrentSlot() {
    static std::shared_ptr<const AppPaths> current;
    return current;
}

}  // namespace

AppPaths::AppPaths(Roots roots) : m_roots(std::move(roots)) {}

AppPaths AppPaths::FromExecutable(const QString& executableFile,
                                  const QProcessEnvironment& environment) {
    Roots roots;
    roots.executableFile = QFileInfo(executableFile).absoluteFilePath();
    const QString folder = QFileInfo(roots.executableFile).absolutePath();

    const QString forced = environment.value(QStringLiteral("VANTOR_PROGRAM_DIR"));
    if (!forced.isEmpty()) {
        roots.programFolder = QDir(folder).absoluteFilePath(QDir::cleanPath(forced));
    } else if (QFileInfo(ResolveCaseInsensitive(folder, kSkins)).isDir()) {
        roots.programFolder = folder;
    } else {
        roots.programFolder = QDir::cleanPath(folder + QStringLiteral("/../share/vantor"));
    }

    roots.configHome = XdgFolder(environment, QStringLiteral("XDG_CONFIG_HOME"),
                                 QStringLiteral(".config"));
    roots.dataHome = XdgFolder(environment, QStringLiteral("XDG_DATA_HOME"),
                               QStringLiteral(".local/share"));
    const QString runtime = environment.value(QStringLiteral("XDG_RUNTIME_DIR"));
    roots.runtimeFolder = !runtime.isEmpty() && QDir::isAbsolutePath(runtime)
                              ? QDir::cleanPath(runtime)
                              : QDir::tempPath() + QStringLiteral("/vantor-") +
                                    QString::number(::getuid());
    return AppPaths(std::move(roots));
}

std::shared_ptr<const AppPaths> AppPaths::Current() {
    std::lock_guard lock(CurrentMutex());
    auto& slot = CurrentSlot();
    if (!slot) {
        slot = std::make_shared<const AppPaths>(FromExecutable(RunningExecutable()));
    }
    return slot;
}

void AppPaths::SetCurrent(std::shared_ptr<const AppPaths> paths) {
    std::lock_guard lock(CurrentMutex());
    CurrentSlot() = std::move(paths);
}

QString AppPaths::ExecutableName() const { return QFileInfo(m_roots.executableFile).fileName(); }

QString AppPaths::ExecutableFolder() const {
    return QFileInfo(m_roots.executableFile).absolutePath();
}

QString AppPaths::HelpFolder() const { return ResolveProgramFile(QStringLiteral("Help")); }

QString AppPaths::HelpPage() const { return ResolveProgramFile(QStringLiteral("Help/index.html")); }

QString AppPaths::SkinFolder() const { return ResolveProgramFile(kSkins); }

QString AppPaths::MainSkinFile() const { return ResolveProgramFile(QStringLiteral("Skins\\Main.ini")); }

QString AppPaths::CompositeSkinFile() const {
    return ResolveProgramFile(QStringLiteral("Skins\\Composite.ini"));
}

QString AppPaths::ProfileSkinFile() const {
    return ResolveProgramFile(QStringLiteral("Skins\\Profile.ini"));
}

QString AppPaths::UpdateSkinFile() const {
    return ResolveProgramFile(QStringLiteral("Skins\\UpdateDlg.ini"));
}

QString AppPaths::SkinColourPrefix() const { return SkinFolder() + u'/' + kColourFilePrefix; }

QString AppPaths::SkinColourFile(int profile) const {
    return ResolveSkinFile(ColourFileName(profile));
}

QString AppPaths::PackageFolder() const { return ResolveProgramFile(QStringLiteral("Package")); }

QString AppPaths::DaemonPath() const { return ExecutableFolder() + QStringLiteral("/senvik"); }

QString AppPaths::SettingsFile() const {
    return m_roots.configHome + QStringLiteral("/vantor/settings.json");
}

QString AppPaths::UserFolder() const {
    return m_roots.dataHome + u'/' + QString::fromUtf16(kApplicationName);
}

QString AppPaths::ColourSettingsFile() const { return UserFolder() + QStringLiteral("/wskb.ini"); }

QString AppPaths::UserColourPrefix() const { return UserFolder() + u'/' + kColourFilePrefix; }

QString AppPaths::UserColourFile(int profile) const {
    return UserFolder() + u'/' + ColourFileName(profile);
}

QString AppPaths::WorkingProfileFile() const {
    return UserFolder() + QStringLiteral("/$Profile%1").arg(0);
}

bool AppPaths::EnsureUserFolder() const { return QDir().mkpath(UserFolder()); }

QString AppPaths::ResolveProgramFile(const QString& relativeName) const {
    return ResolveCaseInsensitive(m_roots.programFolder, relativeName);
}

QString AppPaths::ResolveSkinFile(const QString& relativeName) const {
    return ResolveCaseInsensitive(m_roots.programFolder, kSkins + u'/' + relativeName);
}

QString AppPaths::ResolveCaseInsensitive(const QString& base, const QString& relativeName) {
    QString relative = relativeName;
    relative.replace(u'\\', u'/');
    const QStringList parts = relative.split(u'/', Qt::SkipEmptyParts);
    const QString exact = parts.isEmpty() ? base : base + u'/' + parts.join(u'/');
    if (QFileInfo::exists(exact)) {
        return exact;
    }
    QString resolved = base;
    for (const QString& part : parts) {
        const QString candidate = resolved + u'/' + part;
        if (part == u"." || part == u".." || QFileInfo::exists(candidate)) {
            resolved = candidate;
            continue;
        }
        const QStringList entries =
            QDir(resolved).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                         QDir::NoDotAndDotDot,
                                     QDir::Name);
        const auto match = std::find_if(entries.begin(), entries.end(), [&](const QString& entry) {
            return entry.compare(part, Qt::CaseInsensitive) == 0;
        });
        if (match == entries.end()) {
            return exact;
        }
        resolved += u'/' + *match;
    }
    return resolved;
}

}  // namespace vantor
