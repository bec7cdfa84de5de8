#include "mainwindow/MainWindow.h"

#include "lighting/LightingPanel.h"
#include "lighting/UserColourFile.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/FunctionButtonTable.h"
#include "mainwindow/KeyButtonGrid.h"
#include "mainwindow/LightingSlots.h"
#include "mainwindow/ProfileSlots.h"
#include "profiles/KeyboardProfiles.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileManagerDialog.h"
#include "shell/AppLocks.h"
#include "shell/ClockChangeWatch.h"
#include "shell/InstanceMessages.h"
#include "shell/Paths.h"
#include "shell/lang/Language.h"
#include "shell/skin/SkinIni.h"
#include "shell/tray/AboutDialog.h"
#include "shell/tray/OpenHelp.h"
#include "shell/tray/SessionWatcher.h"
#include "shell/tray/TrayPictures.h"
#include "ui/FirstPaint.h"
#include "ui/SkinPictureCache.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMetaObject>
#include <QPixmapCache>

#include <algorithm>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace vantor {

namespace {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease: return true;
        default: return false;
    }
}

}  // namespace

MainWindow::MainWindow(const QString& mainSkinFile, const QString& skinFolder, Setup setup,
                       QWidget* parent)
    : SkinnedDialog(mainSkinFile, skinFolder, parent),
      m_setup(std::move(setup)),
      m_windowTag(kMainWindowTag),
      m_keys(new KeyButtonGrid(this)),
      m_store(StoreLock()),
      m_keyAssign(new KeyAssignDialog(AppPaths::Current()->CompositeSkinFile(), skinFolder,
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
    SetTitleKey(QStringLiteral("MAIN_CAPTION"));
    connect(&m_tray, &TrayIcon::Command, this, &MainWindow::RunCommand);
    connect(m_keys, &KeyButtonGrid::Clicked, this, &MainWindow::OnKeyClick);
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
    connect(m_lighting.get(), &LightingSlots::EffectChosen, this, &MainWindow::RestartPreview);
    BuildShutdown();
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildShutdown() {
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

void MainWindow::SetUp() {
    SkinnedDialog::SetUp();
    if (m_pictures.normal == nullptr) {
        // Decoded on a worker thread while the rest is set up; what the first paint does not
        // show once it is done.
        m_pictures = MainWindowPictures::Request(size());
        AfterFirstPaint(*this, [this] { m_pictures.DecodeRest(); });
    }
    if (!m_started) {
        StartProcess(true);
        return;
    }
    // Started in the tray: the keyboard may have been read meanwhile.
    if (!m_built) Build(CurrentKeyButtonLooks());
}

void MainWindow::Start() { StartProcess(false); }

void MainWindow::StartProcess(bool withWindow) {
    if (m_started) return;  // the process-wide start runs once
    m_started = true;
    m_initialisedFlag = false;
    // Made while the window is set up and shown; other programs find them once the window
    // answers them (AnswerOtherProgram).
    m_events.CreateInBackground();

    // The store, the profile folder and the active profile (unknown until the keyboard says)
    // are settled before the device threads reach the window: the keyboard's arrival is read
    // on the monitor's thread, holding the store, while the rest of the window is set up. The
    // key looks are read before that, so setting up does not wait for the keyboard.
    m_setup.deviceState->SetActiveProfile(-1);
    CreateDefaultProfile(m_store, 0);
    m_unappliedChanges = false;
    const std::vector<KeyButtonLook> looks =
        withWindow ? CurrentKeyButtonLooks() : std::vector<KeyButtonLook>();
    EnsureProfileFolder();
    // The user's colour files start as copies of the skin's template.
    CreateUserColourFiles();
    // Hidden once the event loop runs, whatever asked to show it meanwhile; queued before the
    // device threads can ask for the window, so their requests come after it.
    QMetaObject::invokeMethod(
        this, [this] { HandleMessage({kMessageInit, kTagInit}); }, Qt::QueuedConnection);
    if (m_setup.deviceEventsReady) m_setup.deviceEventsReady();

    const SkinIni skin(SkinIniPath());
    m_link = skin.ReadString(QStringLiteral("SCREEN"), QStringLiteral("Link"),
                             QString::fromUtf16(kDefaultLink))
                 .value_or(QString())
                 .left(259);
    if (withWindow) Build(looks);
    CreateTray();

    m_session = new SessionWatcher(this);
    m_session->Start();
    // A change of the system clock applies what is pending.
    m_clock = std::make_unique<ClockChangeWatch>([this] {
        if (!IsClosing()) m_profiles->Apply();
    });

    HandleMessage({kMessageLanguage, kTagLang, uint32_t(GetLanguageIndex())});
    // Enter, Escape and the arrows are looked at before any control of the window gets them.
    qApp->installEventFilter(this);
}

void MainWindow::Build(const std::vector<KeyButtonLook>& looks) {
    if (m_built) return;
    m_built = true;
    m_keys->Place(SkinIniPath(), ButtonFaces{m_pictures.normal, m_pictures.over, m_pictures.down,
                                             m_pictures.normal, m_pictures.disabled});
    PlaceButtons();
    ShowKeyButtons(looks);
    SetColourView(m_colourView, looks);
    m_profiles->ShowProfileButtons();
    // After the key buttons: in colour mode the panel paints them.
    m_lighting->Place(SkinIniPath(), SkinFolder());
    m_busy->Load(SkinFolder(), SkinIniPath());
    // Built after the start, the controls take the language in force.
    if (m_languageIndex >= 0) ApplyLanguage(m_languageIndex);
}

void MainWindow::Exit() {
    // The device threads stop handing work over before any step runs.
    m_bridge.Close();
    m_shutdown.Run();
}

void MainWindow::CloseChildDialogs() {
    AboutDialog::CloseAboutIfOpen();
    // Questions, messages and file choices of the window close as cancelled; the profile
    // manager and the key assignment dialog are among them.
    for (QDialog* dialog : findChildren<QDialog*>()) {
        if (dialog->isVisible()) dialog->reject();
    }
}

void MainWindow::ReleaseSnapshot() { m_profiles->Snapshot().Clear(); }

void MainWindow::ApplyLanguage(int languageIndex) {
    m_languageIndex = languageIndex;
    if (AboutDialog* about = AboutDialog::Instance()) about->ApplyLanguage(languageIndex);
    SkinnedDialog::ApplyLanguage(languageIndex);
    m_keyAssign->ApplyLanguage(languageIndex);
    m_profiles->ApplyLanguage(languageIndex);
    m_lighting->ApplyLanguage(languageIndex);
    for (const FunctionButtonRow& row : kFunctionButtons) {
        ImageButton* button = Button(row.id);
        if (!button) continue;
        if (row.toolTipKey)
            button->SetToolTipText(LanguageText(QString::fromLatin1(row.toolTipKey), languageIndex));
        if (row.textKey) button->setText(LanguageText(QString::fromLatin1(row.textKey), languageIndex));
    }
    m_tray.SetTip(LanguageText(QStringLiteral("KEYBOARD_TRAY_DESC"), languageIndex));
    // The profile button names the active profile in the new language.
    m_profiles->ShowProfileMenu(BuildProfileMenu(m_setup.deviceState->ActiveProfile()));
}

void MainWindow::accept() {
    m_profiles->Apply();
    hide();
}

void MainWindow::reject() { hide(); }

void MainWindow::setVisible(bool visible) {
    const bool wasVisible = isVisible();
    if (visible && m_picturesReleased) {
        // Decoding on the worker while the skin loads; the first paint waits only for its own.
        m_pictures.Restore();
        m_picturesReleased = false;
    }
    SkinnedDialog::setVisible(visible);
    if (!visible && wasVisible) ReleasePictures();
}

void MainWindow::ReleasePictures() {
    m_picturesReleased = true;
    m_pictures.Release();
    ReleaseSkin();
    // The dialogs' pictures too, unless one of them is still on the screen; and the window's
    // surface in the window system (a buffer of the window's size shared with the display
    // server), made again when the window shows.
    const QWidgetList windows = QApplication::topLevelWidgets();
    if (std::none_of(windows.begin(), windows.end(), [](QWidget* w) { return w->isVisible(); })) {
        SkinPictureCache::ReleaseAll();
        QPixmapCache::clear();
        if (testAttribute(Qt::WA_WState_Created)) destroy(true, true);
    }
#ifdef __GLIBC__
    // Freed memory goes back to the system rather than waiting in the allocator's free lists.
    malloc_trim(0);
#endif
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (m_awaitingKeyboard && IsUserInput(event->type())) {
        // Shown ahead of the keyboard's reading, the window takes no input until it shows it:
        // the reading replaces the store, and would undo what the user had changed.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == this) return true;
    }
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

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape never get here (eventFilter).
    if (event->key() == Qt::Key_F1) {
        OpenHelp();
        return;
    }
    SkinnedDialog::keyPressEvent(event);
}

}  // namespace vantor
