#pragma once

#include "device/DeviceEvents.h"
#include "keyassign/KeyAssignDialog.h"
#include "keymodel/AssignmentRecords.h"
#include "lighting/LightingRead.h"
#include "lighting/PreviewEngine.h"
#include "mainwindow/BusyAnimation.h"
#include "mainwindow/KeyButtonLooks.h"
#include "mainwindow/UiThreadBridge.h"
#include "mainwindow/MainWindowPictures.h"
#include "profiles/ProfileResult.h"
#include "profiles/ProfileStore.h"
#include "shell/InstanceMessages.h"
#include "shell/NamedEvents.h"
#include "shell/ShutdownSequence.h"
#include "shell/TrayState.h"
#include "shell/tray/TrayIcon.h"
#include "ui/MessageBox.h"
#include "ui/SkinnedDialog.h"

#include <QPointer>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>


namespace vantor {

class ClockChangeWatch;
class ImageButton;
class UpdateDialog;
class DeviceLink;
class DeviceState;
class KeyButtonGrid;
class LightingSlots;
class ProfileSlots;
class SessionWatcher;

// The program's main window: a skinned dialog on "Main.ini" that lives hidden in the tray
// from start to exit and is shown only when asked (the keyboard's first arrival, a second
// start, the tray's Open). It is the target of the device threads (DeviceEvents), of the
// requests of a second start (AnswerOtherProgram) and of the tray's commands, and it runs the one
// shutdown sequence of the program.
//
// Its code lies in rooms: MainWindow.cpp (set-up, language, closing), MainWindowLayout.cpp (the
// buttons placed from the skin, Flip), MainWindowCommands.cpp (messages and commands),
// MainWindowDevice.cpp (the keyboard's arrival and events) and MainWindowKeys.cpp (key buttons,
// colour view, preview).
class MainWindow : public SkinnedDialog, public DeviceEvents {
    Q_OBJECT

public:
    // The lighting preview's tick: armed only while colour mode is on, first 100 ms after it
    // comes on, then 50 ms after each tick.
    static constexpr int kPreviewFirstMs = 100;
    static constexpr int kPreviewMs = 50;
    // Used when the skin names no "SCREEN" / "Link".
    static constexpr char16_t kDefaultLink[] = u"https://vantor.app/";

    // What the window needs from the process; every member may be left empty in tests.
    struct Setup {
        // The keyboard's link and what is known of it; both required.
        DeviceLink* link = nullptr;
        DeviceState* deviceState = nullptr;
        // The window can take device events from now on (see DeviceEventsGate): called once,
        // during its setup, when the store and the profile folder are settled.
        std::function<void()> deviceEventsReady;
        // Lets go of the single-instance lock and socket (a shutdown step).
        std::function<void()> releaseInstance;
        QString namedEventPrefix = QString::fromUtf16(NamedEvents::kPrefix);
        bool requireTrayHost = true;
    };

