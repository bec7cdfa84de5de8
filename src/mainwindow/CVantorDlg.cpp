#include "mainwindow/CVantorDlg.h"

#include "device/ControlCommands.h"
#include "device/DeviceState.h"
#include "keymodel/KeyTables.h"
#include "lighting/KeyColours.h"
#include "lighting/LightingPanel.h"
#include "lighting/UserColourFile.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/FlipSetting.h"
#include "mainwindow/FunctionButtonTable.h"
#include "mainwindow/KeyButtonGrid.h"
#include "mainwindow/KeyButtonLooks.h"
#include "mainwindow/LightingSlots.h"
#include "mainwindow/ProfileSlots.h"
#include "profiles/KeyboardProfiles.h"
#include "profiles/ProfileFile.h"
#include "shell/AppLocks.h"
#include "shell/ClockChangeWatch.h"
#include "shell/InstanceMessages.h"
#include "shell/Paths.h"
#include "shell/lang/Language.h"
#include "shell/skin/CIniFile.h"
#include "shell/tray/CAboutDlg.h"
#include "shell/tray/OpenHelp.h"
#include "shell/tray/SessionWatcher.h"
#include "shell/tray/TrayPictures.h"
#include "ui/CPngButton.h"
#include "ui/FirstPaint.h"
#include "ui/SkinLook.h"
#include "ui/SkinPlacement.h"
#include "update/CVantor_DlgUpdate.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMetaObject>
#include <QUrl>

#include <cstdio>

