#include "emulator/ReportLogEntry.h"

#include <QByteArray>

namespace vantor {

QString ReportLogEntry::ToLine() const {
    const QByteArray hex =
        QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()))
            .toHex();
    return QString::fromLatin1(direction == Direction::Received ? "> " : "< ") +
           QString::fromLatin1(hex);
}

}  // namespace vantor