    MainWindow(const QString& mainSkinFile, const QString& skinFolder, Setup setup,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // The process-wide start without the window: the store, the device events, the tray, the
    // session and clock watches. Enough to live in the tray and follow the keyboard ("/Start");
    // the window's skin, pictures and controls are built when it first shows, or when a command
    // of its controls arrives. Runs once; Initialise() runs it too, and builds the window.
    void Start();
    // Whether the window's controls exist (they are built once, and kept).
    bool IsBuilt() const { return m_built; }

    // Every message of the table must carry its tag, else it does nothing and returns 0. The
    // window's own tag, 0x4D41494E, identifies it as the program's main window.
    uint32_t HandleMessage(const WindowMessage& message);
    // The same for a request of another program (a later start): answered once the named
    // events exist, so the program that hears back finds them.
    uint32_t AnswerOtherProgram(const WindowMessage& message);
    // The one place where commands arrive: the window's buttons, the tray menu, the profile
    // menu and a second start's command message. One of the window's controls arriving before
    // the window was ever shown builds it first; it stays hidden.
    void RunCommand(int command) override;
    // OK applies and hides; Cancel only hides: the main window never closes.
    void accept() override;
    void reject() override;
    // Hidden, the window lets go of its pictures (decoded again while it shows) once it has
    // been shown; shown, it is built first when it never was.
    void setVisible(bool visible) override;
    // The shutdown sequence: hide, close child dialogs, release the instance, remove the named
    // events and the tray icon, clear unapplied changes, release the store and the snapshot,
    // end. Runs once; emits Ended() as its last step.
    void Exit();

    uint32_t WindowTag() const { return m_windowTag; }
    bool IsKeyboardConnected() const;
    bool IsClosing() const { return m_bridge.IsClosed(); }
    // Hands work from another thread to this window's thread; it runs once any keyboard work
    // under way has ended (UiThreadBridge).
    void PostToWindow(std::function<void()> work) { m_bridge.Post(std::move(work)); }
    const ShutdownSequence& Shutdown() const { return m_shutdown; }
    TrayIcon& Tray() { return m_tray; }
    const TrayState& TrayStateCode() const { return m_trayState; }
    const NamedEvents& Events() const { return m_events; }
    QString Link() const { return m_link; }
    // The key buttons, the extra-key buttons and Fn.
    KeyButtonGrid& Keys() const { return *m_keys; }
    // The working store the key buttons show, guarded by the process-wide store lock.
    ProfileStore& Store() { return m_store; }
    KeyAssignDialog& KeyAssign() { return *m_keyAssign; }
    // The profile buttons, Apply, Default, import and export.
    ProfileSlots& Profiles() { return *m_profiles; }
    // The lighting panel, the per-key colours and colour mode.
    LightingSlots& Lighting() { return *m_lighting; }
    BusyAnimation& Busy() { return *m_busy; }
    // The firmware update window (command 32780 runs it modally), created on first use.
    UpdateDialog& UpdateWindow();
    bool HasUnappliedChanges() const { return m_unappliedChanges; }
    // Enables Apply while there are changes to send, and marks them.
    void SetUnappliedChanges(bool on);

    // The Fn-layer view: F1-F4 enabled and D1-D6 disabled while Flip is 0, the other way round
    // while it is 1; Flip0 shows the matching picture.
    void ApplyFlip();
    // Stores the negation of the Flip setting and shows it.
    void ToggleFlip();
    int Flip() const { return m_flip; }

    // The key buttons' colour-selection swatches instead of their faces, while on.
    void SetColourView(bool on);
    bool ColourView() const { return m_colourView; }

    // Redraws every key and extra-key button from the block of the keyboard's active profile
    // (block 0 while it is unknown): selected face when assigned, tooltip naming the assignment.
    void RefreshKeyButtons();
    // Returns the key-button records of block `block` to their defaults, redraws the buttons
    // and marks the change as unapplied.
    void ResetProfileAssignments(int block);
    // Shows the button of a record of the current bank as unassigned; the store is untouched.
    void ResetKeyButton(int record);
    // A click on a key, extra-key or Fn button.
    void OnKeyClick(int controlId);
    // Paints a key button's outline in a colour (0x00BBGGRR), or removes it.
    void SetKeyButtonColour(int controlId, uint32_t colour, bool on);
    // Every key, extra-key and Fn button: no outline, no selected face.
    void ResetKeyButtonLooks();
    // Which nine extra keys the G buttons show; nothing in the window changes it, the keyboard
    // model decides (bank A).
    void SetExtraKeyBank(ExtraKeyBank bank);

    // Whether the lighting preview's tick is armed (only in colour mode).
    bool PreviewTicking() const { return m_previewTimer.isActive(); }

    // The window's side of colour mode (LightingSlots switches it): key clicks paint keys and
    // the lighting preview ticks while on.
    void SetColourMode(bool on);
    bool ColourMode() const { return m_colourMode; }
    // Where each preview tick reads the lighting panel's effect, direction, random flag and
    // single colour; without a source the preview paints nothing.
    void SetPreviewSource(std::function<PreviewInput()> source) {
        m_previewSource = std::move(source);
    }
    // An effect was selected: the next tick starts the preview's animations afresh.
    void RestartPreview() { m_preview.ClearInitialised(); }
    // Shows a profile's lighting in the lighting panel.
    virtual void RefreshLightingPanel(int profile);

    // The "no keyboard" box while it shows.
    MessageBox* NoDevicePrompt() const { return m_noDevicePrompt; }
    const SessionWatcher* Session() const { return m_session; }

    // DeviceEvents: called from the device threads, handed to this window's thread through
    // UiThreadBridge; while keyboard work runs they wait for it to end.
    void KeyboardGone() override;
    // Reads what the window shows of the keyboard on the calling thread, so the reading goes on
    // while this window's thread may still be setting the window up; the window's thread then
    // shows it. The store lock is held while reading, so an Apply or import still running
    // ends first. The keyboard's first sight at start shows the window before the reading.
    void KeyboardConnected() override;
    void OpenMainWindow() override;
    void HideMainWindow() override;
    void ShowMessage(const QString& languageKey) override;
    void LightingChanged() override;
    void ProfileSwitched() override;
    void SetTrayState(bool special, int icon) override;

signals:
    // The shutdown has run; the process may end.
    void Ended();

protected:
    void SetUp() override;
    void keyPressEvent(QKeyEvent* event) override;
    // Keys typed anywhere in the window: Enter and Escape never reach OK or Cancel, and the
    // arrows do not move the lighting effect list's selection. No input at all reaches the
    // window while it waits for the keyboard it was opened for.
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The keyboard changed its lighting (LightingChanged).
    virtual void OnLightingTimer();
    // The keyboard reset its profiles (ProfileSwitched); the lighting part of it.
    virtual void OnProfileSwitchTimer();
    // The preview's tick while colour mode is on: one step of the lighting preview.
    virtual void PreviewTick();
    // A key button clicked in colour mode.
    virtual void PaintKey(int controlId);
    // The keyboard arrived: the lighting part, after profiles and buttons.
    virtual void OnKeyboardConnected(const LightingReadout& lighting, bool coloursSent);
    // Shutdown: Apply disabled, unapplied-changes mark cleared; the store and the snapshot
    // released under their locks.
    virtual void ClearUnappliedChanges() { SetUnappliedChanges(false); }
    virtual void ReleaseStore() { m_store.Clear(); }
    virtual void ReleaseSnapshot();

private:
    // What a keyboard's arrival exchanges with it, in this order on the wire: the profile
    // reload's reads, the lighting panel's, and the colour table of the profile the window
    // will show. The table goes out here when the keyboard said which profile is active and
    // offers the user-defined effect; otherwise the window sends what it needs when showing.
    struct KeyboardArrival {
        ProfileResult profile = ProfileResult::KeyboardNoAnswer;
        LightingReadout lighting;
        std::optional<int> coloursSent;  // the profile whose colour table went out
    };
    KeyboardArrival ExchangeOnArrival();
    void ShowKeyboardArrival(const KeyboardArrival& arrival);

    void BuildShutdown();
    // The start, with the window's controls built on the way when `withWindow`.
    void StartProcess(bool withWindow);
    // Builds the window's controls from the skin, showing the state the window holds: the key
    // buttons with `looks`, the profile buttons, the lighting panel, the texts. Runs once.
    void Build(const std::vector<KeyButtonLook>& looks);
    // A command that needs the window's controls (any of theirs, beside the tray's, the
    // profile menu's and the program's own).
    static bool NeedsControls(int command);
    void RunCommandOnWindow(int command);
    void PlaceButtons();
    void PlaceFlipButtons();
    void PlaceFnLayerKeys();
    // Places a Flip arrow from the skin, its picture following the Flip setting.
    void PlaceArrow(int id, bool left);
    // The looks of the key buttons from the block of the keyboard's active profile.
    std::vector<KeyButtonLook> CurrentKeyButtonLooks();
    void ShowKeyButtons(const std::vector<KeyButtonLook>& looks);
    void SetColourView(bool on, const std::vector<KeyButtonLook>& looks);
    KeyAssignDialog::Host KeyAssignHost();
    void OpenLink();
    void OpenUpdateDialog();
    void CreateTray();
    void ApplyLanguage(int languageIndex) override;
    void OpenRequest();
    // Shows the window on the screen (built first if it never was), without asking for the
    // keyboard.
    void ShowWindow();
    void CloseChildDialogs();
    void ReleasePictures();
    void ShowPrompt(const QString& languageKey);

    Setup m_setup;
    const uint32_t m_windowTag;
    bool m_started = false;
    bool m_built = false;
    bool m_initialisedFlag = false;
    // The language last applied, -1 before the first.
    int m_languageIndex = -1;
    QString m_link;
    MainWindowPictures m_pictures;
    bool m_picturesReleased = false;
    KeyButtonGrid* m_keys = nullptr;
    ProfileStore m_store;
    KeyAssignDialog* m_keyAssign = nullptr;
    BusyAnimation* m_busy = nullptr;
    std::unique_ptr<ProfileSlots> m_profiles;
    std::unique_ptr<LightingSlots> m_lighting;
    UpdateDialog* m_updateDialog = nullptr;
    UiThreadBridge m_bridge;
    QTimer m_previewTimer;
    PreviewEngine m_preview;
    std::function<PreviewInput()> m_previewSource;
    bool m_colourMode = false;
    bool m_unappliedChanges = false;
    int m_flip = 0;
    // The Flip value each arrow was last placed for (left, right), -1 before the first.
    int m_arrowFlip[2] = {-1, -1};
    bool m_colourView = false;
    // Shown at the keyboard's first sight and not yet showing what was read of it: no input.
    bool m_awaitingKeyboard = false;
    TrayIcon m_tray;
    TrayState m_trayState;
    NamedEvents m_events;
    ShutdownSequence m_shutdown;
    QPointer<MessageBox> m_noDevicePrompt;
    SessionWatcher* m_session = nullptr;
    std::unique_ptr<ClockChangeWatch> m_clock;
};

}  // namespace vantor
