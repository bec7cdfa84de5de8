#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace vantor {

// The skinned message box (MessageBox) over a window, titled with the application's name; the
// button pressed. Questions pass Yes | No with No the default; information takes the OK default.
QMessageBox::StandardButton ShowUserBox(
    QWidget* owner, const QString& text,
    QMessageBox::StandardButtons buttons = QMessageBox::Ok,
    QMessageBox::StandardButton defaultButton = QMessageBox::Ok);

// What a file box asks for.
struct FileBoxOptions {
    bool save = false;          // a save box (any name, asks before overwriting), else an open box
    QString folder;             // where it starts; empty for the current folder
    QString fileName;           // the name it proposes
    QString filter;             // Qt filter text, "(*.vpf);;(*.*)"
    QString defaultSuffix;      // added to a name typed without one
};

// The chosen file's full path; empty when the box was cancelled.
QString ChooseFileBox(QWidget* owner, const FileBoxOptions& options);

}  // namespace vantor
