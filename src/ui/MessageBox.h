#pragma once

#include "ui/SkinnedDialog.h"

#include <QMessageBox>
#include <QString>

#include <vector>

class QLabel;

namespace vantor {

// The program's one message box, for every question and notice: a skinned dialog on the
// skin's "MessageBox.ini" (background, outline, image buttons), placed over its parent (or in
// the middle of the screen), with the text in the skin's text well and the buttons' words in
// the chosen language ("MSGBOX_YES", "MSGBOX_NO", "MSGBOX_OK", "MSGBOX_CANCEL").
//
// Keys: Enter takes the default button, Escape the No or Cancel answer (OK when it is the only
// button); Tab and the arrow keys move between the buttons and Space presses the one that has
// the focus. Closing it otherwise answers as Escape does. The answer is a standard button.
class MessageBox : public SkinnedDialog {
    Q_OBJECT

public:
    // Control ids of the buttons, which are also their commands.
    enum ControlId : int { kOkId = 1, kCancelId = 2, kYesId = 6, kNoId = 7, kTextId = 1300 };

    MessageBox(const QString& text, QMessageBox::StandardButtons buttons,
               QMessageBox::StandardButton defaultButton, QWidget* parent = nullptr);
    ~MessageBox() override;

    // Whether the skin has the box's file; without it the program's plain box stands in.
    static bool SkinAvailable();

    QString Text() const { return m_text; }
    void SetText(const QString& text);
    QMessageBox::StandardButton DefaultButton() const { return m_default; }
    QMessageBox::StandardButton EscapeButton() const { return m_escape; }
    // The answer given; the escape answer until one is.
    QMessageBox::StandardButton Answer() const { return m_answer; }
    // The image button of a standard button, or null.
    ImageButton* ButtonOf(QMessageBox::StandardButton button) const;
    QLabel* TextLabel() const { return m_label; }
    // Answers as a click on the button would.
    void Choose(QMessageBox::StandardButton button);

    void RunCommand(int command) override;
    void ApplyLanguage(int languageIndex) override;

public slots:
    void reject() override;

protected:
    void SetUp() override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Choice {
        QMessageBox::StandardButton button;
        int id;
    };

    void PlaceOverParent();

    QString m_text;
    QLabel* m_label = nullptr;
    std::vector<Choice> m_choices;  // in the order they stand, left to right
    QMessageBox::StandardButton m_default;
    QMessageBox::StandardButton m_escape;
    QMessageBox::StandardButton m_answer;
};

}  // namespace vantor
