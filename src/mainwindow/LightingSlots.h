#pragma once

#include "lighting/KeyColours.h"
#include "lighting/LightingPanel.h"
#include "lighting/LightingResult.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>

class QLabel;

namespace vantor {

class MainWindow;
class LightingPanelView;

// The main window's side of the lighting: the lighting panel and the per-key colours with
// their controls, colour mode, and what the keyboard's arrival, its events and the profile
// buttons do to them. Every change goes to the keyboard at once; a change the keyboard does
// not take is shown as what the keyboard holds, with a line in the window that says so.
class LightingSlots : public QObject {
    Q_OBJECT

public:
    // How long the line about a change the keyboard did not take stays.
    static constexpr int kNoteMs = 6000;
    // Modes the mode list shows: on connect, a profile button and a factory reset; after the
    // keyboard reset its profiles.
    static constexpr int kModeListEntries = 3;
    static constexpr int kModeListEntriesAfterKeyboardReset = 10;

    LightingSlots(MainWindow& window, DeviceLink& link);
    ~LightingSlots() override;

    // Creates the panel's controls from the main skin file and its pictures from the folder,
    // showing the mode list and colour mode as they stand. Until then every occasion below
    // changes only the state the controls will show.
    void Place(const QString& skinIniPath, const QString& skinFolder);

    // The keyboard arrived: the panel shows the profile, the per-key colours are loaded and
    // sent (unless the arrival sent them already), and colour mode comes back as it was left.
    void KeyboardConnected(int profile, const LightingReadout& lighting, bool coloursSent);
    // Profile button: the per-key colours of the profile are loaded and sent, the panel
    // shows its lighting.
    void ShowProfile(int profile);
    // The keyboard changed its lighting (event 0x0401).
    void LightingEvent();
    // The keyboard reset its profiles (event 0x0402): the user colour files go back to the
    // template and the panel shows the keyboard's profile.
    void ProfilesReset(int profile);
    // Default, for each profile before its factory lighting: the colour file goes back to the
    // template and the profile being edited's colours are sent again. Runs on the thread of
    // the keyboard work.
    void ResetProfileColours(int profile);

    // Colour mode from the lamp: on only once the window shows the keyboard's active profile.
    void ToggleColourMode();
    // Colour mode off, as a profile switch forces it; nothing when it is off already.
    void ColourModeOff();
    bool ColourMode() const { return m_colourMode; }
    // A key button clicked in colour mode.
    void PaintKey(int controlId);
    // Report-rate button `rate` (0-3).
    void ChooseReportRate(int rate);
    void ApplyLanguage(int languageIndex);

    LightingPanel& Panel() { return m_panel; }
    KeyColours& Colours() { return m_colours; }
    LightingPanelView& View() { return *m_view; }
    // The line that says a change was not taken (empty while there is nothing to say).
    QLabel* Note() const { return m_note; }
    int Profile() const { return m_panel.Profile(); }

signals:
    // An effect was chosen on the list: the preview starts it afresh.
    void EffectChosen();

private:
    // The panel from its state: with the effect list when `list`, else the other controls.
    void Show(bool list);
    // Refresh and show; a status block that cannot be read leaves the list empty.
    void Refresh(int profile);
    void FillModeList(int count);
    // The lamp, and in colour mode the key buttons in their colours.
    void ShowColourMode();
    // Loads the current profile's colours from its file, sends them when asked and marks the
    // base keys.
    void LoadProfileColours(int profile, bool send);
    bool ShowsUserColours() const;
    // Every colour key button in its colour from the table of the profile being edited.
    void PaintKeyButtons();
    void EnterColourMode();
    // After a change: the controls show what the panel now holds; a write not taken says so.
    void Took(const LightingResult& result);
    void SayNotTaken(bool readBack);

    void SelectEffect(int listPosition);
    void SelectMode(int mode);
    void PickBaseColour(QColor colour);

    MainWindow& m_window;
    LightingPanel m_panel;
    KeyColours m_colours;
    LightingPanelView* m_view = nullptr;
    QLabel* m_note = nullptr;
    QTimer m_noteTimer;
    bool m_colourMode = false;
    // How many modes the mode list shows, 0 before it is first filled.
    int m_modeListEntries = 0;
};

}  // namespace vantor
