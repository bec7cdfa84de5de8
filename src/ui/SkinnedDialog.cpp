#include "ui/SkinnedDialog.h"

#include "shell/Paths.h"
#include "shell/lang/Language.h"
#include "shell/skin/SkinIni.h"
#include "ui/MaskRegion.h"
#include "ui/SkinPicture.h"
#include "ui/SkinPictureCache.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include <future>
#include <optional>

namespace vantor {

namespace {

QString SkinPicturePath(const QString& skinFolder, const std::optional<QString>& name) {
    if (!name) {
        return {};
    }
    return AppPaths::ResolveCaseInsensitive(skinFolder, *name);
}

}  // namespace

SkinnedDialog::SkinnedDialog(QString skinIniPath, QString skinFolder, QWidget* parent)
    : QDialog(parent),
      m_skinIniPath(std::move(skinIniPath)),
      m_skinFolder(std::move(skinFolder)),
      m_buttons(*this, [this](int id) { RunCommand(id); }) {
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    // X11 clips the window to its shape. Elsewhere (Wayland has no window shapes) the window is
    // translucent so that the shape holds where the compositor draws it. An opaque window on
    // X11 also spares the X server compositing every update of it onto the screen.
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        setAttribute(Qt::WA_TranslucentBackground);
    }
    setAttribute(Qt::WA_NoSystemBackground);
}

SkinnedDialog::~SkinnedDialog() = default;

void SkinnedDialog::Initialise() {
    if (m_initialised) {
        return;
    }
    m_initialised = true;
    SetUp();
    CompleteSkin();
}

void SkinnedDialog::SetUp() { LoadSkin(); }

void SkinnedDialog::ApplyLanguage(int languageIndex) {
    if (!m_titleKey.isEmpty()) setWindowTitle(LanguageText(m_titleKey, languageIndex));
}

void SkinnedDialog::LoadSkin() {
    const SkinIni ini(m_skinIniPath);
    const std::optional<QString> main = ini.ReadString(QStringLiteral("SCREEN"), QStringLiteral("Main"));
    const std::optional<QString> mask =
        ini.ReadString(QStringLiteral("SCREEN"), QStringLiteral("Mask"), main.value_or(QString()));
    const QString mainPath = SkinPicturePath(m_skinFolder, main);
    const QString maskPath = SkinPicturePath(m_skinFolder, mask);
    if (!QFileInfo(mainPath).isFile() || !QFileInfo(maskPath).isFile()) ExitForMissingSkinPicture();
    // The window takes its size from the picture's header at once; the pictures and the shape
    // are decoded on another thread while the derived dialog sets itself up (CompleteSkin).
    QImageReader header(mainPath);
    header.setDecideFormatFromContent(true);
    const QSize size = header.size();
    m_decoding = std::async(std::launch::async, [mainPath, maskPath] {
        DecodedSkin skin;
        skin.background = LoadSkinPicture(mainPath);
        // Without a mask of its own the background is its mask: decoded once.
        const std::optional<QImage> maskPicture =
            maskPath == mainPath ? skin.background : LoadSkinPicture(maskPath);
        if (maskPicture) skin.shape = RegionFromMask(*maskPicture);
        return skin;
    });
    if (size.isValid()) setFixedSize(size);
}

void SkinnedDialog::CompleteSkin() {
    if (!m_decoding.valid()) return;
    DecodedSkin skin = m_decoding.get();
    if (!skin.background || !skin.shape) ExitForMissingSkinPicture();
    m_background = *std::move(skin.background);
    m_backgroundPixmap = QPixmap::fromImage(m_background);
    // The picture's own size, should its header have said another.
    setFixedSize(m_background.size());
    setMask(*skin.shape);
    update();
}

void SkinnedDialog::FreeSkin() {
    // A decoding still under way is waited for and dropped.
    m_decoding = {};
    m_background = QImage();
    m_backgroundPixmap = QPixmap();
    m_initialised = false;
    m_dragging = false;
}

const QPixmap* SkinnedDialog::StatePicture(const QString& relativeName) const {
    return SkinPictureCache::StatePicture(relativeName, size());
}

void SkinnedDialog::setVisible(bool visible) {
    if (visible) {
        Initialise();
        raise();
    }
    QDialog::setVisible(visible);
}

void SkinnedDialog::accept() {
    QDialog::accept();
    FreeSkin();
}

void SkinnedDialog::reject() {
    QDialog::reject();
    FreeSkin();
}

void SkinnedDialog::paintEvent(QPaintEvent* event) {
    if (m_backgroundPixmap.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    // Only the parts to repaint: a key button's redraw repaints the picture beneath it, and
    // the whole picture, even clipped, costs a full-size blit spread over worker threads.
    for (const QRect& rect : event->region()) painter.drawPixmap(rect, m_backgroundPixmap, rect);
}

// A press that reaches the dialog itself (no child took it) moves the window: by the window
// manager where the platform offers that, else by following the mouse here.
void SkinnedDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    event->accept();
    QWindow* window = windowHandle();
    if (window && window->startSystemMove()) {
        return;
    }
    m_dragging = true;
    m_dragStartGlobal = event->globalPosition().toPoint();
    m_dragStartPos = pos();
}

void SkinnedDialog::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging || !(event->buttons() & Qt::LeftButton)) {
        QDialog::mouseMoveEvent(event);
        return;
    }
    event->accept();
    move(m_dragStartPos + (event->globalPosition().toPoint() - m_dragStartGlobal));
    update();
}

void SkinnedDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragging = false;
        event->accept();
        return;
    }
    QDialog::mouseReleaseEvent(event);
}

}  // namespace vantor
