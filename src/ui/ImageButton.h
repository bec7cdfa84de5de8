#pragma once

#include "ui/ButtonFace.h"
#include "ui/ButtonText.h"

#include <QAbstractButton>
#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>

namespace vantor {

// The five state pictures a button cuts its faces from, in state order. Each points at a
// full-window picture (SkinPictureCache); a null picture draws nothing for that state.
struct ButtonFaces {
    const QPixmap* normal = nullptr;
    const QPixmap* hover = nullptr;
    const QPixmap* pressed = nullptr;
    const QPixmap* disabled = nullptr;
    const QPixmap* selected = nullptr;

    // All five the same picture.
    static ButtonFaces All(const QPixmap* picture) {
        return {picture, picture, picture, picture, picture};
    }
};

// How a button draws its text.
struct ButtonTextStyle {
    bool drawText = true;
    int pointSize = 8;
    QString family = QStringLiteral("Tahoma Unicode MS");  // a sans-serif face stands in when missing
    // Text colour of each state (normal, hover, pressed, disabled, selected), as 0x00BBGGRR.
    std::array<uint32_t, 5> colours = {0, 0, 0, 0, 0};
    uint32_t format = TextFormat::kDefault;  // draw-text format flags, see ButtonText.h
};

// The skinned image button. Its face is the button-sized rectangle at (x − 1, y − 1) of the
// state picture chosen by ChooseButtonFace, where (x, y) is the face origin (normally the
// button's own position in the window, as the skin readers set it).
//
//   auto* ok = new ImageButton(dialog);
//   PlaceImageButton(*ok, iniPath, "BUTTONINFO", "CONTROL_OK", faces);  // position and faces
//   ok->SetTextStyle(style);
//   ok->setText(LanguageText("PROFILE_OK"));
//
// A double click acts as a second press (two clicked() signals, never a double-click event).
// The tooltip shows 300 ms after the mouse comes to rest over the button.
class ImageButton : public QAbstractButton {
    Q_OBJECT

public:
    // Called after every paint with the button and whether the face drawn was the normal
    // picture; windows use it to redraw neighbours that overlap this button.
    using AfterDraw = std::function<void(ImageButton* button, bool normalFace)>;

    static constexpr int kToolTipDelayMs = 300;

    explicit ImageButton(QWidget* parent = nullptr);
    ~ImageButton() override;

    // Face origin and pictures; clears hover and pressed. Repaints when `redraw`.
    void SetPictures(QPoint origin, const ButtonFaces& faces, bool redraw = true);
    // Pictures only, keeping the face origin.
    void SetPictures(const ButtonFaces& faces, bool redraw = true);
    // The alternative pair shown in toggle mode (whatever the state, unless disabled).
    void SetTogglePair(const QPixmap* first, const QPixmap* second, bool toggleMode,
                       bool showSecond, bool redraw = true);
    void SetSelected(bool selected, bool redraw = true);
    void SetTextStyle(const ButtonTextStyle& style);
    // Text turned counter-clockwise by escapement / 10 degrees; the rotated mode also makes the
    // font bold and centres the turned text in the button.
    void SetEscapement(int escapement, bool rotated);
    // When on, the button draws a 2-pixel outline in `colourRef` (0x00BBGGRR) instead of a face.
    void SetOutline(uint32_t colourRef, bool on);
    void SetAfterDraw(AfterDraw callback);
    // The tooltip text; `activate` false keeps it from showing.
    void SetToolTipText(const QString& text, bool activate = true);
    void Redraw();

    QPoint FaceOrigin() const { return m_origin; }
    bool IsSelected() const { return m_selected; }
    bool IsHovered() const { return m_hover; }
    bool IsOutlined() const { return m_outline; }
    uint32_t OutlineColour() const { return m_outlineColour; }
    const ButtonTextStyle& TextStyle() const { return m_style; }
    QString ToolTipText() const { return m_toolTip; }
    // The face a paint would choose now, and the picture chosen by the last paint.
    ButtonFace CurrentFace() const;
    const QPixmap* LastPicture() const { return m_lastPicture; }
    // The picture of a face (null when not set).
    const QPixmap* PictureOf(ButtonFace face) const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void DrawText(class QPainter& painter, ButtonFace face);
    void ShowToolTip();

    QPoint m_origin{1, 1};
    ButtonFaces m_faces;
    const QPixmap* m_toggleFirst = nullptr;
    const QPixmap* m_toggleSecond = nullptr;
    bool m_toggleMode = false;
    bool m_showSecond = false;
    bool m_hover = false;
    bool m_selected = false;
    ButtonTextStyle m_style;
    int m_escapement = 0;
    bool m_rotated = false;
    bool m_outline = false;
    uint32_t m_outlineColour = 0;
    AfterDraw m_afterDraw;
    QString m_toolTip;
    bool m_toolTipActive = false;
    QTimer m_toolTipTimer;
    const QPixmap* m_lastPicture = nullptr;
};

}  // namespace vantor
