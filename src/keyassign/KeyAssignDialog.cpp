#include "keyassign/KeyAssignDialog.h"

#include "ui/SkinLook.h"
#include "keyassign/DialogPlacement.h"
#include "keymodel/KeyConversions.h"
#include "keymodel/KeyNames.h"
#include "keymodel/KeyTables.h"
#include "shell/lang/Language.h"
#include "ui/SkinPlacement.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QRadioButton>
#include <QScreen>
#include <QStandardPaths>

#include <array>

namespace vantor {

namespace {

using namespace look;

const QString kButtonInfo = QStringLiteral("BUTTONINFO");

constexpr char kOnScreenKeyboard[] = "onboard";

using PageControl = SkinButtonPlace;

// Labels with their skin keys; their texts come from the language files.
constexpr std::array<PageControl, 9> kLabels = {{{1134, "FUNC_KEY_RADIO_KB_STATIC"},
                                                 {1135, "FUNC_KEY_RADIO_MOU_STATIC"},
                                                 {1199, "KEY_SETTING"},
                                                 {1200, "MARCO_NAME_SETTING"},
                                                 {1201, "TISHI_SINGLE_STATIC"},
                                                 {1202, "MEDIA_SETTING_TISHI"},
                                                 {1203, "FUNCTION_KEY_SETTING_TISHI"},
                                                 {1130, "FUNC_MACRO_CYCLES_PROMPT"},
                                                 {1133, "FUNC_MACRO_RECORD_DELAY2"}}};

// Picture buttons with their skin keys.
constexpr std::array<SkinButtonPlace, 11> kPictureButtons = {{{1033, "CONTROL_MASK"},
                                                          {1028, "CONTROL_KEY"},
                                                          {1029, "CONTROL_MACRO"},
                                                          {1030, "CONTROL_MEDIA"},
                                                          {1031, "CONTROL_FUNCTION"},
                                                          {1032, "CONTROL_CLEAR"},
                                                          {1131, "CONTROL_TITLE"},
                                                          {1132, "CONTROL_OSK"},
                                                          {1, "CONTROL_OK"},
                                                          {2, "CONTROL_CANCEL"},
                                                          {1015, "CONTROL_APPLY"}}};

// The controls each page shows; the others are always shown.
const std::vector<int> kKeyPage = {1127, 1134, 1135, 1185, 1186, 1187, 1201};
const std::vector<int> kMediaPage = {1128, 1202};
const std::vector<int> kFunctionPage = {1129, 1203};
const std::vector<int> kMacroPage = {1017, 1018, 1019, 1020, 1021, 1022, 1023, 1024,
                                     1025, 1026, 1027, 1125, 1126, 1133, 1200};

bool IsMouseCode(KeyCode code) {
    for (const MouseEntry& entry : MouseList)
        if (entry.code == code) return true;
    return false;
}

bool IsRunning(const QString& program) {
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == program.toUtf8()) return true;
    }
    return false;
}

}  // namespace

KeyAssignDialog::KeyAssignDialog(const QString& skinIniPath, const QString& skinFolder,
                                         Host host, QWidget* parent)
    : SkinnedDialog(skinIniPath, skinFolder, parent),
      m_host(std::move(host)),
      m_capture(this, [this](KeyCode code, bool press) { OnCaptured(code, press); },
                [this] {
                    return (m_macroPage != nullptr && m_macroPage->IsRecording()) ||
                           (m_keyRadio != nullptr && m_keyRadio->isChecked());
                }) {
    // A top-level window of its own, placed beside the button it edits.
    setWindowFlag(Qt::Window, true);
    setModal(true);
}

KeyAssignDialog::~KeyAssignDialog() { m_capture.Stop(); }

// Opening and closing ------------------------------------------------------------------------

