#include "ui/FirstPaintMark.h"

#include <QEvent>
#include <QMetaObject>

#include <cstdio>

namespace vantor {

namespace {

class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget& window, QByteArray line) : QObject(&window), m_line(std::move(line)) {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            watched->removeEventFilter(this);
            // The paint event comes before the frame is flushed to the screen; a queued call
            // runs once the whole repaint, flush included, is done.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    std::fprintf(stderr, "%s\n", m_line.constData());
                    std::fflush(stderr);
                    deleteLater();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    QByteArray m_line;
    bool m_seen = false;
};

}  // namespace

void MarkFirstPaint(QWidget& window, QByteArray line) { new FirstPaintWatch(window, std::move(line)); }

}  // namespace vantor
