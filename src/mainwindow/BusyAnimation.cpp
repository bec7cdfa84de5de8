#include "mainwindow/BusyAnimation.h"

#include "mainwindow/ControlIds.h"
#include "ui/SkinPlacement.h"

#include <QDir>

namespace vantor {

BusyAnimation::BusyAnimation(QWidget* window) : QLabel(window) {
    setObjectName(QString::number(ControlIds::kBusyPicture));
    hide();
    m_frameTimer.setInterval(kFrameMs);
    connect(&m_frameTimer, &QTimer::timeout, this,
            [this] { ShowFrame((m_frame + 1) % kFrameCount); });
    m_lingerTimer.setSingleShot(true);
    m_lingerTimer.setInterval(kLingerMs);
    connect(&m_lingerTimer, &QTimer::timeout, this, &BusyAnimation::Stop);
}

void BusyAnimation::Load(const QString& skinFolder, const QString& skinIniPath) {
    const QDir folder(skinFolder);
    for (int k = 0; k < kFrameCount; ++k) {
        m_frames[k] = QPixmap(folder.filePath(QStringLiteral("jdt%1.bmp").arg(k + 1)));
    }
    PlaceControl(*this, skinIniPath, QStringLiteral("BUTTONINFO"),
                 QStringLiteral("CONTROL_JDTStatic"));
}

void BusyAnimation::Start() {
    m_lingerTimer.stop();
    ShowFrame(0);
    show();
    raise();
    m_frameTimer.start();
}

void BusyAnimation::Finish() {
    if (!m_lingerTimer.isActive()) m_lingerTimer.start();
}

void BusyAnimation::Stop() {
    m_frameTimer.stop();
    hide();
}

void BusyAnimation::ShowFrame(int frame) {
    m_frame = frame;
    setPixmap(m_frames[frame]);
    emit FrameShown(frame);
}

}  // namespace vantor