int KeyAssignDialog::OpenForButton(int controlId) {
    const ExtraKeyBank bank = m_host.bank ? m_host.bank() : ExtraKeyBank::A;
    const int record = RecordOfKeyButton(controlId, bank);
    if (record < 0) return -1;
    if (m_host.colourView && m_host.colourView()) {
        {
            std::lock_guard lock(m_host.store->Lock());
            ToggleColourSelection(m_host.store->Data(), m_host.block(), controlId, bank);
        }
        if (m_host.colourChanged) m_host.colourChanged();
        return 0;
    }
    if (IsOpen()) return -1;
    m_controlId = controlId;
    m_record = record;
    m_macroOnly = controlId == ExtraKeyButtonIds[kExtraKeyButtonCount - 1];
    if (m_host.showButtonOpen) m_host.showButtonOpen(controlId, true);
    return exec();
}

void KeyAssignDialog::CloseIfOpen() {
    if (IsOpen()) reject();
}

void KeyAssignDialog::SetUp() {
    SkinnedDialog::SetUp();
    ++m_openCount;
    LoadFaceSets();
    CreateControls();
    PlaceControls();
    FillLists();

    {
        std::lock_guard lock(m_host.store->Lock());
        ProfileData& data = m_host.store->Data();
        m_opened = data.HasImage() ? data.Block(m_host.block())[static_cast<size_t>(m_record)]
                                   : KeyAssignment{};
    }
    m_macroPage->Open();
    m_macroPageShown = false;
    m_type = m_opened.type;

    for (const int id : {kPageKey, kPageMedia, kPageFunction, kClear}) Button(id)->setEnabled(!m_macroOnly);
    for (const int id : {1201, 1202, 1203}) Control(id)->setVisible(!m_macroOnly);
    const ButtonFaces& pageFaces = m_macroOnly ? m_macro2Set : m_keySet;
    for (const int id : {kPageKey, kPageMedia, kPageFunction, kTitle, kClear})
        Button(id)->SetPictures(pageFaces);
    Button(kPageMacro)->SetPictures(m_keySet);
    if (m_macroOnly) m_type = kAssignMacro;

    m_keyRadio->setText(QString());
    m_mouseRadio->setText(QString());
    // Each opening starts from the key's own record, not from what the last one captured.
    m_keyField->clear();
    m_capturedKey = kNoKey;
    ShowPage(m_type, true);
    SetApplyEnabled(false);

    // Beside the button, or centred for the macro editor.
    const QRect button = m_host.buttonRect ? m_host.buttonRect(m_controlId) : QRect();
    QScreen* screen = QGuiApplication::screenAt(button.center());
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    move(DialogPosition(screen->geometry(), button, size(), m_macroOnly));

    ApplyLanguage(GetLanguageIndex());
}

void KeyAssignDialog::accept() {
    Apply();
    SkinnedDialog::accept();
}

void KeyAssignDialog::done(int result) {
    // Every way out ends the recording, lets go of the keyboard, frees the macro copies and
    // gives the button back its faces.
    m_macroPage->Close();
    m_capture.Stop();
    SetApplyEnabled(false);
    if (m_openCount > 0) --m_openCount;
    if (m_host.showButtonOpen && m_controlId != 0) m_host.showButtonOpen(m_controlId, false);
    SkinnedDialog::done(result);
}

// Controls -----------------------------------------------------------------------------------

void KeyAssignDialog::LoadFaceSets() {
    // A missing picture ends the process here, at the first opening.
    const auto picture = [this](const char* name) {
        return StatePicture(QStringLiteral("Skins\\%1.jpg").arg(QLatin1String(name)));
    };
    m_keySet = {picture("key_normal"), picture("key_over"), picture("key_down"), picture("key_normal"),
                picture("key_down")};
    m_macroSet = {picture("macro_normal"), picture("macro_over"), picture("macro_down"),
                  picture("macro_disable"), picture("macro_down")};
    m_macro2Set = {picture("macro2_normal"), picture("macro2_over"), picture("macro2_down"),
                   picture("macro2_disable"), picture("macro2_down")};
    m_mediaSet = {picture("media_normal"), picture("media_over"), picture("media_down"),
                  picture("media_normal"), picture("media_down")};
    m_functionSet = {picture("function_normal"), picture("function_over"), picture("function_down"),
                     picture("function_normal"), picture("function_down")};
}

