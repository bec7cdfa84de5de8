#include "ui/MessageBox.h"

#include "shell/Paths.h"
#include "shell/lang/Language.h"
#include "ui/SkinLook.h"
#include "ui/SkinPlacement.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

namespace vantor {

namespace {

const QString kSkinFile = QStringLiteral("Skins\\MessageBox.ini");
const QString kButtonInfo = QStringLiteral("BUTTONINFO");

struct ButtonKind {
    QMessageBox::StandardButton button;
    int id;
    const char* languageKey;
};

// The buttons a box can have, in the order they stand.
constexpr ButtonKind kKinds[] = {
    {QMessageBox::Yes, MessageBox::kYesId, "MSGBOX_YES"},
    {QMessageBox::Ok, MessageBox::kOkId, "MSGBOX_OK"},
    {QMessageBox::No, MessageBox::kNoId, "MSGBOX_NO"},
    {QMessageBox::Cancel, MessageBox::kCancelId, "MSGBOX_CANCEL"},
};

QString SkinFile() {
    return AppPaths::Current()->ResolveProgramFile(kSkinFile);
}

// A path breaks after its slashes when it does not fit on one line.
QString Breakable(QString text) {
    return text.replace(u'/', QStringLiteral("/\u200B"));
}

}  // namespace

MessageBox::MessageBox(const QString& text, QMessageBox::StandardButtons buttons,
                       QMessageBox::StandardButton defaultButton, QWidget* parent)
    : SkinnedDialog(SkinFile(), AppPaths::Current()->SkinFolder(), parent),
      m_default(defaultButton) {
    setObjectName(QStringLiteral("MessageBox"));
    setWindowTitle(QString::fromUtf16(kApplicationName));
    for (const ButtonKind& kind : kKinds)
        if (buttons.testFlag(kind.button))
            m_choices.push_back({kind.button, kind.id});
    if (m_choices.empty())
        m_choices.push_back({QMessageBox::Ok, kOkId});
    // Escape answers No, else Cancel, else the only (or last) button.
    m_escape = buttons.testFlag(QMessageBox::No)       ? QMessageBox::No
               : buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel
                                                       : m_choices.back().button;
    if (!buttons.testFlag(m_default))
        m_default = m_choices.front().button;
    m_answer = m_escape;

    // One button stands in the right-hand place; two take both places.
    const char* keys[] = {"CONTROL_MsgButton1", "CONTROL_MsgButton2"};
    for (size_t i = 0; i < m_choices.size() && i < 2; ++i) {
        const char* key = m_choices.size() == 1 ? "CONTROL_MsgButtonOnly" : keys[i];
        ImageButton* button = Buttons().Add(SkinButtonPlace{m_choices[i].id, key});
        button->SetTextStyle(look::WhiteText(10));
        button->setFocusPolicy(Qt::StrongFocus);
    }
    m_label = new QLabel(this);
    m_label->setObjectName(QString::number(kTextId));
    m_label->setStyleSheet(look::kLabelStyle);
    m_label->setFont(QFont(look::kFont, 10));
    m_label->setTextFormat(Qt::PlainText);
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SetText(text);
    ApplyLanguage(GetLanguageIndex());
}

MessageBox::~MessageBox() = default;

bool MessageBox::SkinAvailable() {
    return QFileInfo(SkinFile()).isFile();
}

void MessageBox::SetText(const QString& text) {
    m_text = text;
    m_label->setText(Breakable(text));
}

ImageButton* MessageBox::ButtonOf(QMessageBox::StandardButton button) const {
    for (const Choice& choice : m_choices)
        if (choice.button == button)
            return Button(choice.id);
    return nullptr;
}

void MessageBox::SetUp() {
    SkinnedDialog::SetUp();
    const QPixmap* normal = StatePicture(QStringLiteral("Skins\\msgbox_normal.jpg"));
    const QPixmap* over = StatePicture(QStringLiteral("Skins\\msgbox_over.jpg"));
    PlaceControl(*m_label, SkinIniPath(), kButtonInfo, QStringLiteral("CONTROL_MsgText"));
    PlaceButtons(ButtonFaces{normal, over, over, normal, over});
}

void MessageBox::ApplyLanguage(int languageIndex) {
    for (const ButtonKind& kind : kKinds)
        if (ImageButton* button = ButtonOf(kind.button))
            button->setText(LanguageText(QString::fromLatin1(kind.languageKey), languageIndex));
}

void MessageBox::showEvent(QShowEvent* event) {
    SkinnedDialog::showEvent(event);
    PlaceOverParent();
    if (ImageButton* button = ButtonOf(m_default))
        button->setFocus(Qt::OtherFocusReason);
}

void MessageBox::PlaceOverParent() {
    const QWidget* over = parentWidget() ? parentWidget()->window() : nullptr;
    QRect area;
    if (over && over->isVisible() && !over->isMinimized()) {
        area = over->frameGeometry();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    if (area.isValid())
        move(area.center() - QPoint(width() / 2, height() / 2));
}

void MessageBox::RunCommand(int command) {
    for (const Choice& choice : m_choices)
        if (choice.id == command)
            Choose(choice.button);
}

void MessageBox::Choose(QMessageBox::StandardButton button) {
    m_answer = button;
    SkinnedDialog::accept();
}

void MessageBox::reject() {
    m_answer = m_escape;
    SkinnedDialog::reject();
}

void MessageBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Choose(m_default);
            return;
        case Qt::Key_Escape:
            reject();
            return;
        case Qt::Key_Left:
        case Qt::Key_Right:
            focusNextPrevChild(event->key() == Qt::Key_Right);
            return;
        default:
            SkinnedDialog::keyPressEvent(event);
    }
}

}  // namespace vantor
