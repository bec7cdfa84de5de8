#pragma once

#include "keyassign/KeyCapture.h"
#include "keyassign/MacroPage.h"
#include "keymodel/AssignmentRecords.h"
#include "profiles/KeyChoice.h"
#include "profiles/ProfileStore.h"
#include "ui/SkinnedDialog.h"
#include "ui/ImageButton.h"

#include <QRect>

#include <functional>
#include <map>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace vantor {

// The key assignment dialog on "Composite.ini": what one key of the current on-board profile
// does. It opens for a key or extra-key button of the main window, shows four pages (Single
// key with key capture and the mouse functions, Macro, Media, Function) and Clear, and its
// OK or Apply writes one record of the working store by the rules of ApplyKeyChoice. Nothing
// goes to the keyboard here; the main window's Apply sends it.
class KeyAssignDialog : public SkinnedDialog {
    Q_OBJECT

public:
    // Control ids of the dialog.
    enum ControlId : int {
        kApply = 1015, kPageKey = 1028, kPageMacro = 1029, kPageMedia = 1030, kPageFunction = 1031,
        kClear = 1032, kMask = 1033, kTitle = 1131, kOsk = 1132, kKeyField = 1127,
        kKeyRadio = 1185, kMouseRadio = 1186, kMouseList = 1187, kMediaList = 1128,
        kFunctionList = 1129, kMacroList = 1126, kCycles = 1125
    };

    // What the dialog needs of the main window.
    struct Host {
        ProfileStore* store = nullptr;
        std::function<int()> block;          // the block the key buttons show
        std::function<ExtraKeyBank()> bank;  // the extra keys the G buttons show
        std::function<bool()> colourView;
        std::function<QRect(int controlId)> buttonRect;  // on the screen
        // The clicked button looks hovered while the dialog is open, and normal again after.
        std::function<void(int controlId, bool open)> showButtonOpen;
        // A record changed: redraw the key buttons and mark the change unapplied.
        std::function<void()> recordsChanged;
        // A colour-selection word changed: redraw the colour view and mark it unapplied.
        std::function<void()> colourChanged;
        std::function<void()> help;
    };

    KeyAssignDialog(const QString& skinIniPath, const QString& skinFolder, Host host,
                        QWidget* parent = nullptr);
    ~KeyAssignDialog() override;

    // Opens the dialog modally for a key or extra-key button and returns its result; -1 for a
    // control that is neither. For the last extra-key button (G9), which the main window's
    // macro command names, it opens centred on the macro page alone. In the colour view it toggles the button's colour-selection
    // word instead and returns 0.
    int OpenForButton(int controlId);
    // Closes the dialog as Cancel does, when it is open.
    void CloseIfOpen();
    bool IsOpen() const { return m_openCount > 0; }

    // The dialog's commands: page buttons, Clear, radios, OSK, Apply, OK and Cancel, and the
    // macro page's.
    void RunCommand(int id) override;
    // Every text in that language.
    void ApplyLanguage(int languageIndex) override;
    // OK writes the record, as Apply does, and closes.
    void accept() override;

    int Type() const { return m_type; }
    KeyCode CapturedKey() const { return m_capturedKey; }
    int RecordIndex() const { return m_record; }
    bool MacroOnly() const { return m_macroOnly; }
    bool IsCapturing() const { return m_capture.IsActive(); }
    MacroPage& Macros() const { return *m_macroPage; }
    // The recorder's clock (monotonic milliseconds unless a test sets its own).
    void SetRecorderClock(MillisecondClock clock);
    QWidget* Control(int id) const;

protected:
    void SetUp() override;
    void done(int result) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void LoadFaceSets();
    void PlaceControls();
    void FillLists();
    void ShowPage(int type, bool initial);
    void SetPageButton(int type);
    void SelectKeyRadio(bool keyRadio);
    void OnCaptured(KeyCode code, bool press);
    void SetApplyEnabled(bool on);
    void Apply();
    void StartOnScreenKeyboard();
    KeyChoice Choice() const;
    ButtonFaces FacesOfType(int type) const;

    Host m_host;
    KeyCapture m_capture;
    bool m_controlsMade = false;
    int m_openCount = 0;
    int m_controlId = 0;
    int m_record = -1;
    bool m_macroOnly = false;
    int m_type = 0;
    KeyCode m_capturedKey = 0;
    KeyAssignment m_opened{};
    std::map<int, QWidget*> m_controls;
    QLineEdit* m_keyField = nullptr;
    QRadioButton* m_keyRadio = nullptr;
    QRadioButton* m_mouseRadio = nullptr;
    QListWidget* m_mouseList = nullptr;
    QListWidget* m_mediaList = nullptr;
    QListWidget* m_functionList = nullptr;
    MacroPage* m_macroPage = nullptr;
    MillisecondClock m_recorderClock = MonotonicMilliseconds;
    bool m_macroPageShown = false;  // since the dialog opened
    ButtonFaces m_keySet, m_macroSet, m_macro2Set, m_mediaSet, m_functionSet;
};

}  // namespace vantor
