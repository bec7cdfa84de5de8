#include "ui/FirstPaint.h"

#include <QEvent>
#include <QMetaObject>

namespace vantor {

namespace {

class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget& window, std::function<void()> work)
        : QObject(&window), m_work(std::move(work)) {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen &&
            static_cast<QWidget*>(watched)->isVisible()) {
            m_seen = true;
            watched->removeEventFilter(this);
            // The paint event comes before the frame is flushed to the screen; a queued call
            // runs once the whole repaint, flush included, is done.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    m_work();
                    deleteLater();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> m_work;
    bool m_seen = false;
};

}  // namespace

void AfterFirstPaint(QWidget& window, std::function<void()> work) {
    new FirstPaintWatch(window, std::move(work));
}

}  // namespace vantor
