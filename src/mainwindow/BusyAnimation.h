#pragma once

#include <QLabel>
#include <QPixmap>
#include <QTimer>

#include <array>

namespace vantor {

// The busy picture of Apply: ten frames "jdt1.bmp"-"jdt10.bmp" from the skin folder, shown one
// after the other every 50 ms while the work runs and hidden 100 ms after it ends. It is driven
// by this thread's event loop, which keeps turning while the work runs on a thread of its own.
class BusyAnimation : public QLabel {
    Q_OBJECT

public:
    static constexpr int kFrameCount = 10;
    static constexpr int kFrameMs = 50;
    static constexpr int kLingerMs = 100;

    explicit BusyAnimation(QWidget* window);

    // Reads the frames (a missing file leaves its frame empty) and places the picture at the
    // skin's "CONTROL_JDTStatic".
    void Load(const QString& skinFolder, const QString& skinIniPath);

    // Apply started: shows the first frame and starts the frame timer.
    void Start();
    // Apply finished: the picture stays 100 ms more, then the timer stops and it hides.
    void Finish();

    bool IsRunning() const { return m_frameTimer.isActive(); }
    int Frame() const { return m_frame; }

signals:
    // Each frame change, for the benchmark that watches the window keep painting.
    void FrameShown(int frame);

private:
    void ShowFrame(int frame);
    void Stop();

    std::array<QPixmap, kFrameCount> m_frames;
    QTimer m_frameTimer;
    QTimer m_lingerTimer;
    int m_frame = 0;
};

}  // namespace vantor
