#pragma once

#include <QPixmap>
#include <QWidget>

#include <array>

namespace vantor {

// A slider with six positions (0-5) drawn as a whole picture per position, the way the skin
// supplies it. A click or a drag picks the position of the sixth of the width under the
// pointer; Left/Right and Home/End step it. Only the user's acts emit Moved.
class BitmapSlider : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMaxPosition = 5;
    using Pictures = std::array<QPixmap, kMaxPosition + 1>;

    explicit BitmapSlider(QWidget* parent = nullptr);

    // A null picture draws a plain track in its place.
    void SetPictures(const Pictures& pictures);
    // Shows a position; emits nothing.
    void SetPosition(int position);
    int Position() const { return m_position; }
    // The position a point of the widget picks.
    int PositionAt(int x) const;

signals:
    void Moved(int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void MoveTo(int position);

    Pictures m_pictures;
    int m_position = 0;
};

}  // namespace vantor
