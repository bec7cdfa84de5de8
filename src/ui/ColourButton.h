#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPointer>

#include "ui/ColourPalette.h"

namespace vantor {


// A colour picker button: it shows its colour as a swatch and, clicked, drops down a palette
// (ColourPalette). A choice there becomes the button's colour and is reported; the automatic
// choice yields the button's automatic colour.
class ColourButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit ColourButton(QWidget* parent = nullptr);

    void SetColour(QColor colour);
    QColor Colour() const { return m_colour; }
    void SetAutomaticColour(QColor colour) { m_automatic = colour; }
    QColor AutomaticColour() const { return m_automatic; }
    // The palette while it is open, else null.
    ColourPalette* OpenPalette() const { return m_palette; }

signals:
    // The user chose a colour (also the one the button already had).
    void ColourChosen(QColor colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowPalette();

    QColor m_colour = Qt::white;
    QColor m_automatic = Qt::white;
    QPointer<ColourPalette> m_palette;
};

}  // namespace vantor