void KeyAssignDialog::CreateControls() {
    if (m_controlsMade) return;
    m_controlsMade = true;
    // The mask is made first so that every page control lies above it.
    AddButtons(kPictureButtons);
    for (const SkinButtonPlace& place : kPictureButtons)
        Button(place.id)->SetTextStyle(WhiteText(place.id == kPageFunction ? 10 : 8));
    for (const PageControl& control : kLabels) {
        auto* label = new QLabel(this);
        label->setStyleSheet(kLabelStyle);
        label->setFont(QFont(kFont, 9));
        label->setWordWrap(true);
        m_controls[control.id] = label;
    }
    m_keyField = new QLineEdit(this);
    m_keyField->setReadOnly(true);
    m_keyRadio = new QRadioButton(this);
    m_mouseRadio = new QRadioButton(this);
    for (QRadioButton* radio : {m_keyRadio, m_mouseRadio}) radio->setStyleSheet(kLabelStyle);
    m_mouseList = new QListWidget(this);
    m_mediaList = new QListWidget(this);
    m_functionList = new QListWidget(this);
    for (QWidget* input : std::initializer_list<QWidget*>{m_keyField, m_mouseList, m_mediaList, m_functionList}) {
        input->setStyleSheet(kDialogInputStyle);
        input->setFont(QFont(kFont, 10));
    }
    m_controls[kKeyField] = m_keyField;
    m_controls[kKeyRadio] = m_keyRadio;
    m_controls[kMouseRadio] = m_mouseRadio;
    m_controls[kMouseList] = m_mouseList;
    m_controls[kMediaList] = m_mediaList;
    m_controls[kFunctionList] = m_functionList;
    for (auto& [id, control] : m_controls) control->setObjectName(QString::number(id));
    MacroPage::Host page;
    page.dialog = this;
    page.store = m_host.store;
    page.block = m_host.block;
    page.markDirty = [this] { SetApplyEnabled(true); };
    page.capture = [this](bool on) { on ? m_capture.Start() : m_capture.Stop(); };
    m_macroPage = new MacroPage(std::move(page));
    m_macroPage->SetClock(m_recorderClock);
    for (const auto& [id, control] : m_macroPage->Controls()) {
        if (auto* button = qobject_cast<ImageButton*>(control)) {
            Buttons().Adopt(id, button);
        } else {
            m_controls[id] = control;
        }
    }

    connect(m_keyRadio, &QRadioButton::clicked, this, [this] { RunCommand(kKeyRadio); });
    connect(m_mouseRadio, &QRadioButton::clicked, this, [this] { RunCommand(kMouseRadio); });
    // Choosing in a list or the count is an edit that Apply has not written yet.
    for (QListWidget* list : {m_mouseList, m_mediaList, m_functionList})
        connect(list, &QListWidget::currentRowChanged, this, [this] { SetApplyEnabled(true); });
}

void KeyAssignDialog::PlaceControls() {
    const QString ini = SkinIniPath();
    PlaceButtons(m_keySet);
    Button(kMask)->setEnabled(false);
    Button(kTitle)->setEnabled(false);
    for (const PageControl& control : kLabels) PlaceControl(*Control(control.id), ini, kButtonInfo, QLatin1String(control.skinKey));
    const std::pair<int, const char*> inputs[] = {{kKeyField, "FUNC_KEY_INPUT"},
                                                  {kKeyRadio, "FUNC_KEY_RADIO_KB"},
                                                  {kMouseRadio, "FUNC_KEY_RADIO_MOU"},
                                                  {kMouseList, "FUNC_KEY_MOUSE_SELECT"},
                                                  {kMediaList, "FUNC_MEDIA_SELECT"},
                                                  {kFunctionList, "FUNC_FUNCTION_SELECT"}};
    for (const auto& [id, key] : inputs) PlaceControl(*Control(id), ini, kButtonInfo, QLatin1String(key));
    m_macroPage->Place(ini, m_macroSet);
    for (auto& [id, control] : m_controls) control->raise();
    for (auto& [id, control] : m_macroPage->Controls()) control->raise();
    for (const int id : std::initializer_list<int>{kPageKey, kPageMacro, kPageMedia, kPageFunction, kClear, kTitle, kOsk, kOk, kCancel, kApply})
        Button(id)->raise();
}

