// The Debian package that `cpack -G DEB` builds from the install rules (the test
// "package_build" makes it into the build's test-package/): what it holds, its control data,
// its install and removal by dpkg in a scratch root, and lintian's verdict.

#include "install/InstalledTree.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

#include <unistd.h>

namespace vantor {
namespace {

class PackageTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_root = std::make_unique<QTemporaryDir>();
        const QString out = test::BinaryDir() + "/test-package";
        const QStringList debs = QDir(out).entryList({"*.deb"}, QDir::Files);
        if (debs.size() == 1) s_package = out + u'/' + debs.first();
    }
    static void TearDownTestSuite() { s_root.reset(); }

    void SetUp() override {
        if (test::Tool("dpkg-deb").isEmpty() || test::Tool("dpkg-shlibdeps").isEmpty()) {
            GTEST_SKIP() << "dpkg-deb or dpkg-shlibdeps is not installed";
        }
        ASSERT_TRUE(s_root->isValid());
        ASSERT_FALSE(s_package.isEmpty()) << "no single .deb in test-package/: run package_build first";
    }

    static test::RunResult DpkgDeb(const QStringList& args) {
        return test::Run(test::Tool("dpkg-deb"), args);
    }

    // The package's files and empty folders, as paths relative to the root.
    static QSet<QString> PackageEntries() {
        const test::RunResult listing = DpkgDeb({"--contents", s_package});
        QStringList paths;
        for (const QString& line : listing.out.split(u'\n', Qt::SkipEmptyParts)) {
            // mode owner size date time path [-> target]
            QString path = line.section(u' ', 5, -1, QString::SectionSkipEmpty);
            path = path.section(QStringLiteral(" -> "), 0, 0);
            if (path.startsWith(QStringLiteral("./"))) path = path.mid(2);
            if (!path.isEmpty()) paths << path;
        }
        QSet<QString> entries;
        for (const QString& path : paths) {
            if (!path.endsWith(u'/')) {
                entries.insert(path);
                continue;
            }
            const bool empty = std::none_of(paths.begin(), paths.end(), [&](const QString& other) {
                return other != path && other.startsWith(path);
            });
            if (empty) entries.insert(path);
        }
        return entries;
    }

    static inline std::unique_ptr<QTemporaryDir> s_root;
    static inline QString s_package;
};

TEST_F(PackageTest, HoldsExactlyWhatTheInstallRulesLayOutUnderUsr) {
    const QString stage = s_root->filePath("stage");
    const test::RunResult install = test::InstallBuild("/usr", stage);
    ASSERT_TRUE(install.finished && install.exitCode == 0) << install.Text().toStdString();
    const QSet<QString> package = PackageEntries();
    EXPECT_EQ(package, test::TreeEntries(stage));
    for (const QString& file : test::ExpectedFiles("../etc/xdg/autostart")) {
        const QString path = QDir::cleanPath("usr/" + file) + (file.endsWith(u'/') ? "/" : "");
        EXPECT_TRUE(package.contains(path)) << path.toStdString();
    }
}

TEST_F(PackageTest, ControlDataNamesTheQtRuntimeAndTheUdevSteps) {
    const test::RunResult depends = DpkgDeb({"--field", s_package, "Depends"});
    for (const char* library : {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6network6"}) {
        EXPECT_TRUE(depends.out.contains(QLatin1String(library))) << depends.out.toStdString();
    }
    EXPECT_FALSE(DpkgDeb({"--field", s_package, "Description"}).out.trimmed().isEmpty());

    const QString control = s_root->filePath("control");
    ASSERT_EQ(DpkgDeb({"--control", s_package, control}).exitCode, 0);
    QFile conffiles(control + "/conffiles");
    ASSERT_TRUE(conffiles.open(QIODevice::ReadOnly));
    EXPECT_EQ(conffiles.readAll().trimmed(), "/etc/xdg/autostart/org.vantor.Vantor.desktop");
    for (const char* script : {"postinst", "postrm"}) {
        QFile file(control + u'/' + QLatin1String(script));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << script;
        const QByteArray text = file.readAll();
        // udev is asked only when it runs, and never for another root.
        EXPECT_TRUE(text.contains("[ -S /run/udev/control ]")) << script;
        EXPECT_TRUE(text.contains("DPKG_ROOT")) << script;
        EXPECT_TRUE(QFileInfo(file).isExecutable()) << script;
    }
}

// dpkg itself installs and removes the package under a scratch root with its own database; the
// maintainer scripts run outside it with DPKG_ROOT set, and so leave this system's udev alone.
TEST_F(PackageTest, InstallsAndPurgesInAScratchRoot) {
    if (::geteuid() != 0) GTEST_SKIP() << "dpkg installs as root only";
    const QString root = s_root->filePath("root");
    const QString admin = root + "/var/lib/dpkg";
    for (const char* folder : {"info", "updates", "triggers"}) {
        ASSERT_TRUE(QDir().mkpath(admin + u'/' + QLatin1String(folder)));
    }
    for (const char* file : {"status", "available"}) {
        QFile empty(admin + u'/' + QLatin1String(file));
        ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    }
    const QStringList dpkg{"--root=" + root, "--log=" + s_root->filePath("dpkg.log"),
                           "--force-script-chrootless", "--force-depends"};
    const test::RunResult install = test::Run(test::Tool("dpkg"), dpkg + QStringList{"--install", s_package});
    ASSERT_TRUE(install.finished && install.exitCode == 0) << install.Text().toStdString();
    for (const char* file : {"usr/bin/vantor", "usr/bin/vantorctl", "usr/share/vantor/Skins/Main.ini",
                             "usr/lib/udev/rules.d/70-vantor-keyboard.rules",
                             "etc/xdg/autostart/org.vantor.Vantor.desktop"}) {
        EXPECT_TRUE(QFileInfo::exists(root + u'/' + QLatin1String(file))) << file;
    }
    const test::RunResult status = test::Run(test::Tool("dpkg-query"),
                                             {"--admindir=" + admin, "--show", "--showformat=${Status}", "vantor"});
    EXPECT_EQ(status.out, "install ok installed");

    const test::RunResult purge = test::Run(test::Tool("dpkg"), dpkg + QStringList{"--purge", "vantor"});
    ASSERT_TRUE(purge.finished && purge.exitCode == 0) << purge.Text().toStdString();
    // Nothing of the package is left, only the folders dpkg itself keeps.
    QStringList left;
    for (const QString& entry : test::TreeEntries(root)) {
        if (!entry.startsWith(QStringLiteral("var/lib/dpkg/"))) left << entry;
    }
    EXPECT_TRUE(left.isEmpty()) << left.join(u' ').toStdString();
}

TEST_F(PackageTest, LintianReportsNoError) {
    const QString lintian = test::Tool("lintian");
    if (lintian.isEmpty()) GTEST_SKIP() << "lintian is not installed";
    const test::RunResult result = test::Run(lintian, {"--fail-on", "error", s_package});
    EXPECT_TRUE(result.finished && result.exitCode == 0) << result.Text().toStdString();
    // What it says below errors is kept in the test's log.
    std::printf("%s", qPrintable(result.Text()));
}

}  // namespace
}  // namespace vantor
