#pragma once

#include <QColor>
#include <QFrame>

#include <array>

class QAbstractButton;

namespace vantor {

// The drop-down of a colour button: an automatic choice, ten columns of preset colours and an
// "other" button that opens the platform's colour dialog. It closes when a colour is chosen
// or the user clicks elsewhere.
class ColourPalette : public QFrame {
    Q_OBJECT

public:
    static constexpr int kColumns = 10;
    static constexpr int kRows = 4;
    static const std::array<QRgb, kColumns * kRows> kPresets;

    // `automatic` is what the automatic choice yields; `current` starts the colour dialog.
    ColourPalette(QColor automatic, QColor current, QWidget* owner);

    QAbstractButton* AutomaticButton() const { return m_automatic; }
    QAbstractButton* PresetButton(int index) const { return m_presets[size_t(index)]; }
    QAbstractButton* OtherButton() const { return m_other; }

signals:
    void Chosen(QColor colour);

private:
    void Choose(QColor colour);
    void ChooseOther();

    QColor m_current;
    QAbstractButton* m_automatic = nullptr;
    std::array<QAbstractButton*, kColumns * kRows> m_presets{};
    QAbstractButton* m_other = nullptr;
};

}  // namespace vantor
