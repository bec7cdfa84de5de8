#include "ui/UserBoxes.h"

#include "shell/Paths.h"
#include "ui/MessageBox.h"

#include <QFileDialog>

namespace vantor {

QMessageBox::StandardButton ShowUserBox(QWidget* owner, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) {
    if (MessageBox::SkinAvailable()) {
        MessageBox box(text, buttons, defaultButton, owner);
        box.exec();
        return box.Answer();
    }
    // A skin made before the message box had its own file: Qt's box stands in.
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf16(kApplicationName), text, buttons,
                    owner);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString ChooseFileBox(QWidget* owner, const FileBoxOptions& options) {
    QFileDialog dialog(owner, QString(), options.folder, options.filter);
    dialog.setAcceptMode(options.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(options.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (!options.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(options.defaultSuffix);
    if (!options.fileName.isEmpty()) dialog.selectFile(options.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace vantor
