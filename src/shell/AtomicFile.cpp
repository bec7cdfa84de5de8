#include "shell/AtomicFile.h"

#include <QSaveFile>

namespace vantor {

bool WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return false;
    }
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            file.cancelWriting();
            return false;
        }
        done += written;
    }
    return file.commit();
}

}  // namespace vantor
