#include "TrayIcons.h"

#include "SkinDraw.h"
#include "SkinOutput.h"
#include "TrayIconFiles.h"

#include <QDir>
#include <QImage>
#include <QPainter>

namespace vantor::skingen {
namespace {

// A keyboard seen from above on a transparent square of `size` pixels (drawn on a 64-unit
// grid); `activity` adds a lit dot.
QImage TrayPicture(const QColor& body, const QColor& keys, bool activity, int size = 64) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    const QRectF board(4, 16, 56, 34);
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawRoundedRect(board, 7, 7);
    p.setBrush(keys);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 7; ++col) p.drawRoundedRect(QRectF(9 + col * 7, 21 + row * 7, 5, 5), 1.2, 1.2);
    p.drawRoundedRect(QRectF(18, 42, 28, 4), 1.5, 1.5);  // space bar
    if (activity) {
        p.setBrush(QColor(0xff, 0xff, 0xff));
        p.drawEllipse(QPointF(52, 12), 9, 9);
        p.setBrush(palette::kAccent);
        p.drawEllipse(QPointF(52, 12), 6.5, 6.5);
    }
    return image;
}

}  // namespace

bool WriteTrayIcons(const QString& folder) {
    const QColor grey(0x8a, 0x90, 0x9c), dark(0x2a, 0x2e, 0x37);
    bool ok = SavePicture(TrayPicture(grey, dark, false), folder, vantor::kTrayIconFiles[0].name);
    ok &= SavePicture(TrayPicture(palette::kAccent, QColor(0x2a, 0x16, 0x04), false), folder, vantor::kTrayIconFiles[1].name);
    ok &= SavePicture(TrayPicture(palette::kAccent, QColor(0x2a, 0x16, 0x04), true), folder, vantor::kTrayIconFiles[2].name);
    return ok;
}

bool WriteApplicationIcons(const QString& hicolorFolder) {
    bool ok = true;
    for (const int size : kApplicationIconSizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(hicolorFolder).arg(size);
        ok &= Report(QDir().mkpath(folder), folder);
        ok &= SavePicture(TrayPicture(palette::kAccent, QColor(0x2a, 0x16, 0x04), false, size),
                          folder, QStringLiteral("vantor.png"));
    }
    return ok;
}

}  // namespace vantor::skingen
