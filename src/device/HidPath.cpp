#include "device/HidPath.h"

namespace vantor {
namespace HidPath {

QString Compose(const QString& locator, uint16_t vendorId, uint16_t productId, int collection) {
    QString path = QStringLiteral("%1#vid_%2&pid_%3")
                       .arg(locator)
                       .arg(vendorId, 4, 16, QLatin1Char('0'))
                       .arg(productId, 4, 16, QLatin1Char('0'));
    if (collection >= 0) {
        path += QStringLiteral("&col_%1").arg(collection + 1, 2, 10, QLatin1Char('0'));
    }
    return path;
}

QString Locator(const QString& path) {
    const qsizetype hash = path.indexOf(QLatin1Char('#'));
    return hash < 0 ? path : path.left(hash);
}

int CollectionIndex(const QString& path) {
    const QString suffix = path.mid(Locator(path).size());
    const qsizetype at = suffix.indexOf(QLatin1String("col_"), 0, Qt::CaseInsensitive);
    if (at < 0) {
        return 0;
    }
    qsizetype end = at + 4;
    while (end < suffix.size() && end - (at + 4) < 3 && suffix[end] >= QLatin1Char('0') &&
           suffix[end] <= QLatin1Char('9')) {
        ++end;
    }
    bool ok = false;
    const int number = suffix.mid(at + 4, end - (at + 4)).toInt(&ok);
    return ok && number >= 1 && number <= 99 ? number - 1 : -1;
}

}  // namespace HidPath
}  // namespace vantor
