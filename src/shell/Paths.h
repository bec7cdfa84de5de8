#pragma once

#include <QProcessEnvironment>
#include <QString>

#include <memory>

namespace vantor {

// The name of the application: the user folder's name and the settings' application name.
inline constexpr char16_t kApplicationName[] = u"Halvex Q780DX Keyboard";

// Every path the program uses, built from the running executable and the environment.
//
// The program folder holds the skins, language files, help page and package folder: it is the
// executable's folder when that holds "Skins", else the installed layout "../share/vantor"
// beside it. VANTOR_PROGRAM_DIR, when set, names it outright. The user folder lives under
// $XDG_DATA_HOME (default ~/.local/share), the settings under $XDG_CONFIG_HOME (default
// ~/.config).
//
// Names relative to the program folder may be written with '\'; a name whose exact spelling
// is missing is matched without regard to letter case, one path component at a time.
//
// Folder paths carry no trailing '/'. Tests point everything at temporary folders by building
// an AppPaths from Roots and making it current.
class AppPaths {
public:
    struct Roots {
        QString executableFile;  // absolute path of the running program
        QString programFolder;
        QString configHome;     // $XDG_CONFIG_HOME
        QString dataHome;       // $XDG_DATA_HOME
        QString runtimeFolder;  // $XDG_RUNTIME_DIR, or a private folder under the temp folder
    };

    explicit AppPaths(Roots roots);

    static AppPaths FromExecutable(
        const QString& executableFile,
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

    // The process-wide paths; built from the running executable on first use.
    static std::shared_ptr<const AppPaths> Current();
    // Makes the paths current for the whole process (and the settings store that follows them).
    static void SetCurrent(std::shared_ptr<const AppPaths> paths);

    const Roots& GetRoots() const { return m_roots; }

    QString ExecutableFile() const { return m_roots.executableFile; }
    QString ExecutableName() const;    // file name only
    QString ExecutableFolder() const;  // where sibling programs live
    QString ProgramFolder() const { return m_roots.programFolder; }
    QString HelpFolder() const;
    QString HelpPage() const;  // "index.html" in the help folder
    QString SkinFolder() const;
    QString MainSkinFile() const;
    QString CompositeSkinFile() const;
    QString ProfileSkinFile() const;
    QString UpdateSkinFile() const;
    // Prefix of the colour files shipped with the skin ("…/Skins/UserDengColor_"), and the
    // shipped colour file of a profile.
    QString SkinColourPrefix() const;
    QString SkinColourFile(int profile) const;
    QString PackageFolder() const;
    QString DaemonPath() const;  // the sibling executable "senvik"

    QString ConfigHome() const { return m_roots.configHome; }
    QString DataHome() const { return m_roots.dataHome; }
    QString RuntimeFolder() const { return m_roots.runtimeFolder; }
    // The settings store file standing in for the registry.
    QString SettingsFile() const;

    QString UserFolder() const;          // $XDG_DATA_HOME/Halvex Q780DX Keyboard
    QString ColourSettingsFile() const;  // "wskb.ini" in the user folder
    QString UserColourPrefix() const;    // "…/UserDengColor_" in the user folder
    QString UserColourFile(int profile) const;
    QString WorkingProfileFile() const;  // "$Profile0" in the user folder
    // Creates the user folder when missing; false when it cannot be created.
    bool EnsureUserFolder() const;

    // A file of the program folder, given a name relative to it ('\' or '/').
    QString ResolveProgramFile(const QString& relativeName) const;
    // A file of the skin folder, given a name relative to it.
    QString ResolveSkinFile(const QString& relativeName) const;

    // base + relativeName, matched without regard to case where the exact name is missing. A
    // name that matches nothing comes back with its given spelling.
    static QString ResolveCaseInsensitive(const QString& base, const QString& relativeName);

private:
    Roots m_roots;
};

}  // namespace vantor
