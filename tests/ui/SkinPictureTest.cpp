#include "ui/SkinPictureCache.h"

#include "UiTestSupport.h"
#include "ui/ImageButton.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace vantor {
namespace {

using test::EnsureApplication;
using test::PatternPicture;
using test::WritePicture;

TEST(SkinPictureCacheTest, DecodesOnceIntoFullWindowPixmap) {
    EnsureApplication();
    test::TestEnvironment env;
    const QImage source = PatternPicture(50, 40, 7);
    const QString path = WritePicture(env, QStringLiteral("Skins\\key_normal.jpg"), source, "PNG");

    // Found from a name with '\' and another letter case; PNG bytes under a .jpg name decode.
    const QPixmap* picture =
        SkinPictureCache::StatePicture(QStringLiteral("skins\\KEY_NORMAL.JPG"), QSize(60, 30));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->size(), QSize(160, 130));
    const QImage image = picture->toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.copy(0, 0, 50, 40), source);
    EXPECT_EQ(image.pixel(55, 20), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(10, 100), qRgb(0, 0, 0));

    // Shared, and never decoded again: the file can go.
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(SkinPictureCache::StatePicture(QStringLiteral("Skins\\key_normal.jpg"), QSize(60, 30)),
              picture);
}

// Whether a picture decodes straight into the canvas (a colour JPEG, an opaque PNG) or apart
// (grey, with alpha, larger than the canvas), the canvas holds what the file holds at its
// top-left corner and black around it.
TEST(SkinPictureCacheTest, EveryKindOfPictureLandsOnABlackCanvas) {
    EnsureApplication();
    test::TestEnvironment env;
    QImage grey = PatternPicture(50, 40, 3).convertToFormat(QImage::Format_Grayscale8);
    QImage alpha = PatternPicture(50, 40, 5).convertToFormat(QImage::Format_ARGB32);
    alpha.setPixel(0, 0, qRgba(10, 20, 30, 255));
    const struct {
        const char* name;
        QImage picture;
        const char* format;
    } cases[] = {{"Skins\\colour.jpg", PatternPicture(50, 40, 1), "JPG"},
                 {"Skins\\opaque.png", PatternPicture(50, 40, 2), "PNG"},
                 {"Skins\\grey.jpg", grey, "JPG"},
                 {"Skins\\alpha.png", alpha, "PNG"},
                 {"Skins\\large.jpg", PatternPicture(200, 150, 4), "JPG"}};
    const QSize client(60, 30);
    for (const auto& c : cases) {
        const QString path = WritePicture(env, QString::fromLatin1(c.name), c.picture, c.format);
        const QImage expected = QImage(path).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(expected.isNull()) << c.name;
        const QPixmap* picture = SkinPictureCache::StatePicture(QString::fromLatin1(c.name), client);
        ASSERT_NE(picture, nullptr) << c.name;
        const QImage image = picture->toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(image.size(), QSize(160, 130)) << c.name;
        const QRect shown = expected.rect() & image.rect();
        EXPECT_EQ(image.copy(shown), expected.copy(shown)) << c.name;
        if (shown.width() < image.width()) {
            EXPECT_EQ(image.pixel(159, 0), qRgb(0, 0, 0)) << c.name;
        }
        if (shown.height() < image.height()) {
            EXPECT_EQ(image.pixel(0, 129), qRgb(0, 0, 0)) << c.name;
        }
    }
}