void KeyAssignDialog::FillLists() {
    // The entries' texts come with the language (ApplyLanguage).
    const std::pair<QListWidget*, int> lists[] = {
        {m_mouseList, kMouseCount}, {m_mediaList, kMediaCount}, {m_functionList, kFunctionCount}};
    for (const auto& [list, count] : lists) {
        list->clear();
        for (int i = 0; i < count; ++i) list->addItem(QString());
        list->setCurrentRow(0);
    }
}

QWidget* KeyAssignDialog::Control(int id) const {
    if (ImageButton* button = Button(id)) return button;
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

// Pages ----------------------------------------------------------------------------------------

ButtonFaces KeyAssignDialog::FacesOfType(int type) const {
    switch (type) {
        case kAssignMacro: return m_macroSet;
        case kAssignMedia: return m_mediaSet;
        case kAssignFunction: return m_functionSet;
        default: return m_keySet;
    }
}

void KeyAssignDialog::ShowPage(int type, bool initial) {
    Button(kMask)->SetPictures(FacesOfType(type));
    const bool keyPage = type != kAssignMacro && type != kAssignMedia && type != kAssignFunction;
    // Recording and the key page share the one grab: the recording lets go of it first, so
    // that the key page's capture is what holds the keyboard after.
    if (type != kAssignMacro) m_macroPage->StopRecording();
    if (keyPage) {
        m_capture.Start();
    } else {
        m_capture.Stop();
    }
    // The macro the key plays when it opens on one (or the first), the first when the page is
    // first shown for a key without a value; otherwise the selection stays.
    if (type == kAssignMacro && m_macroPage->Editor().Count() > 0) {
        if (initial) {
            m_macroPage->SelectMacro(std::max(FindMacroById(m_macroPage->Editor().Macros(), m_opened.value), 0));
        } else if (!m_macroPageShown && m_opened.value == 0) {
            m_macroPage->SelectMacro(0);
        }
    }
    if (type == kAssignMacro) m_macroPageShown = true;
    if (type == kAssignMedia && initial && m_opened.value < kMediaCount) m_mediaList->setCurrentRow(int(m_opened.value));
    if (type == kAssignFunction && initial && m_opened.value < kFunctionCount)
        m_functionList->setCurrentRow(int(m_opened.value));
    if (keyPage) {
        // Only a key record's value is a key; other records' values mean other things.
        if (initial && type == kAssignKey && m_opened.value <= 0xFFFF)
            m_capturedKey = static_cast<KeyCode>(m_opened.value);
        if (type == kAssignKey && IsMouseCode(m_capturedKey)) {
            for (int i = 0; i < kMouseCount; ++i)
                if (MouseList[static_cast<size_t>(i)].code == m_capturedKey) m_mouseList->setCurrentRow(i);
            SelectKeyRadio(false);
        } else {
            if (type == kAssignKey && m_capturedKey != kNoKey) m_keyField->setText(KeyName(m_capturedKey));
            SelectKeyRadio(true);
        }
    }
    const auto show = [this](const std::vector<int>& ids, bool on) {
        for (const int id : ids)
            if (QWidget* control = Control(id)) control->setVisible(on && !(m_macroOnly && id >= 1201 && id <= 1203));
    };
    show(kKeyPage, keyPage);
    show(kMediaPage, type == kAssignMedia);
    show(kFunctionPage, type == kAssignFunction);
    show(kMacroPage, type == kAssignMacro);
    SetPageButton(type);
    QWidget* input = keyPage ? static_cast<QWidget*>(m_keyField)
                             : type == kAssignMedia ? static_cast<QWidget*>(m_mediaList)
                             : type == kAssignFunction ? static_cast<QWidget*>(m_functionList)
                                                       : nullptr;
    if (input) input->setFocus();
    m_keyField->deselect();
}

void KeyAssignDialog::SetPageButton(int type) {
    const bool macro = type == kAssignMacro, media = type == kAssignMedia, function = type == kAssignFunction;
    Button(kPageKey)->SetSelected(!macro && !media && !function);
    Button(kPageMacro)->SetSelected(macro);
    Button(kPageMedia)->SetSelected(media);
    Button(kPageFunction)->SetSelected(function);
}

void KeyAssignDialog::SelectKeyRadio(bool keyRadio) {
    m_keyRadio->setChecked(keyRadio);
    m_mouseRadio->setChecked(!keyRadio);
    m_keyField->setEnabled(keyRadio);
    m_mouseList->setEnabled(!keyRadio);
}

// Commands -------------------------------------------------------------------------------------

void KeyAssignDialog::RunCommand(int id) {
    const auto toPage = [this](int type) {
        const bool already = type == kAssignKey ? (m_type == kAssignKey || m_type == kAssignDefault) : m_type == type;
        if (already) return;
        m_type = type;
        ShowPage(type, false);
        SetApplyEnabled(true);
    };
    switch (id) {
        case kPageKey: toPage(kAssignKey); break;
        case kPageMacro: toPage(kAssignMacro); break;
        case kPageMedia: toPage(kAssignMedia); break;
        case kPageFunction: toPage(kAssignFunction); break;
        case kClear:
            toPage(kAssignKey);
            if (m_type == kAssignKey) {
                m_keyField->clear();
                m_capturedKey = kNoKey;
                m_type = kAssignDefault;
                SelectKeyRadio(true);
            }
            break;
        case kKeyRadio:
            SelectKeyRadio(true);
            m_type = kAssignKey;
            break;
        case kMouseRadio:
            SelectKeyRadio(false);
            m_type = kAssignKey;
            break;
        case kOsk: StartOnScreenKeyboard(); break;
        case kApply: Apply(); break;
        case kOk: accept(); break;
        case kCancel: reject(); break;
        default: m_macroPage->RunCommand(id); break;
    }
}

void KeyAssignDialog::OnCaptured(KeyCode code, bool press) {
    if (m_macroPage->IsRecording()) {
        m_macroPage->Record(code, press);
        return;
    }
    if (!press) return;
    m_keyField->setText(KeyName(code));
    m_capturedKey = code;
    m_type = kAssignKey;
    SetApplyEnabled(true);
}

void KeyAssignDialog::SetRecorderClock(MillisecondClock clock) {
    m_recorderClock = std::move(clock);
    if (m_macroPage) m_macroPage->SetClock(m_recorderClock);
}

void KeyAssignDialog::SetApplyEnabled(bool on) {
    if (ImageButton* apply = Button(kApply)) apply->setEnabled(on);
}

KeyChoice KeyAssignDialog::Choice() const {
    switch (m_type) {
        case kAssignKey:
            if (m_mouseRadio->isChecked())
                return {kAssignKey, MouseList[static_cast<size_t>(std::max(m_mouseList->currentRow(), 0))].code};
            return {kAssignKey, m_capturedKey};
        case kAssignMacro: {
            // The page has merged its list into the store: the store's table is in list order.
            const uint16_t id = m_host.store->Data().Macros().IdOfIndex(m_macroPage->SelectedMacro(), m_host.store->Lock());
            return {kAssignMacro, id, static_cast<uint16_t>(m_macroPage->CycleCount())};
        }
        case kAssignMedia: return {kAssignMedia, static_cast<uint32_t>(std::max(m_mediaList->currentRow(), 0))};
        case kAssignFunction: return {kAssignFunction, static_cast<uint32_t>(std::max(m_functionList->currentRow(), 0))};
        default: return {static_cast<uint16_t>(m_type), 0};
    }
}

void KeyAssignDialog::Apply() {
    // The macro page's edits are merged into the store first.
    m_macroPage->Apply();
    const KeyChoice choice = Choice();
    {
        std::lock_guard lock(m_host.store->Lock());
        ApplyKeyChoice(m_host.store->Data(), m_host.block(), m_record, choice);
    }
    SetApplyEnabled(false);
    if (m_host.recordsChanged) m_host.recordsChanged();
}

void KeyAssignDialog::StartOnScreenKeyboard() {
    const QString program = QStandardPaths::findExecutable(QLatin1String(kOnScreenKeyboard));
    if (program.isEmpty() || IsRunning(QLatin1String(kOnScreenKeyboard))) return;
    QProcess::startDetached(program, {});
}

// Texts and keys -------------------------------------------------------------------------------

void KeyAssignDialog::ApplyLanguage(int languageIndex) {
    if (!m_controlsMade) return;
    const auto text = [languageIndex](const char* key) { return LanguageText(QLatin1String(key), languageIndex); };
    const std::pair<int, const char*> labels[] = {{1130, "MACRO_CYCLES"},       {1133, "RECORD_DELAY"},
                                                  {1134, "IDS_MACRO_KB_KEY"},   {1135, "IDS_MACRO_MOU_KEY"},
                                                  {1201, "SINGLE_STATIC"},      {1200, "MACRO_NAME_SETTING"},
                                                  {1202, "MEDIA_EDIT_TISHI"},   {1203, "FUNCTION_TISHI"}};
    for (const auto& [id, key] : labels) static_cast<QLabel*>(Control(id))->setText(text(key));
    static_cast<QLabel*>(Control(1199))->setText(text(m_macroOnly ? "MACRO_EDIT_TISHI" : "KEY_SETTING_TISHI"));
    const QString none;
    Button(kPageKey)->setText(m_macroOnly ? none : text("SINGLE_KEY"));
    Button(kPageMedia)->setText(m_macroOnly ? none : text("MULTI_MEDIA"));
    Button(kPageFunction)->setText(m_macroOnly ? none : text("FUNCTION_KEY"));
    Button(kPageMacro)->setText(text("MACRO_SETTING"));
    Button(kPageMacro)->SetToolTipText(text("MACRO_SETTING"));
    Button(kOk)->setText(text("MACRO_OK"));
    Button(kCancel)->setText(text("MACRO_CANCLE"));
    Button(kApply)->setText(text("PROFILE_APPLY"));
    QString osk = text("COMPOSITE_PROMPT_OSK");
    if (QStandardPaths::findExecutable(QLatin1String(kOnScreenKeyboard)).isEmpty())
        osk += QLatin1Char('\n') + text("COMPOSITE_OSK_MISSING");
    Button(kOsk)->SetToolTipText(osk);
    // The lists' entries are language texts too.
    for (int i = 0; i < kMouseCount; ++i) m_mouseList->item(i)->setText(KeyName(MouseList[size_t(i)].code));
    for (int i = 0; i < kMediaCount; ++i) m_mediaList->item(i)->setText(KeyName(MediaList[size_t(i)].code));
    for (int i = 0; i < kFunctionCount; ++i)
        m_functionList->item(i)->setText(LanguageText(QLatin1String(FunctionList[size_t(i)]), languageIndex));
    m_macroPage->ApplyLanguage(languageIndex);
}

void KeyAssignDialog::showEvent(QShowEvent* event) {
    SkinnedDialog::showEvent(event);
    // The keyboard can be grabbed only by a window on the screen: the capture that the first
    // page started before the dialog showed takes hold now.
    if (m_capture.IsActive()) grabKeyboard();
}

void KeyAssignDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape: event->accept(); return;  // neither closes the dialog
        case Qt::Key_F1:
            if (m_host.help && !m_macroPage->IsRecording()) m_host.help();
            return;
        default: SkinnedDialog::keyPressEvent(event);
    }
}

}  // namespace vantor
