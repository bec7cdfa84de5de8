#include "shell/tray/AboutDialog.h"

#include "shell/lang/Language.h"
#include "shell/tray/OpenHelp.h"
#include "shell/tray/TrayPictures.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace vantor {

namespace {

QPointer<AboutDialog>& OpenBox() {
    static QPointer<AboutDialog> box;
    return box;
}

}  // namespace

AboutDialog::AboutDialog(const QString& link) : QDialog(nullptr), m_link(link) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(TrayPicture(128));

    auto* icon = new QLabel(this);
    icon->setPixmap(TrayPicture(128).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    m_firstLine = new QLabel(this);
    m_firstLine->setObjectName(QStringLiteral("1206"));
    m_firstLine->setWordWrap(true);
    m_secondLine = new QLabel(this);
    m_secondLine->setObjectName(QStringLiteral("1205"));
    m_secondLine->setWordWrap(true);
    m_linkLabel = new QLabel(this);
    m_linkLabel->setObjectName(QStringLiteral("1124"));
    m_linkLabel->setTextFormat(Qt::RichText);
    m_linkLabel->setOpenExternalLinks(true);
    m_linkLabel->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(link.toHtmlEscaped()));
    m_linkLabel->setToolTip(link);
    m_ok = new QPushButton(this);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 3, 1);
    layout->addWidget(m_firstLine, 0, 1);
    layout->addWidget(m_secondLine, 1, 1);
    layout->addWidget(m_linkLabel, 2, 1);
    layout->addWidget(m_ok, 3, 0, 1, 2, Qt::AlignRight);
    layout->setColumnMinimumWidth(1, 320);
}

AboutDialog* AboutDialog::ShowAbout(const QString& link) {
    QPointer<AboutDialog>& box = OpenBox();
    if (!box) {
        box = new AboutDialog(link);
        box->ApplyLanguage(GetLanguageIndex());
        // Once closed (and about to be deleted) a new box may be made at once.
        connect(box, &QDialog::finished, [] { OpenBox() = nullptr; });
    }
    box->show();
    box->raise();
    box->activateWindow();
    return box;
}

void AboutDialog::CloseAboutIfOpen() {
    if (AboutDialog* box = OpenBox()) box->reject();
}

AboutDialog* AboutDialog::Instance() { return OpenBox(); }

void AboutDialog::ApplyLanguage(int languageIndex) {
    setWindowTitle(LanguageText(QStringLiteral("LANG_ABOUT_TITLE"), languageIndex));
    m_firstLine->setText(LanguageText(QStringLiteral("GUANYU_JIESHAO"), languageIndex));
    m_secondLine->setText(LanguageText(QStringLiteral("GUANYU_BANQUAN"), languageIndex));
    m_ok->setText(LanguageText(QStringLiteral("LANG_ABOUT_OK"), languageIndex));
}

void AboutDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        OpenHelp();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace vantor