// Pictures decoded on the worker, at once or held back, are null until first needed and then
// the same as a picture decoded on the spot; a button drawing one completes it.
TEST(SkinPictureCacheTest, DecodingPictureIsCompletedWhenFirstNeeded) {
    EnsureApplication();
    test::TestEnvironment env;
    const QSize client(60, 30);
    enum class How { AtOnce, HeldBackThenStarted, HeldBack, DrawnByButton };
    const struct {
        How how;
        const char* name;
    } cases[] = {{How::AtOnce, "Skins\\a.jpg"},
                 {How::HeldBackThenStarted, "Skins\\b.jpg"},
                 {How::HeldBack, "Skins\\c.jpg"},
                 {How::DrawnByButton, "Skins\\d.jpg"}};
    int tag = 0;
    for (const auto& c : cases) {
        const QString name = QString::fromLatin1(c.name);
        const QImage source = PatternPicture(50, 40, ++tag);
        WritePicture(env, name, source, "PNG");
        const QPixmap* picture = SkinPictureCache::DecodingStatePicture(
            name, client,
            c.how == How::AtOnce ? SkinPictureCache::Start::AtOnce
                                 : SkinPictureCache::Start::HeldBack);
        ASSERT_NE(picture, nullptr) << c.name;
        EXPECT_TRUE(picture->isNull()) << c.name;
        if (c.how == How::HeldBackThenStarted) SkinPictureCache::DecodeHeldBack();

        if (c.how == How::DrawnByButton) {
            ImageButton button;
            button.resize(20, 10);
            button.SetPictures(QPoint(3, 4), ButtonFaces::All(picture));
            const QImage shot = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
            EXPECT_EQ(shot, source.copy(2, 3, 20, 10)) << c.name;
        }
        EXPECT_EQ(SkinPictureCache::Ready(picture), picture) << c.name;
        ASSERT_EQ(picture->size(), QSize(160, 130)) << c.name;
        const QImage image = picture->toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(image.copy(0, 0, 50, 40), source) << c.name;
        EXPECT_EQ(image.pixel(55, 20), qRgb(0, 0, 0)) << c.name;
        // Asked for again either way, it is the same pixmap.
        EXPECT_EQ(SkinPictureCache::StatePicture(name, client), picture) << c.name;
        EXPECT_EQ(SkinPictureCache::DecodingStatePicture(name, client), picture) << c.name;
    }
}

struct ProbeResult {
    int exitCode = -1;
    QByteArray output;
};

ProbeResult RunProbe(const test::TestEnvironment& env, const QStringList& arguments) {
    // Qt in the child complains on stderr about a runtime folder others may enter.
    QFile::setPermissions(env.Paths().RuntimeFolder(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcess probe;
    probe.setProcessEnvironment(env.ProcessEnvironment());
    probe.start(QStringLiteral(VANTOR_UI_SKIN_PROBE), arguments);
    EXPECT_TRUE(probe.waitForFinished(30000));
    EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit);
    return {probe.exitCode(), probe.readAllStandardOutput() + probe.readAllStandardError()};
}

// A picture that cannot be had ends the process at once, with code 0 and not a word.
TEST(SkinPictureExitTest, MissingOrBrokenPictureEndsProcessSilentlyWithZero) {
    EnsureApplication();
    test::TestEnvironment env;
    const QString folder = env.SkinFolder();
    WritePicture(env, QStringLiteral("Skins\\back.bmp"), PatternPicture(20, 20, 1));
    env.WriteProgramFile(QStringLiteral("Skins\\broken.bmp"), "BM not a picture");
    auto ini = [&](const char* name, const QByteArray& text) {
        return env.WriteProgramFile(QStringLiteral("Skins\\") + QLatin1String(name), text);
    };
    const QString good = ini("good.ini", "[SCREEN]\r\nMain=back.bmp\r\n");
    const QString noMain = ini("nomain.ini", "[SCREEN]\r\nMask=back.bmp\r\n");
    const QString noFile = ini("nofile.ini", "[SCREEN]\r\nMain=gone.bmp\r\n");
    const QString badMask = ini("badmask.ini", "[SCREEN]\r\nMain=back.bmp\r\nMask=broken.bmp\r\n");

    // The probe survives a good skin, so an exit below is the skin's doing.
    const ProbeResult ok = RunProbe(env, {QStringLiteral("dialog"), good, folder});
    EXPECT_EQ(ok.exitCode, 3);
    EXPECT_EQ(ok.output.trimmed(), "survived");

    const QStringList failing[] = {
        {QStringLiteral("dialog"), noMain, folder},
        {QStringLiteral("dialog"), noFile, folder},
        {QStringLiteral("dialog"), badMask, folder},
        {QStringLiteral("dialog"), folder + QStringLiteral("/absent.ini"), folder},
        {QStringLiteral("state"), folder + QStringLiteral("/broken.bmp")},
        {QStringLiteral("state"), folder + QStringLiteral("/gone.jpg")},
        // Decoding on the worker: a missing file ends the process when asked for, a broken one
        // when first needed.
        {QStringLiteral("decoding"), QStringLiteral("Skins\\broken.bmp")},
        {QStringLiteral("decoding"), QStringLiteral("Skins\\gone.jpg")},
    };
    for (const QStringList& arguments : failing) {
        const ProbeResult result = RunProbe(env, arguments);
        EXPECT_EQ(result.exitCode, 0) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(result.output.isEmpty()) << result.output.toStdString();
    }
}

}  // namespace
}  // namespace vantor
