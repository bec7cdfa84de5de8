#pragma once

#include <QApplication>

namespace vantor::test {

// The widget application of a test or benchmark program, made on first use and kept: test
// programs end it in their main (TestMain.cpp); benchmarks never do, since an application torn
// down among the static destructors at exit would outlive Qt's own globals. Widgets draw
// offscreen unless QT_QPA_PLATFORM says otherwise, and closing the last window does not quit.
inline QApplication& EnsureApplication() {
    static int argc = 1;
    static char name[] = "vantor-test";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!QApplication::instance()) {
        new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
    }
    return *qApp;
}

}  // namespace vantor::test
