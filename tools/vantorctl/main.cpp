// vantorctl: the keyboard's configuration on the command line.

#include "VantorCtl.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return vantor::ctl::RunVantorCtl(app.arguments().mid(1), out, err);
}
