#pragma once

// Helpers for the widget tests: one application for the whole run, waiting on a condition
// (support/WaitUntil.h), and pictures written into a test environment's program folder.

#include "support/Application.h"
#include "support/TestEnvironment.h"
#include "support/WaitUntil.h"

#include <QApplication>
#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QString>

namespace vantor::test {

// First member of a fixture that holds pixmaps, which need the application before they exist.
struct ApplicationScope {
    ApplicationScope() { EnsureApplication(); }
};

// A picture whose every pixel says where it is: red = x, green = y, blue = `tag`. A face cut
// from the wrong place or the wrong picture shows at once.
inline QImage PatternPicture(int width, int height, int tag) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, tag & 0xFF));
        }
    }
    return image;
}

inline QByteArray Encode(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Writes the picture under the program folder ("Skins\\x.bmp"); returns its path.
inline QString WritePicture(const TestEnvironment& env, const QString& relativeName,
                            const QImage& image, const char* format = "BMP") {
    return env.WriteProgramFile(relativeName, Encode(image, format));
}

}  // namespace vantor::test
