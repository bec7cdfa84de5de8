// Draws the default skin: the skin INI files, every picture they and the windows name, the
// tray pictures and the colour template, into the folder given on the command line.

#include "ColourTemplate.h"
#include "DialogSkins.h"
#include "MainWindowSkin.h"
#include "TrayIcons.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // Headless by default: the build runs this without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    // "--icons FOLDER": the application icon for the desktop's icon theme, nothing else.
    if (args.size() == 3 && args[1] == QLatin1String("--icons")) {
        return vantor::skingen::WriteApplicationIcons(args[2]) ? 0 : 1;
    }
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: vantor-skin-generator <skin folder> | --icons <hicolor folder>\n");
        return 2;
    }
    const QString folder = args[1];
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "skin-generator: cannot create %s\n", qUtf8Printable(folder));
        return 1;
    }
    using namespace vantor::skingen;
    bool ok = WriteMainSkin(folder);
    ok &= WriteColourTemplate(folder);
    ok &= WriteTrayIcons(folder);
    ok &= WriteCompositeSkin(folder);
    ok &= WriteProfileSkin(folder);
    ok &= WriteUpdateSkin(folder);
    ok &= WriteMessageBoxSkin(folder);
    return ok ? 0 : 1;
}
