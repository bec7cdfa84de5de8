#include "mainwindow/LightingSlots.h"

#include "lighting/LightingPanelView.h"
#include "lighting/PanelControlIds.h"
#include "lighting/ProfileLighting.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/ProfileSlots.h"
#include "profiles/KeyboardProfiles.h"
#include "shell/lang/Language.h"
#include "ui/ImageButton.h"
#include "ui/SkinLook.h"
#include "ui/SkinPlacement.h"

#include <QLabel>
#include <QMetaObject>

namespace vantor {

namespace {

Rgb RgbOf(QColor colour) { return {uint8_t(colour.red()), uint8_t(colour.green()), uint8_t(colour.blue())}; }

}  // namespace

LightingSlots::LightingSlots(MainWindow& window, DeviceLink& link)
    : QObject(nullptr), m_window(window), m_panel(link), m_colours(link) {
    m_noteTimer.setSingleShot(true);
    m_noteTimer.setInterval(kNoteMs);
    connect(&m_noteTimer, &QTimer::timeout, this, [this] {
        if (m_note) m_note->clear();
    });
}

LightingSlots::~LightingSlots() = default;

void LightingSlots::Place(const QString& skinIniPath, const QString& skinFolder) {
    if (m_view) return;
    m_view = new LightingPanelView(&m_window, skinIniPath, skinFolder);
    m_view->Place();
    m_note = new QLabel(&m_window);
    m_note->setObjectName(QStringLiteral("lightingNote"));
    m_note->setStyleSheet(QStringLiteral("color: #FFB05C; background: transparent;"));
    m_note->setFont(QFont(look::kFont, 9));
    PlaceControl(*m_note, skinIniPath, QStringLiteral("BUTTONINFO"), QStringLiteral("CONTROL_NoteStatic"));

    connect(m_view, &LightingPanelView::EffectSelected, this, &LightingSlots::SelectEffect);
    connect(m_view, &LightingPanelView::BrightnessMoved, this,
            [this](int position) { Took(m_panel.MoveBrightness(position)); });
    connect(m_view, &LightingPanelView::SpeedMoved, this,
            [this](int position) { Took(m_panel.MoveSpeed(position)); });
    connect(m_view, &LightingPanelView::DirectionChosen, this,
            [this](bool first) { Took(m_panel.ChooseDirection(first)); });
    connect(m_view, &LightingPanelView::ColourChosen, this, [this](QColor colour) {
        Took(m_panel.ChooseColour(uint8_t(colour.red()), uint8_t(colour.green()), uint8_t(colour.blue())));
    });
    connect(m_view, &LightingPanelView::RandomToggled, this, [this] { Took(m_panel.ToggleRandom()); });
    connect(m_view, &LightingPanelView::ColourPictureChosen, this,
            [this](int choice) { Took(m_panel.ChooseColourPicture(choice)); });
    connect(m_view, &LightingPanelView::LampClicked, this, &LightingSlots::ToggleColourMode);
    connect(m_view, &LightingPanelView::ModeSelected, this, &LightingSlots::SelectMode);
    connect(m_view, &LightingPanelView::ModeRenamed, this,
            [this](int mode, const QString& name) { m_colours.RenameMode(mode, name); });
    connect(m_view, &LightingPanelView::KeyColourPicked, this, [this](QColor colour) {
        m_colours.PickKeyColour(RgbOf(colour));
        m_view->ShowBrush(m_colours.Brush());
    });
    connect(m_view, &LightingPanelView::BaseColourPicked, this, &LightingSlots::PickBaseColour);
    connect(m_view, &LightingPanelView::ToolChosen, this, [this](int tool) {
        m_colours.ChooseTool(tool);
        m_view->ShowBrush(m_colours.Brush());
    });
    if (m_modeListEntries > 0) FillModeList(m_modeListEntries);
    if (m_colourMode) ShowColourMode();
}

// The panel ------------------------------------------------------------------------------------

void LightingSlots::Show(bool list) {
    if (!m_view) return;
    const LightingView view = m_panel.Redisplay();
    if (list) {
        m_view->Show(view, ShowsUserColours());
    } else {
        m_view->ShowValues(view, ShowsUserColours());
    }
    for (int rate = 0; rate < int(ControlIds::kReports.size()); ++rate) {
        if (ImageButton* button = m_window.Button(ControlIds::kReports[size_t(rate)]))
            button->SetSelected(rate == view.reportRateButton);
    }
}

void LightingSlots::Refresh(int profile) {
    // A status block that cannot be read empties the effect list until the next refresh.
    m_panel.Refresh(profile);
    Show(true);
}

bool LightingSlots::ShowsUserColours() const {
    return m_colourMode && m_panel.Values().effect == kUserDefinedEffect;
}

void LightingSlots::Took(const LightingResult& result) {
    Show(false);
    if (result.outcome == LightingOutcome::Rejected) SayNotTaken(true);
    if (result.outcome == LightingOutcome::Unconfirmed) SayNotTaken(false);
}

void LightingSlots::SayNotTaken(bool readBack) {
    if (!m_note) return;
    m_note->setText(LanguageText(readBack ? QStringLiteral("LIGHT_NOT_TAKEN")
                                          : QStringLiteral("LIGHT_NOT_CONFIRMED")));
    m_note->raise();
    m_noteTimer.start();
}

void LightingSlots::SelectEffect(int listPosition) {
    const LightingResult result = m_panel.SelectEffect(listPosition);
    if (result.outcome == LightingOutcome::NotAllowed) return;
    // Outside colour mode the key buttons keep showing the key assignments.
    if (m_colourMode) {
        m_window.ResetKeyButtonLooks();
        if (m_panel.Values().effect == kUserDefinedEffect) PaintKeyButtons();
    }
    emit EffectChosen();
    Took(result);
}

void LightingSlots::ChooseReportRate(int rate) { Took(m_panel.ChooseReportRate(rate)); }

void LightingSlots::ApplyLanguage(int /*languageIndex*/) {
    if (!m_view) return;
    // Effect names and labels come from the language file now chosen.
    m_view->ApplyLanguage(GetLanguageIndex());
    Show(true);
}

// Occasions --------------------------------------------------------------------------------------

void LightingSlots::FillModeList(int count) {
    m_modeListEntries = count;
    if (!m_view) return;
    m_view->ShowModes(m_colours.ModeNames(count), m_colours.Mode());
    m_view->ShowBrush(m_colours.Brush());
}

void LightingSlots::LoadProfileColours(int profile, bool send) {
    m_colours.SetProfile(profile);
    m_colours.LoadMode(profile, std::nullopt, send);
    m_colours.MarkBaseKeys();
    FillModeList(kModeListEntries);
}

void LightingSlots::KeyboardConnected(int profile, const LightingReadout& lighting,
                                      bool coloursSent) {
    m_panel.Take(profile, lighting);
    Show(true);
    if (m_panel.Offers(kUserDefinedEffect)) LoadProfileColours(profile, !coloursSent);
    // Colour mode comes back as the user left it.
    if (m_panel.Values().colourMode && !m_colourMode) EnterColourMode();
}

void LightingSlots::ShowProfile(int profile) {
    RefreshProfileLighting(m_panel, m_colours, profile);
    if (m_panel.Offers(kUserDefinedEffect)) FillModeList(kModeListEntries);
    Show(true);
}

void LightingSlots::LightingEvent() { Refresh(m_panel.Profile()); }

void LightingSlots::ProfilesReset(int profile) {
    if (m_panel.Offers(kUserDefinedEffect)) {
        m_colours.SetProfile(profile);
        for (int p = 0; p < kColourProfileCount; ++p) {
            ResetUserColourFile(p);
            m_colours.LoadMode(p, std::nullopt, false);
        }
        FillModeList(kModeListEntriesAfterKeyboardReset);
    }
    Refresh(profile);
}

void LightingSlots::ResetProfileColours(int profile) {
    if (!m_panel.Offers(kUserDefinedEffect)) return;
    ResetProfileColourFile(m_panel, m_colours, profile);
    // The mode list is the window's: it is refilled on its own thread, once the keyboard work
    // that changes the colours here has ended.
    m_window.PostToWindow([this] { FillModeList(kModeListEntries); });
}

// Colour mode ----------------------------------------------------------------------------------

void LightingSlots::ToggleColourMode() {
    if (m_colourMode) {
        ColourModeOff();
        return;
    }
    // Colour mode edits the keyboard's active profile; without it known, it stays off.
    const int active = GetCurrentProfile(m_window.Profiles().Context());
    if (active < 0) return;
    m_window.Profiles().SelectProfile(active);
    if (m_panel.Profile() != active) return;
    SetColourModeSetting(true);
    EnterColourMode();
}

void LightingSlots::EnterColourMode() {
    m_colourMode = true;
    ShowColourMode();
    m_window.SetColourMode(true);
}

void LightingSlots::ShowColourMode() {
    if (!m_view) return;
    m_view->ShowLamp(true);
    m_window.ResetKeyButtonLooks();
    if (m_panel.Values().effect == kUserDefinedEffect) PaintKeyButtons();
    Show(false);
}

void LightingSlots::ColourModeOff() {
    if (!m_colourMode) return;
    m_colourMode = false;
    SetColourModeSetting(false);
    m_window.SetColourMode(false);
    if (!m_view) return;
    m_view->ShowLamp(false);
    m_window.ResetKeyButtonLooks();
    m_window.RefreshKeyButtons();
    Show(false);
}

void LightingSlots::PaintKeyButtons() {
    const int profile = m_colours.Profile();
    for (int key = 0; key < kColourKeyCount; ++key) {
        m_window.SetKeyButtonColour(ControlOfColourKey(key),
                                    ColourRefOf(m_colours.ColourOfKey(profile, key)), true);
    }
}

void LightingSlots::PaintKey(int controlId) {
    if (m_panel.Values().effect != kUserDefinedEffect) return;
    const int key = ColourKeyOfControl(controlId);
    if (key < 0) return;
    const LightingResult result = m_colours.PaintKey(key);
    // After a write the keyboard did not take, the button shows the colour read back.
    m_window.SetKeyButtonColour(controlId, ColourRefOf(m_colours.ColourOfKey(m_colours.Profile(), key)), true);
    if (result.outcome == LightingOutcome::Rejected) SayNotTaken(true);
    if (result.outcome == LightingOutcome::Unconfirmed) SayNotTaken(false);
}

void LightingSlots::SelectMode(int mode) {
    m_colours.SelectMode(mode);
    m_view->ShowBrush(m_colours.Brush());
    if (ShowsUserColours()) PaintKeyButtons();
}

void LightingSlots::PickBaseColour(QColor colour) {
    const LightingResult result = m_colours.PickBaseColour(RgbOf(colour));
    m_view->ShowBrush(m_colours.Brush());
    if (result.outcome == LightingOutcome::NothingSent) return;
    if (ShowsUserColours()) PaintKeyButtons();
    if (result.outcome == LightingOutcome::Unconfirmed) SayNotTaken(false);
}

}  // namespace vantor
