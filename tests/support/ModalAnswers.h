#pragma once

// Answers for the modal dialogs a window opens while a test drives it: message boxes and file
// boxes, each answered when it shows, in order.

#include "ui/ImageButton.h"
#include "support/WaitUntil.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QAbstractButton>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace vantor::test {

// Answers the modal dialogs the window opens, one after the other, each when it shows.
class ModalAnswers : public QObject {
public:
    using Answer = std::function<void(QWidget*)>;
    // `under`: a modal window the test itself runs, which is not answered.
    explicit ModalAnswers(std::vector<Answer> answers, QWidget* under = nullptr)
        : m_answers(std::move(answers)), m_last(under) {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || modal == m_last || m_next >= m_answers.size()) return;
            m_last = modal;
            m_answers[m_next++](modal);
        });
        m_timer.start(10);
    }
    size_t Answered() const { return m_next; }

private:
    std::vector<Answer> m_answers;
    size_t m_next = 0;
    QPointer<QWidget> m_last;
    QTimer m_timer;
};

// Notes a message box's text and presses one of its buttons (the skinned box's image button,
// or the plain box's when the skin has no message box).
inline ModalAnswers::Answer Press(QMessageBox::StandardButton button, QStringList* texts = nullptr) {
    return [button, texts](QWidget* modal) {
        if (auto* box = qobject_cast<MessageBox*>(modal)) {
            if (texts) texts->append(box->Text());
            ImageButton* face = box->ButtonOf(button);
            ASSERT_NE(face, nullptr) << "the box has no such button";
            face->click();
            return;
        }
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr) << "expected a message box";
        if (texts) texts->append(box->text());
        box->button(button)->click();
    };
}

// Looks at the skinned message box, then answers it with a key typed into it.
inline ModalAnswers::Answer TypeKey(Qt::Key key, std::function<void(MessageBox*)> look = {}) {
    return [key, look](QWidget* modal) {
        auto* box = qobject_cast<MessageBox*>(modal);
        ASSERT_NE(box, nullptr) << "expected the skinned message box";
        if (look) look(box);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(box->focusWidget() ? box->focusWidget() : box, &press);
    };
}

// Types a path into a file dialog's name box and presses its accept button.
inline ModalAnswers::Answer ChooseFile(const QString& path) {
    return [path](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr) << "expected a file dialog";
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(path);
        QMetaObject::invokeMethod(dialog, "accept");
    };
}

// Presses a file box's Cancel.
inline ModalAnswers::Answer CancelFile() {
    return [](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr) << "expected a file dialog";
        QMetaObject::invokeMethod(dialog, "reject");
    };
}

// Answers every message box that shows, modal or not and over whatever dialog the test runs,
// with its default button, and notes its text: for a test that checks which messages a flow
// gave rather than answering them one by one. The text is noted as the box shows, so a box
// that something else closes at once (the keyboard's removal closes the window's dialogs) is
// noted too.
class MessageLog : public QObject {
public:
    MessageLog() {
        QApplication::instance()->installEventFilter(this);
        connect(&m_timer, &QTimer::timeout, this, [this] { AnswerShown(); });
        m_timer.start(10);
    }
    // Waits until no box is up (a box queued from keyboard work shows once the loop runs).
    bool Settle() {
        QApplication::processEvents();
        return WaitUntil([] { return OpenBoxes().empty(); });
    }
    QStringList texts;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* window = static_cast<QWidget*>(watched);
            if (IsBox(window) && !Contains(m_noted, window)) {
                m_noted.emplace_back(window);
                if (auto* box = qobject_cast<MessageBox*>(window)) texts << box->Text();
                else texts << static_cast<QMessageBox*>(window)->text();
            }
        }
        return false;
    }

private:
    static bool IsBox(QWidget* window) {
        return qobject_cast<MessageBox*>(window) || qobject_cast<QMessageBox*>(window);
    }
    static bool Contains(const std::vector<QPointer<QWidget>>& windows, QWidget* window) {
        return std::find(windows.begin(), windows.end(), window) != windows.end();
    }
    static std::vector<QWidget*> OpenBoxes() {
        std::vector<QWidget*> boxes;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && IsBox(window)) boxes.push_back(window);
        }
        return boxes;
    }
    void AnswerShown() {
        for (QWidget* window : OpenBoxes()) {
            if (Contains(m_answered, window)) continue;
            m_answered.emplace_back(window);
            if (auto* box = qobject_cast<MessageBox*>(window)) {
                if (ImageButton* button = box->ButtonOf(box->DefaultButton()))
                    button->click();
            } else if (auto* plain = qobject_cast<QMessageBox*>(window)) {
                if (QAbstractButton* button = plain->defaultButton())
                    button->click();
                else
                    plain->reject();
            }
        }
    }

    std::vector<QPointer<QWidget>> m_noted;
    std::vector<QPointer<QWidget>> m_answered;
    QTimer m_timer;
};

}  // namespace vantor::test
