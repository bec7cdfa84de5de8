#pragma once

// A private world for one test: a temporary program folder (with "Skins"), temporary XDG config,
// data and runtime folders, and a fixed system locale. While it lives, AppPaths::Current(), the
// settings store, the language files and the application settings all point into it; its
// destructor puts back the paths and locale that were current before and removes the folders.
//
//   vantor::test::TestEnvironment env;
//   env.WriteLanguageFile(1, {{"MAIN_PROMPT_DEFAULT", "Restore the defaults?"}});
//   env.SetLanguageIndex(1);
//   EXPECT_EQ(vantor::LanguageText("MAIN_PROMPT_DEFAULT"), "Restore the defaults?");
//
// The system locale reads as English (United States) until SetSystemLocale() says otherwise, so
// a fresh store chooses English. Not for use by two threads at once; nest at most one per test.

#include "shell/AtomicFile.h"
#include "shell/FileSnapshot.h"
#include "shell/IniDocument.h"
#include "shell/Paths.h"
#include "shell/lang/Language.h"
#include "shell/lang/SystemLanguage.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <memory>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace vantor::test {

// Key and text pairs of one section of a language file, in file order.
using LanguageTexts = std::vector<std::pair<QString, QString>>;

class TestEnvironment {
public:
    TestEnvironment()
        : m_previousPaths(AppPaths::Current()), m_previousLocale(SystemLocaleOverride()) {
        const QString root = m_root.path();
        AppPaths::Roots roots;
        roots.programFolder = root + QStringLiteral("/program");
        roots.executableFile = roots.programFolder + QStringLiteral("/vantor");
        roots.configHome = root + QStringLiteral("/config");
        roots.dataHome = root + QStringLiteral("/data");
        roots.runtimeFolder = root + QStringLiteral("/runtime");
        for (const QString& folder : {roots.programFolder + QStringLiteral("/Skins"),
                                      roots.configHome, roots.dataHome, roots.runtimeFolder}) {
            QDir().mkpath(folder);
        }
        // A runtime folder must be private to its user, or Qt complains in child processes.
        QFile::setPermissions(roots.runtimeFolder,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        m_paths = std::make_shared<const AppPaths>(roots);
        AppPaths::SetCurrent(m_paths);
        SetSystemLocaleOverride(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    ~TestEnvironment() {
        AppPaths::SetCurrent(m_previousPaths);
        SetSystemLocaleOverride(m_previousLocale);
    }

    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    bool IsValid() const { return m_root.isValid(); }
    QString Root() const { return m_root.path(); }
    const AppPaths& Paths() const { return *m_paths; }
    QString ProgramFolder() const { return m_paths->ProgramFolder(); }
    QString SkinFolder() const { return m_paths->SkinFolder(); }
    QString ConfigHome() const { return m_paths->ConfigHome(); }
    QString DataHome() const { return m_paths->DataHome(); }
    QString UserFolder() const { return m_paths->UserFolder(); }
    QString SettingsFile() const { return m_paths->SettingsFile(); }

    // Writes (replacing) the language file of index 0 or 1 as UTF-16 LE, sections "TEXT",
    // "LIGHT" and "MODE" in that order, each only when given texts. Returns its path.
    QString WriteLanguageFile(int index, const LanguageTexts& text, const LanguageTexts& light = {},
                              const LanguageTexts& mode = {}) const {
        IniDocument document;
        const std::pair<const char16_t*, const LanguageTexts*> sections[] = {
            {u"TEXT", &text}, {u"LIGHT", &light}, {u"MODE", &mode}};
        for (const auto& [section, texts] : sections) {
            for (const auto& [key, value] : *texts) {
                document.SetValue(QString::fromUtf16(section), key, value);
            }
        }
        return WriteProgramFile(LanguageFileName(LanguageIdOfIndex(index)), document.Bytes());
    }

    // Writes (replacing) a file of the program folder, making its folders; returns its path.
    QString WriteProgramFile(const QString& relativeName, const QByteArray& bytes) const {
        QString relative = relativeName;
        relative.replace(u'\\', u'/');
        const QString path = ProgramFolder() + u'/' + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        WriteFileAtomically(path, bytes);
        return path;
    }

    // Stores the language choice of the index, as the program would.
    bool SetLanguageIndex(int index) const { return vantor::SetLanguageIndex(index); }

    // The locale the program takes for the system's.
    void SetSystemLocale(const QLocale& locale) const { SetSystemLocaleOverride(locale); }

    // Benchmarks only (a test never waits): sleeps until files written now are past the
    // language cache's recent window, so lookups measure the steady state.
    static void WaitUntilFilesSettle() {
        std::this_thread::sleep_for(std::chrono::nanoseconds(FileSnapshot::kRecentWindowNs) +
                                    std::chrono::milliseconds(100));
    }

    // The environment that points a child process (vantorctl, vantor) at these folders.
    QProcessEnvironment ProcessEnvironment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VANTOR_PROGRAM_DIR"), ProgramFolder());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), ConfigHome());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), DataHome());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_paths->RuntimeFolder());
        return environment;
    }

private:
    QTemporaryDir m_root;
    std::shared_ptr<const AppPaths> m_previousPaths;
    std::optional<QLocale> m_previousLocale;
    std::shared_ptr<const AppPaths> m_paths;
};

}  // namespace vantor::test
