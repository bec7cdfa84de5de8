// A data race planted through a Qt value type, for the thread checker to find: a second thread
// fills a QByteArray through Qt's API (a memset inside Qt Core) while the main thread reads the
// same bytes inline, with nothing ordering the two.

#include <QByteArray>

#include <cstdio>
#include <thread>

int main() {
    QByteArray shared(4096, 'a');
    const QByteArray& reader = shared;
    std::thread writer([&shared] { shared.fill('b'); });
    int sum = 0;
    for (qsizetype i = 0; i < reader.size(); ++i) sum += reader.at(i);
    writer.join();
    std::printf("%d\n", sum);
    return 0;
}
