#include "mainwindow/OffUiThread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QThread>

#include <thread>

namespace vantor {

int RunOffUiThread(const std::function<int()>& work) {
    int result = 0;
    QEventLoop loop;
    std::thread worker([&] {
        result = work();
        // Queued, so a worker that ends before the loop starts still ends it; by name, so
        // nothing of this thread's crosses with the call.
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    return result;
}

bool IsUiThread() {
    const QCoreApplication* application = QCoreApplication::instance();
    return application == nullptr || QThread::currentThread() == application->thread();
}

}  // namespace vantor
