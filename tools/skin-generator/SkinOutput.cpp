#include "SkinOutput.h"

#include <QDir>
#include <QSaveFile>

#include <cstdio>

namespace vantor::skingen {

bool Report(bool ok, const QString& what) {
    if (!ok) std::fprintf(stderr, "skin-generator: cannot write %s\n", qUtf8Printable(what));
    return ok;
}

bool SavePicture(const QImage& image, const QString& folder, const QString& name) {
    const QString path = QDir(folder).filePath(name);
    const QString suffix = name.section(u'.', -1).toLower();
    const QByteArray format = suffix == u"jpg" ? "JPEG" : suffix.toLatin1().toUpper();
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok) {
        // BMP files stay 24-bit: the program's bitmap loader needs no alpha channel.
        const QImage out = format == "BMP" ? image.convertToFormat(QImage::Format_RGB888) : image;
        ok = out.save(&file, format.constData(), format == "JPEG" ? kJpegQuality : -1) && file.commit();
    }
    return Report(ok, path);
}

}  // namespace vantor::skingen
