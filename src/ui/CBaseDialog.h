#pragma once

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
// Initialisation runs once per opening, before the dialog first shows (or when Initialise()
// is called): derived dialogs override OnInitDialog(), call CBaseDialog::OnInitDialog() first
// (which sizes the window from its picture and starts decoding the skin on another thread),
// then take their state pictures and place their controls; the skin is complete (background,
// shape) once Initialise() returns. OK and Cancel (accept(), reject(), Escape) run the OnOK() /
// OnCancel() hooks first; a hook that returns false keeps the dialog open. Closing frees the
// pictures; the next opening loads them again.
class CBaseDialog : public QDialog {
    Q_OBJECT

public:
    CBaseDialog(QString skinIniPath, QString skinFolder, QWidget* parent = nullptr);
    ~CBaseDialog() override;

    const QString& SkinIniPath() const { return m_skinIniPath; }
    const QString& SkinFolder() const { return m_skinFolder; }

    // Runs OnInitDialog() unless it already ran for this opening.
    void Initialise();
    bool IsInitialised() const { return m_initialised; }

    const QImage& Background() const { return m_background; }

    // A full-window state picture of a program-folder file ("Skins\\key_normal.jpg") for this
    // window's size; decoded once per process, shared by every instance (SkinPictureCache).
    const QPixmap* StatePicture(const QString& relativeName) const;

    void setVisible(bool visible) override;

public slots:
    void accept() override;
    void reject() override;

protected:
    // Loads the skin. Derived dialogs call it first from their own override.
    virtual void OnInitDialog();
    // Work a derived dialog does before closing; false keeps the dialog open.
    virtual bool OnOK() { return true; }
    virtual bool OnCancel() { return true; }

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
