#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace vantor {

// The about box: the application icon, two lines of text (1206, 1205), the skin's web link
// (1124) and OK. At most one exists in the process; OK, Cancel and Escape destroy it, F1 opens
// the help page. Its texts follow the language.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    // Creates and shows the box unless one exists (which is then raised). The link is the main
    // skin's "SCREEN" / "Link" address.
    static AboutDialog* ShowAbout(const QString& link);
    // Closes the box, as cancelled, when it is open (exit and keyboard removal).
    static void CloseAboutIfOpen();
    // The open box, or null.
    static AboutDialog* Instance();

    // Sets the texts of the language index: title "LANG_ABOUT_TITLE", "GUANYU_JIESHAO",
    // "GUANYU_BANQUAN", OK "LANG_ABOUT_OK".
    void ApplyLanguage(int languageIndex);

    QString Link() const { return m_link; }
    QLabel* FirstLine() const { return m_firstLine; }
    QLabel* SecondLine() const { return m_secondLine; }
    QLabel* LinkLabel() const { return m_linkLabel; }
    QPushButton* OkButton() const { return m_ok; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    explicit AboutDialog(const QString& link);

    QString m_link;
    QLabel* m_firstLine = nullptr;
    QLabel* m_secondLine = nullptr;
    QLabel* m_linkLabel = nullptr;
    QPushButton* m_ok = nullptr;
};

}  // namespace vantor
