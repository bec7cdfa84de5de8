#pragma once

#include "ui/SkinButtonSet.h"

#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QRegion>
#include <QString>

#include <future>
#include <optional>

namespace vantor {

// The base of every skinned window: frameless and translucent, painted with its background
// picture at (0,0), sized to that picture, shaped by its mask picture (exactly the non-white
// pixels stay) and dragged by any free point of its surface.
//
// The skin INI's "SCREEN" section names the pictures: "Main" (background) and "Mask" (default:
// the "Main" value), relative to the skin folder. A missing value or picture ends the process
// (exit code 0, no message).
//
// The scaffold every skinned window is built on:
// - Set-up runs once per opening, before the dialog first shows (or when Initialise() is
//   called): derived dialogs override SetUp(), call SkinnedDialog::SetUp() first (which sizes
//   the window from its picture and starts decoding the skin on another thread), then take
//   their state pictures and place their controls; the skin is complete (background, shape)
//   once Initialise() returns.
// - Image buttons are made with AddButtons() and placed from the skin with PlaceButtons(); a
//   click runs RunCommand() with the button's id, which is its command.
// - ApplyLanguage() sets the texts of a language: the base sets the title from its key.
// - Closing: a derived accept() or reject() does its work first and calls the base's to close;
//   one that does not keeps the dialog open. Closing frees the pictures; the next opening
//   loads them again.
class SkinnedDialog : public QDialog {
    Q_OBJECT

public:
    // The ids of the OK and Cancel buttons wherever a skinned window has them.
    enum StandardId : int { kOk = 1, kCancel = 2 };

    SkinnedDialog(QString skinIniPath, QString skinFolder, QWidget* parent = nullptr);
    ~SkinnedDialog() override;

    const QString& SkinIniPath() const { return m_skinIniPath; }
    const QString& SkinFolder() const { return m_skinFolder; }

    // Runs SetUp() unless it already ran for this opening.
    void Initialise();
    bool IsInitialised() const { return m_initialised; }

    const QImage& Background() const { return m_background; }

    // A full-window state picture of a program-folder file ("Skins\\key_normal.jpg") for this
    // window's size; decoded once per process, shared by every instance (SkinPictureCache).
    const QPixmap* StatePicture(const QString& relativeName) const;

    // The image button of a control id, or null.
    ImageButton* Button(int id) const { return m_buttons.Button(id); }
    // A command: a click on one of the dialog's image buttons, or a request from elsewhere.
    virtual void RunCommand(int /*command*/) {}
    // Sets the dialog's texts in a language; the base sets the title.
    virtual void ApplyLanguage(int languageIndex);

    void setVisible(bool visible) override;

public slots:
    void accept() override;
    void reject() override;

protected:
    // Loads the skin. Derived dialogs call it first from their own override.
    virtual void SetUp();

    // The language key of the window title; none leaves the title alone.
    void SetTitleKey(QString languageKey) { m_titleKey = std::move(languageKey); }
    void AddButtons(std::span<const SkinButtonPlace> places) { m_buttons.Add(places); }
    SkinButtonSet& Buttons() { return m_buttons; }
    // Lets go of the background picture while the window stays hidden without closing; the next
    // showing loads the skin again, as an opening does.
    void ReleaseSkin() { FreeSkin(); }
    // Places every button of AddButtons() with the faces.
    void PlaceButtons(const ButtonFaces& faces) { m_buttons.Place(m_skinIniPath, faces); }

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct DecodedSkin {
        std::optional<QImage> background;
        std::optional<QRegion> shape;  // none when the mask did not decode
    };

    void LoadSkin();
    // Waits for the skin's decoding and takes its pictures and shape; a picture that did not
    // decode ends the process.
    void CompleteSkin();
    void FreeSkin();

    QString m_skinIniPath;
    QString m_skinFolder;
    QString m_titleKey;
    SkinButtonSet m_buttons;
    QImage m_background;
    QPixmap m_backgroundPixmap;
    std::future<DecodedSkin> m_decoding;
    bool m_initialised = false;
    // Moving by mouse deltas where the platform will not move the window itself.
    bool m_dragging = false;
    QPoint m_dragStartGlobal;
    QPoint m_dragStartPos;
};

}  // namespace vantor
