#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace vantor {

// A clickable picture that shows one of two skin pictures: off (not selected) or on
// (selected). The lamp, the direction and colour pictures, the random toggles and the tool
// pictures are all of this kind; what a click means is the window's to decide.
class StatePicture : public QAbstractButton {
    Q_OBJECT

public:
    explicit StatePicture(QWidget* parent = nullptr);

    // A missing picture leaves that state empty.
    void SetPictures(const QPixmap& off, const QPixmap& on);
    void SetOn(bool on);
    bool IsOn() const { return m_on; }
    // The picture the current state shows.
    const QPixmap& Shown() const { return m_on ? m_onPicture : m_offPicture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_offPicture;
    QPixmap m_onPicture;
    bool m_on = false;
};

}  // namespace vantor