namespace vantor {

namespace {

const QString kButtonInfo = QStringLiteral("BUTTONINFO");

// White text, blue while hovered and pressed, grey when disabled; centred on one line.
ButtonTextStyle LanguageTextStyle(int pointSize, uint32_t format = TextFormat::kDefault) {
    return ButtonTextStyle{true, pointSize, look::kFont,
                           {0xFFFFFF, 0x0082FF, 0x049BFF, 0x7F7F7F, 0xFFFFFF}, format};
}

}  // namespace

CVantorDlg::CVantorDlg(const QString& mainSkinFile, const QString& skinFolder, Setup setup,
                       QWidget* parent)
    : CBaseDialog(mainSkinFile, skinFolder, parent),
      m_setup(std::move(setup)),
      m_windowTag(kMainWindowTag),
      m_keys(new KeyButtonGrid(this)),
      m_store(StoreLock()),
      m_keyAssign(new Vantor_DlgComposite(AppPaths::Current()->CompositeSkinFile(), skinFolder,
                                          KeyAssignHost(), this)),
      m_busy(new BusyAnimation(this)),
      m_profiles(std::make_unique<ProfileSlots>(*this, *m_setup.link, *m_setup.deviceState,
                                                m_store)),
      m_lighting(std::make_unique<LightingSlots>(*this, *m_setup.link)),
      m_bridge(*this, [this] { return m_profiles->IsBusy(); }),
      m_events(m_setup.namedEventPrefix) {
    setWindowIcon(TrayPicture(TrayState::kDisconnected));
    // No taskbar button while it lives in the tray.
    setWindowFlag(Qt::Tool, true);
    setProperty("windowTag", m_windowTag);
    connect(&m_tray, &CTrayIcon::Command, this, &CVantorDlg::OnCommand);
    connect(m_keys, &KeyButtonGrid::Clicked, this, &CVantorDlg::OnKeyClick);
    // The preview timer runs only while colour mode is on: there is nothing to preview otherwise.
    m_previewTimer.setSingleShot(true);
    connect(&m_previewTimer, &QTimer::timeout, this, [this] {
        if (!m_colourMode) return;
        PreviewTick();
        m_previewTimer.start(kPreviewMs);
    });
    // The preview plays what the lighting panel shows, and starts afresh on a new effect.
    SetPreviewSource([this] {
        const LightingValues& v = m_lighting->Panel().Values();
        return PreviewInput{v.effect, v.direction, v.randomColour,
                            Rgb{v.colour[0], v.colour[1], v.colour[2]}};
    });
    connect(m_lighting.get(), &LightingSlots::EffectChosen, this, &CVantorDlg::RestartPreview);
    BuildShutdown();
}

CVantorDlg::~CVantorDlg() = default;

void CVantorDlg::BuildShutdown() {
    m_shutdown.Add(QStringLiteral("hide the main window"), [this] { hide(); });
    m_shutdown.Add(QStringLiteral("close child dialogs"), [this] { CloseChildDialogs(); });
    m_shutdown.Add(QStringLiteral("release the single instance"), [this] {
        if (m_setup.releaseInstance) m_setup.releaseInstance();
    });
    m_shutdown.Add(QStringLiteral("remove the named events"), [this] { m_events.Close(); });
    m_shutdown.Add(QStringLiteral("remove the tray icon"), [this] { m_tray.Remove(); });
    m_shutdown.Add(QStringLiteral("clear unapplied changes"), [this] { ClearUnappliedChanges(); });
    m_shutdown.Add(QStringLiteral("release the profile store"), [this] {
        std::lock_guard lock(StoreLock());
        ReleaseStore();
    });
    m_shutdown.Add(QStringLiteral("release the download snapshot"), [this] {
        std::lock_guard lock(SnapshotLock());
        ReleaseSnapshot();
    });
    m_shutdown.Add(QStringLiteral("end the dialog"), [this] { emit Ended(); });
}

void CVantorDlg::OnInitDialog() {
    CBaseDialog::OnInitDialog();
    if (m_started) return;  // the process-wide start runs once
    m_started = true;
    m_initialisedFlag = false;
    // Made while the window is set up and shown; other programs find them once the window
    // answers them (AnswerOtherProgram).
    m_events.CreateInBackground();
    // Decoded on a worker thread while the rest is set up; what the first paint does not show
    // once it is done.
    m_pictures = MainWindowPictures::Request(size());
    AfterFirstPaint(*this, &MainWindowPictures::DecodeRest);

    // The store, the profile folder and the active profile (unknown until the keyboard says)
    // are settled before the device threads reach the window: the keyboard's arrival is read
    // on the monitor's thread, holding the store, while the rest of the window is set up. One
    // computation of the key looks serves both the faces and the colour view.
    m_setup.deviceState->SetActiveProfile(-1);
    CreateDefaultProfile(m_store, 0);
    m_unappliedChanges = false;
    const std::vector<KeyButtonLook> looks = CurrentKeyButtonLooks();
    EnsureProfileFolder();
    // The user's colour files start as copies of the skin's template.
    CreateUserColourFiles();
    if (m_setup.deviceEventsReady) m_setup.deviceEventsReady();

    const CIniFile skin(SkinIniPath());
    m_link = skin.ReadString(QStringLiteral("SCREEN"), QStringLiteral("Link"),
                             QString::fromUtf16(kDefaultLink))
                 .value_or(QString())
                 .left(259);
    m_keys->Place(SkinIniPath(), ButtonFaces{m_pictures.normal, m_pictures.over, m_pictures.down,
                                             m_pictures.normal, m_pictures.disabled});
    PlaceButtons();
    m_lighting->Place(SkinIniPath(), SkinFolder());
    m_busy->Load(SkinFolder(), SkinIniPath());
    ShowKeyButtons(looks);
    SetColourView(false, looks);
    CreateTray();

    m_session = new SessionWatcher(this);
    m_session->Start();
    // A change of the system clock applies what is pending.
    m_clock = std::make_unique<ClockChangeWatch>([this] {
        if (!IsClosing()) m_profiles->Apply();
    });

    // Hidden once the event loop runs, whatever asked to show it meanwhile.
    QMetaObject::invokeMethod(
        this, [this] { HandleMessage(kMessageInit, kTagInit); }, Qt::QueuedConnection);
    HandleMessage(kMessageLanguage, kTagLang, GetLanguageIndex());
    // Enter, Escape and the arrows are looked at before any control of the window gets them.
    qApp->installEventFilter(this);
}

void CVantorDlg::PlaceButtons() {
    namespace Id = ControlIds;
    for (const FunctionButtonRow& row : kFunctionButtons) {
        auto* button = new CPngButton(this);
        const int id = row.id;
        button->setObjectName(QString::number(id));
        button->SetTextStyle(row.textKey
                                 ? LanguageTextStyle(row.textSize)
                                 : ButtonTextStyle{false, 8, look::kFont, {}, {}});
        PlaceImageButton(*button, SkinIniPath(), kButtonInfo, QString::fromLatin1(row.skinKey),
                         m_pictures.Faces(row.faces));
        if (row.disabled) button->setEnabled(false);
        connect(button, &CPngButton::clicked, this, [this, id] { OnCommand(id); });
        m_buttons[id] = button;
    }
    // The profile manager's button carries its text turned up the slanted edge of its picture.
    Button(Id::kProfiles)->SetTextStyle(
        LanguageTextStyle(10, TextFormat::kBottom | TextFormat::kSingleLine));
    Button(Id::kProfiles)->SetEscapement(268, true);
    Button(Id::kLink)->SetToolTipText(m_link);
    Button(Id::kApply)->setEnabled(m_unappliedChanges);
    CPngButton* version = Button(Id::kVersion);
    version->SetTextStyle(ButtonTextStyle{true, 8, QStringLiteral("Verdana Unicode MS"), {},
                                          TextFormat::kVCenter | TextFormat::kSingleLine});
    version->setText(QString());
    Button(Id::kSwitch)->SetTextStyle(
        LanguageTextStyle(10, TextFormat::kVCenter | TextFormat::kSingleLine));
    Button(Id::kSwitch)->hide();  // nothing in the program shows it
    PlaceFlipButtons();
}

void CVantorDlg::PlaceFlipButtons() {
    namespace Id = ControlIds;
    PlaceFnLayerKeys();
    // Siblings paint in stacking order, so the buttons that overlap the big pictures of
    // LOCK_AB, FLIP_0 and Enter are raised above them once rather than repainted after them.
    for (int i = 0; i < kExtraKeyButtonCount; ++i) m_keys->ExtraKeyButton(i)->raise();
    if (CPngButton* bracket = m_keys->Button(ControlIds::kRightBracketKey)) bracket->raise();
    for (const int id : Id::kF1ToF4)
        if (CPngButton* key = m_keys->Button(id)) key->raise();
    if (CPngButton* f5 = m_keys->Button(Id::kF5)) f5->raise();
    Button(Id::kFlip1)->raise();
    Button(Id::kFlip2)->raise();
    Button(Id::kLeftArrow)->raise();
    Button(Id::kRightArrow)->raise();
    // The arrows follow the Flip setting each time their button is drawn in its normal state.
    Button(Id::kFlip1)->SetAfterDraw([this](CPngButton*, bool normalFace) {
        if (normalFace) PlaceArrow(ControlIds::kLeftArrow, true);
    });
    Button(Id::kFlip2)->SetAfterDraw([this](CPngButton*, bool normalFace) {
        if (normalFace) PlaceArrow(ControlIds::kRightArrow, false);
    });
    ApplyFlip();
}

void CVantorDlg::PlaceFnLayerKeys() {
    // D1-D6 take the place the skin gives "KEY_D1".."KEY_D6" and draw no picture of their own:
    // the window's picture shows them. They click as key buttons.
    for (size_t i = 0; i < ControlIds::kD1ToD6.size(); ++i) {
        const int id = ControlIds::kD1ToD6[i];
        auto* button = new CPngButton(this);
        button->setObjectName(QString::number(id));
        PlaceControl(*button, SkinIniPath(), kButtonInfo, QStringLiteral("KEY_D%1").arg(i + 1));
        connect(button, &CPngButton::clicked, this, [this, id] { OnKeyClick(id); });
        m_buttons[id] = button;
    }
}

void CVantorDlg::PlaceArrow(int id, bool left) {
    // Placing repaints the arrow, which lies over its Flip button: only a change of the
    // setting places it again, so the two never keep each other painting.
    int& placedFor = m_arrowFlip[left ? 0 : 1];
    if (placedFor == m_flip) return;
    placedFor = m_flip;
    const QString origin = QStringLiteral("%1%2").arg(
        m_flip != 0 ? (left ? u"UP_ARROW_LEFT" : u"UP_ARROW_RIGHT")
                    : (left ? u"DOWN_ARROW_LEFT" : u"DOWN_ARROW_RIGHT"),
        QString::number(1));
    PlaceWithOrigin(*Button(id), SkinIniPath(), kButtonInfo,
                    left ? QStringLiteral("LEFT_ARROW") : QStringLiteral("RIGHT_ARROW"),
                    QStringLiteral("BUTTONINFO2"), origin, m_pictures.arrow);
    Button(id)->setEnabled(false);
}

void CVantorDlg::ApplyFlip() {
    namespace Id = ControlIds;
    m_flip = ReadFlipSetting();
    const bool on = m_flip != 0;
    for (const int id : Id::kF1ToF4)
        if (CPngButton* key = m_keys->Button(id)) key->setEnabled(!on);
    for (const int id : Id::kD1ToD6)
        if (CPngButton* key = Button(id)) key->setEnabled(on);
    // The second loading of N is the same picture; the face origin stays the skin's.
    if (CPngButton* flip0 = Button(Id::kFlip0)) {
        flip0->SetPictures({m_pictures.normal, m_pictures.normal, m_pictures.normal,
                            m_pictures.normal, m_pictures.disabled});
    }
    if (CPngButton* flip1 = Button(Id::kFlip1)) flip1->update();
    if (CPngButton* flip2 = Button(Id::kFlip2)) flip2->update();
}

void CVantorDlg::ToggleFlip() {
    WriteFlipSetting(ReadFlipSetting() != 0 ? 0 : 1);
    ApplyFlip();
}

void CVantorDlg::SetUnappliedChanges(bool on) {
    m_unappliedChanges = on;
    if (CPngButton* apply = Button(ControlIds::kApply)) apply->setEnabled(on);
}

// Colour view ---------------------------------------------------------------------------------

void CVantorDlg::SetColourView(bool on) { SetColourView(on, CurrentKeyButtonLooks()); }

void CVantorDlg::SetColourView(bool on, const std::vector<KeyButtonLook>& looks) {
    m_colourView = on;
    if (CPngButton* button = Button(ControlIds::kSwitch)) {
        button->setText(LanguageText(on ? QStringLiteral("MAIN_SWITCH_COLOR_TEXT")
                                        : QStringLiteral("MAIN_SWITCH_FUNCTION_TEXT")));
    }
    m_keys->ShowColourView(looks, m_pictures.colour0, m_pictures.colour1, m_colourView);
}

void CVantorDlg::OpenLink() {
    if (!m_link.isEmpty()) QDesktopServices::openUrl(QUrl(m_link));
}

void CVantorDlg::OpenUpdateDialog() { UpdateDialog().exec(); }

CVantor_DlgUpdate& CVantorDlg::UpdateDialog() {
    if (!m_updateDialog) {
        const std::shared_ptr<const AppPaths> paths = AppPaths::Current();
        m_updateDialog = new CVantor_DlgUpdate(paths->UpdateSkinFile(), paths->SkinFolder(),
                                               *m_setup.link, m_store,
                                               FirmwareUpdate(paths->PackageFolder()), this);
    }
    return *m_updateDialog;
}

CPngButton* CVantorDlg::Button(int id) const {
    const auto found = m_buttons.find(id);
    return found == m_buttons.end() ? nullptr : found->second;
}

void CVantorDlg::CreateTray() {
    m_tray.SetIconSource(&TrayPicture);
    if (!m_tray.Create(LanguageText(QStringLiteral("KEYBOARD_TRAY_DESC")),
                       TrayPicture(TrayState::kDisconnected), 140, m_setup.requireTrayHost)) {
        // No box: the program runs on without its icon, and a line tells how to reach it.
        std::fputs("vantor: no system tray found; running without a tray icon. Start vantor "
                   "again (or from the application menu) to open its window.\n",
                   stderr);
    }
    m_tray.SetSingleClickCommand(ControlIds::kProfileMenuCommand);
    m_tray.SetMenuCallback([](QMenu* menu) {
        const std::map<int, QString> keys = {{CTrayIcon::kCommandOpen, QStringLiteral("MENU_11")},
                                             {CTrayIcon::kCommandAbout, QStringLiteral("MENU_22")},
                                             {CTrayIcon::kCommandExit, QStringLiteral("MENU_33")}};
        for (QAction* action : menu->actions()) {
            const auto key = keys.find(action->data().toInt());
            if (key != keys.end()) action->setText(LanguageText(key->second));
        }
    });
    m_trayState = TrayState();
}

uint32_t CVantorDlg::AnswerOtherProgram(uint32_t message, uint32_t wParam, int64_t lParam) {
    m_events.WaitUntilCreated();
    return HandleMessage(message, wParam, lParam);
}

uint32_t CVantorDlg::HandleMessage(uint32_t message, uint32_t wParam, int64_t lParam) {
    if (!CarriesTag(message, wParam)) return 0;
    switch (message) {
        case kMessageOpen: OpenRequest(); return 1;
        case kMessageKill: Exit(); return 1;
        case kMessageInit:
            m_initialisedFlag = true;
            hide();
            return 1;
        case kMessageLanguage: ApplyLanguage(int(lParam)); return 1;
        case kMessageConnected: ShowKeyboardArrival(ExchangeOnArrival()); return 1;
        case kMessageGone: CloseChildDialogs(); return 0;
        case kMessageCommand:
            if (IsClosing()) return 0;
            // Answered at once: the command may open a modal window that runs until closed.
            QMetaObject::invokeMethod(
                this, [this, lParam] { OnCommand(int(lParam)); }, Qt::QueuedConnection);
            return 1;
        default: return 0;
    }
}

void CVantorDlg::OnCommand(int command) {
    if (IsClosing()) return;
    if (ProfileOfMenuCommand(command)) {
        m_profiles->OnProfileMenuCommand(command);
        return;
    }
    switch (command) {
        case ControlIds::kOk: OnOK(); break;
        case ControlIds::kCancel: OnCancel(); break;
        case ControlIds::kApply: m_profiles->Apply(); break;
        case ControlIds::kProfileButtons[0]: m_profiles->SelectProfile(0); break;
        case ControlIds::kProfileButtons[1]: m_profiles->SelectProfile(1); break;
        case ControlIds::kProfileButtons[2]: m_profiles->SelectProfile(2); break;
        case ControlIds::kReports[0]: m_lighting->ChooseReportRate(0); break;
        case ControlIds::kReports[1]: m_lighting->ChooseReportRate(1); break;
        case ControlIds::kReports[2]: m_lighting->ChooseReportRate(2); break;
        case ControlIds::kReports[3]: m_lighting->ChooseReportRate(3); break;
        case ControlIds::kDefault: m_profiles->RestoreDefaults(); break;
        case ControlIds::kBackupMenu: m_profiles->PopUpBackupMenu(); break;
        case ControlIds::kRestoreCommand: m_profiles->ImportProfile(); break;
        case ControlIds::kBackupCommand: m_profiles->ExportProfile(); break;
        case ControlIds::kProfileMenuCommand: m_profiles->PopUpProfileMenu(); break;
        // The hidden "Test" button: nothing shows it, its command still reaches the keyboard.
        case ControlIds::kTestCommand: Command0D(*m_setup.link); break;
        case ControlIds::kProfiles: m_profiles->OpenProfileManager(); break;
        case ControlIds::kUpdateCommand: OpenUpdateDialog(); break;
        case ControlIds::kMacro:
            m_keyAssign->OpenForButton(ControlIds::kMacroExtraKey);
            break;
        case ControlIds::kLink: OpenLink(); break;
        case ControlIds::kFlip1:
        case ControlIds::kFlip2: ToggleFlip(); break;
        case ControlIds::kSwitch: SetColourView(!m_colourView); break;
        case ControlIds::kHelp: OpenHelp(); break;
        case ControlIds::kMinimize: showMinimized(); break;
        case ControlIds::kClose:
        case CTrayIcon::kCommandExit:
        case ControlIds::kExitCommand: Exit(); break;
        case CTrayIcon::kCommandOpen: OpenRequest(); break;
        case CTrayIcon::kCommandAbout: CAboutDlg::ShowAbout(m_link); break;
        default: break;
    }
}

void CVantorDlg::Exit() {
    // The device threads stop handing work over before any step runs.
    m_bridge.Close();
    m_shutdown.Run();
}

// Key buttons ---------------------------------------------------------------------------------

void CVantorDlg::RefreshKeyButtons() { ShowKeyButtons(CurrentKeyButtonLooks()); }

std::vector<KeyButtonLook> CVantorDlg::CurrentKeyButtonLooks() {
    std::lock_guard lock(m_store.Lock());
    return KeyButtonLooks(m_store.Data(), ShownBlock(m_setup.deviceState->ActiveProfile()),
                          m_keys->Bank());
}

void CVantorDlg::ShowKeyButtons(const std::vector<KeyButtonLook>& looks) {
    m_keys->Show(looks);
    ApplyFlip();
}

void CVantorDlg::ResetProfileAssignments(int block) {
    if (block < 0 || block >= kOnBoardProfileCount) return;
    {
        std::lock_guard lock(m_store.Lock());
        if (m_store.Data().HasImage()) ResetKeyAssignments(m_store.Data().Block(block), m_keys->Bank());
        // The buttons show the active profile's block, which may be another one.
        RefreshKeyButtons();
    }
    SetUnappliedChanges(true);
}

void CVantorDlg::ResetKeyButton(int record) {
    if (const auto look = PlainLookOfRecord(record, m_keys->Bank())) m_keys->Show(*look);
}

void CVantorDlg::OnKeyClick(int controlId) {
    if (IsClosing()) return;
    const bool extraKey = ExtraKeyButtonIndexOf(controlId) >= 0;
    if (m_colourMode && !extraKey) {
        PaintKey(controlId);
        return;
    }
    // Fn has nothing to assign; it only takes part in painting colours.
    if (controlId == kFnButtonId) return;
    m_keyAssign->OpenForButton(controlId);
}

Vantor_DlgComposite::Host CVantorDlg::KeyAssignHost() {
    Vantor_DlgComposite::Host host;
    host.store = &m_store;
    host.block = [this] { return ShownBlock(m_setup.deviceState->ActiveProfile()); };
    host.bank = [this] { return m_keys->Bank(); };
    host.colourView = [this] { return m_colourView; };
    host.buttonRect = [this](int controlId) {
        const CPngButton* button = m_keys->Button(controlId);
        return button ? QRect(button->mapToGlobal(QPoint(0, 0)), button->size()) : QRect();
    };
    // Hovered while the dialog is open; normal faces, and the disabled picture as selected,
    // once it closes.
    host.showButtonOpen = [this](int controlId, bool open) {
        using enum StateImage;
        if (CPngButton* button = m_keys->Button(controlId))
            button->SetPictures(open ? m_pictures.Faces({O, O, D, N, O}) : m_pictures.Faces({N, O, D, N, X}));
    };
    host.recordsChanged = [this] {
        m_keys->Show(CurrentKeyButtonLooks());
        SetUnappliedChanges(true);
    };
    host.colourChanged = [this] {
        SetColourView(m_colourView);
        SetUnappliedChanges(true);
    };
    host.help = [] { OpenHelp(); };
    return host;
}

void CVantorDlg::SetKeyButtonColour(int controlId, uint32_t colour, bool on) {
    if (CPngButton* button = m_keys->Button(controlId)) {
        button->SetOutline(colour, on);
        button->update();
    }
}

void CVantorDlg::ResetKeyButtonLooks() { m_keys->ResetLooks(); }

void CVantorDlg::PreviewTick() {
    if (!m_previewSource) return;
    const PreviewFrame& frame = m_preview.Tick(m_previewSource());
    // Only buttons whose look changes are redrawn: many keep theirs from one tick to the next,
    // and every redraw repaints the window's picture beneath the button.
    if (frame.PlainAll() && !m_keys->AllPlain()) ResetKeyButtonLooks();
    frame.ForEachTouched([this](int controlId, const PreviewFrame::Key& key) {
        if (key.look != PreviewFrame::Look::Painted) return;
        const uint32_t colour = ColourRefOf(key.colour);
        const CPngButton* button = m_keys->Button(controlId);
        if (button && !(button->IsOutlined() && button->OutlineColour() == colour))
            SetKeyButtonColour(controlId, colour, true);
    });
}

void CVantorDlg::SetExtraKeyBank(ExtraKeyBank bank) {
    m_keys->SetBank(bank);
    RefreshKeyButtons();
}

void CVantorDlg::SetColourMode(bool on) {
    m_colourMode = on;
    if (on && !m_previewTimer.isActive()) m_previewTimer.start(kPreviewFirstMs);
    if (!on) m_previewTimer.stop();
}

void CVantorDlg::RefreshLightingPanel(int profile) { m_lighting->ShowProfile(profile); }

void CVantorDlg::OnLightingTimer() { m_lighting->LightingEvent(); }

void CVantorDlg::OnProfileSwitchTimer() { m_lighting->ProfilesReset(m_profiles->SelectedProfile()); }

void CVantorDlg::PaintKey(int controlId) { m_lighting->PaintKey(controlId); }

void CVantorDlg::OnKeyboardConnected(const LightingReadout& lighting, bool coloursSent) {
    m_lighting->KeyboardConnected(m_profiles->SelectedProfile(), lighting, coloursSent);
}

CVantorDlg::KeyboardArrival CVantorDlg::ExchangeOnArrival() {
    std::lock_guard lock(m_store.Lock());
    KeyboardArrival arrival;
    arrival.profile = ReadKeyboardForReload(m_profiles->Context());
    arrival.lighting = ReadLightingReadout(*m_setup.link);
    // The profile the window shows is the keyboard's active one, when the keyboard said it.
    const int active = m_setup.deviceState->ActiveProfile();
    if (active >= 0 && active < kColourProfileCount &&
        arrival.lighting.status == CommandResult::Ok &&
        OffersEffect(arrival.lighting.statusBlock, kUserDefinedEffect)) {
        WriteColourTable(*m_setup.link, active, ColourTableOfFile(active, std::nullopt));
        arrival.coloursSent = active;
    }
    return arrival;
}

void CVantorDlg::ShowKeyboardArrival(const KeyboardArrival& arrival) {
    m_profiles->KeyboardArrived(arrival.profile);
    OnKeyboardConnected(arrival.lighting,
                        arrival.coloursSent == m_profiles->SelectedProfile());
}

bool CVantorDlg::IsKeyboardConnected() const {
    return m_setup.deviceState != nullptr && m_setup.deviceState->Present();
}

void CVantorDlg::OpenRequest() {
    if (IsClosing()) return;
    if (!IsKeyboardConnected()) {
        ShowPrompt(QStringLiteral("MAIN_NO_DEVICE_PROMPT"));
        return;
    }
    // Shown, it gets a taskbar button like any application window.
    setWindowFlag(Qt::Tool, false);
    showNormal();
    raise();
    activateWindow();
}

void CVantorDlg::ShowPrompt(const QString& languageKey) {
    // Not modal: the request that asked for it (a second start waiting for its answer, the
    // monitor thread) does not wait for the user. One box at a time.
    if (m_noDevicePrompt) {
        m_noDevicePrompt->setText(LanguageText(languageKey));
        m_noDevicePrompt->raise();
        return;
    }
    auto* box = new QMessageBox(QMessageBox::NoIcon, QString(), LanguageText(languageKey),
                                QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowIcon(windowIcon());
    m_noDevicePrompt = box;
    box->show();
    box->raise();
}

void CVantorDlg::CloseChildDialogs() {
    CAboutDlg::CloseAboutIfOpen();
    // Questions, messages and file choices of the window close as cancelled; the profile
    // manager and the key assignment dialog are among them.
    for (QDialog* dialog : findChildren<QDialog*>()) {
        if (dialog->isVisible()) dialog->reject();
    }
}

void CVantorDlg::ReleaseSnapshot() { m_profiles->Snapshot().Clear(); }

void CVantorDlg::ApplyLanguage(int languageIndex) {
    if (CAboutDlg* about = CAboutDlg::Instance()) about->ApplyLanguage(languageIndex);
    m_keyAssign->HandleMessage(kMessageLanguage, kTagLang, languageIndex);
    m_lighting->ApplyLanguage(languageIndex);
    setWindowTitle(LanguageText(QStringLiteral("MAIN_CAPTION"), languageIndex));
    for (const FunctionButtonRow& row : kFunctionButtons) {
        CPngButton* button = Button(row.id);
        if (!button) continue;
        if (row.toolTipKey)
            button->SetToolTipText(LanguageText(QString::fromLatin1(row.toolTipKey), languageIndex));
        if (row.textKey) button->setText(LanguageText(QString::fromLatin1(row.textKey), languageIndex));
    }
    m_tray.SetTip(LanguageText(QStringLiteral("KEYBOARD_TRAY_DESC"), languageIndex));
    // The profile button names the active profile in the new language.
    m_profiles->ShowProfileMenu(BuildProfileMenu(m_setup.deviceState->ActiveProfile()));
}

bool CVantorDlg::OnOK() {
    m_profiles->Apply();
    hide();
    return false;
}

bool CVantorDlg::OnCancel() {
    hide();
    return false;
}

bool CVantorDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    // Only this window's own controls; its message boxes and file dialogs keep their keys.
    if (widget == nullptr || widget->window() != this) return false;
    switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            return true;  // the keyboard never triggers OK or Cancel
        case Qt::Key_Left:
        case Qt::Key_Up:
        case Qt::Key_Right:
        case Qt::Key_Down:
            // Keys go to the control with the focus: the list itself is the one to watch.
            return widget->objectName() == QString::number(ControlIds::kEffectList);
        default:
            return false;
    }
}

