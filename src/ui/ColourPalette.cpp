#include "ui/ColourPalette.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor {

namespace {

// One preset: a square of its colour, ringed while the pointer is over it.
class PaletteCell : public QAbstractButton {
public:
    PaletteCell(QColor colour, QWidget* parent) : QAbstractButton(parent), m_colour(colour) {
        setFixedSize(18, 18);
        setToolTip(colour.name());
        setAttribute(Qt::WA_Hover);
    }
    QColor Colour() const { return m_colour; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect().adjusted(2, 2, -2, -2), m_colour);
        painter.setPen(underMouse() ? Qt::white : QColor(0x5a, 0x60, 0x6c));
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }

private:
    QColor m_colour;
};

}  // namespace

// Greys, then full, light and dark hues, ten to a row.
const std::array<QRgb, ColourPalette::kColumns * ColourPalette::kRows> ColourPalette::kPresets = {
    0x000000, 0x1c1c1c, 0x383838, 0x555555, 0x717171, 0x8e8e8e, 0xaaaaaa, 0xc6c6c6, 0xe2e2e2, 0xffffff,
    0xff0000, 0xff8000, 0xffff00, 0x80ff00, 0x00ff00, 0x00ff80, 0x00ffff, 0x0080ff, 0x0000ff, 0xff00ff,
    0xff8080, 0xffc080, 0xffff80, 0xc0ff80, 0x80ff80, 0x80ffc0, 0x80ffff, 0x80c0ff, 0x8080ff, 0xff80ff,
    0x800000, 0x804000, 0x808000, 0x408000, 0x008000, 0x008040, 0x008080, 0x004080, 0x000080, 0x800080,
};

ColourPalette::ColourPalette(QColor automatic, QColor current, QWidget* owner)
    : QFrame(owner, Qt::Popup), m_current(current) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    auto* automaticButton = new QPushButton(QStringLiteral("Automatic"), this);
    connect(automaticButton, &QPushButton::clicked, this, [this, automatic] { Choose(automatic); });
    m_automatic = automaticButton;
    layout->addWidget(automaticButton);

    auto* grid = new QGridLayout;
    grid->setSpacing(1);
    for (int i = 0; i < kColumns * kRows; ++i) {
        auto* cell = new PaletteCell(QColor::fromRgb(kPresets[size_t(i)]), this);
        connect(cell, &QAbstractButton::clicked, this, [this, cell] { Choose(cell->Colour()); });
        m_presets[size_t(i)] = cell;
        grid->addWidget(cell, i / kColumns, i % kColumns);
    }
    layout->addLayout(grid);

    auto* other = new QPushButton(QStringLiteral("other"), this);
    connect(other, &QPushButton::clicked, this, &ColourPalette::ChooseOther);
    m_other = other;
    layout->addWidget(other);
}

void ColourPalette::Choose(QColor colour) {
    emit Chosen(colour);
    close();
}

void ColourPalette::ChooseOther() {
    // The popup gives way to the dialog; the choice still reaches whoever listens.
    hide();
    const QColor colour = QColorDialog::getColor(m_current, parentWidget());
    if (colour.isValid()) emit Chosen(colour);
    close();
}

}  // namespace vantor
