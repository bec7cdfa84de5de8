// vantor: the keyboard's configuration program, living in the tray.

#include "mainwindow/VantorApplication.h"

int main(int argc, char** argv) { return vantor::RunVantor(argc, argv); }