void CVantorDlg::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape never get here (eventFilter).
    if (event->key() == Qt::Key_F1) {
        OpenHelp();
        return;
    }
    CBaseDialog::keyPressEvent(event);
}

// Device threads ------------------------------------------------------------------------------

void CVantorDlg::KeyboardGone() {
    m_bridge.Send([this] { HandleMessage(kMessageGone, 0); });
}

void CVantorDlg::KeyboardConnected() {
    if (IsClosing()) return;
    // The first sight of the keyboard at start opens the window once this is done: the
    // window's thread paints it ahead while the keyboard is read here.
    if (!m_setup.deviceState->FirstReportDone()) m_bridge.Post([this] { PaintAhead(*this); });
    const KeyboardArrival arrival = ExchangeOnArrival();
    m_bridge.Send([this, arrival] { ShowKeyboardArrival(arrival); });
}

void CVantorDlg::OpenMainWindow() {
    m_bridge.Post([this] { HandleMessage(kMessageOpen, kTagOpen); });
}

void CVantorDlg::HideMainWindow() {
    m_bridge.Post([this] { hide(); });
}

void CVantorDlg::ShowMessage(const QString& languageKey) {
    m_bridge.Post([this, languageKey] { ShowPrompt(languageKey); });
}

void CVantorDlg::LightingChanged() {
    m_bridge.Post([this] { OnLightingTimer(); });
}

void CVantorDlg::ProfileSwitched() {
    m_bridge.Post([this] {
        // The records under an open key assignment dialog are about to be reset.
        m_keyAssign->CloseIfOpen();
        m_profiles->KeyboardProfilesReset();
        OnProfileSwitchTimer();
    });
}

void CVantorDlg::SetTrayState(bool special, int icon) {
    m_bridge.Post([this, special, icon] {
        // A keyboard event shows 142 or returns to the base; a presence change sets the base.
        const bool changed = special ? m_trayState.Set(icon == TrayState::kSpecial, 0)
                                     : m_trayState.Set(false, icon);
        if (changed) m_tray.SetIconResource(m_trayState.Shown());
    });
}

}  // namespace vantor
