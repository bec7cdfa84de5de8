#include "lighting/LightingPanelView.h"

#include "lighting/ColourValue.h"
#include "lighting/PanelControlIds.h"
#include "shell/Paths.h"
#include "shell/lang/Language.h"
#include "ui/BitmapSlider.h"
#include "ui/ColourButton.h"
#include "ui/SkinLook.h"
#include "ui/SkinPlacement.h"
#include "ui/StatePicture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

#include <initializer_list>

namespace vantor {

namespace {

namespace Id = ControlIds;

const QString kSection = QStringLiteral("BUTTONINFO");
using look::kFont;
using look::kLabelStyle;

// The mode list has no well in the skin: it draws its own.
const QString kModeListStyle = QStringLiteral(
    "QComboBox { background: #121418; color: #E4E4E4; border: 1px solid #2E333D;"
    " border-radius: 4px; padding: 1px 6px; selection-background-color: #FF8A1F;"
    " selection-color: #121418; }"
    " QComboBox::drop-down { border: none; width: 18px; }"
    " QComboBox QAbstractItemView { background: #1B1E25; color: #E4E4E4;"
    " selection-background-color: #FF8A1F; selection-color: #121418; }");

// The two pictures of each direction family: first direction (not selected, selected), then
// the second.
struct DirectionPictures {
    const char* first[2];
    const char* second[2];
};

DirectionPictures PicturesOf(DirectionFamily family) {
    switch (family) {
        case DirectionFamily::Waterfall: return {{"upup.bmp", "updown.bmp"}, {"downup.bmp", "downdown.bmp"}};
        case DirectionFamily::Halo: return {{"kuosan.bmp", "kuosandown.bmp"}, {"julong.bmp", "julongdown.bmp"}};
        default: return {{"leftup.bmp", "leftdown.bmp"}, {"rightup.bmp", "rightdown.bmp"}};
    }
}

QColor ColourOf(const Rgb& rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

// The label ids and their keys in section "LIGHT".
constexpr std::pair<int, const char*> kLightLabels[] = {
    {Id::kReportRateLabel, "Usb"},   {Id::kLampLabel, "Deng"},        {Id::kBrightnessLabel, "Light"},
    {Id::kDirectionLabel, "FX"},     {Id::kSpeedLabel, "Speed"},      {Id::kHxColourLabel, "Color"},
    {Id::kFyColourLabel, "Color"},   {Id::kKeyColourLabel, "Color"},  {Id::kBaseColourLabel, "JColor"},
    {Id::kHxRandomLabel, "DC"},      {Id::kFyRandomLabel, "DC"},      {Id::kToolLabel, "Tool"},
};

}  // namespace

LightingPanelView::LightingPanelView(QWidget* window, QString skinIniPath, QString skinFolder)
    : QObject(window),
      m_window(window),
      m_skinIniPath(std::move(skinIniPath)),
      m_skinFolder(std::move(skinFolder)) {}

template <typename Control>
Control* LightingPanelView::Add(int controlId, const QString& skinKey) {
    auto* control = new Control(m_window);
    control->setObjectName(QString::number(controlId));
    PlaceControl(*control, m_skinIniPath, kSection, skinKey);
    m_controls[controlId] = control;
    return control;
}

QLabel* LightingPanelView::AddLabel(int controlId, const QString& skinKey) {
    auto* label = Add<QLabel>(controlId, skinKey);
    label->setStyleSheet(kLabelStyle);
    label->setFont(QFont(kFont, 9));
    return label;
}

QPixmap LightingPanelView::Picture(const QString& name) const {
    // A missing file leaves the picture empty.
    return QPixmap(AppPaths::ResolveCaseInsensitive(m_skinFolder, name));
}

QWidget* LightingPanelView::Control(int controlId) const {
    const auto found = m_controls.find(controlId);
    return found == m_controls.end() ? nullptr : found->second;
}

void LightingPanelView::Place() {
    if (m_effects) return;
    CreateControls();
    ConnectControls();
    ShowGroups(ControlsOfEffect(0), true, false);
    ApplyLanguage(GetLanguageIndex());
}

void LightingPanelView::CreateControls() {
    AddLabel(Id::kLampLabel, QStringLiteral("CONTROL_DengStatic"));
    m_lamp = Add<StatePicture>(Id::kLamp, QStringLiteral("CONTROL_DengStaPic"));
    m_lamp->SetPictures(Picture(QStringLiteral("dengup.bmp")), Picture(QStringLiteral("dengdown.bmp")));
    m_effects = Add<QListWidget>(Id::kEffectList, QStringLiteral("CONTROL_XGcombox"));
    m_modes = Add<QComboBox>(Id::kModeList, QStringLiteral("CONTROL_umCombo"));
    m_modes->setEditable(true);
    m_modes->setInsertPolicy(QComboBox::NoInsert);
    m_effects->setStyleSheet(look::kPanelListStyle);
    m_modes->setStyleSheet(kModeListStyle);
    for (QWidget* input : std::initializer_list<QWidget*>{m_effects, m_modes}) input->setFont(QFont(kFont, 10));
    m_effects->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    AddLabel(Id::kBrightnessLabel, QStringLiteral("CONTROL_LightStatic"));
    m_brightness = Add<BitmapSlider>(Id::kBrightnessSlider, QStringLiteral("CONTROL_LightSlider"));
    AddLabel(Id::kSpeedLabel, QStringLiteral("CONTROL_SpeedStatic"));
    m_speed = Add<BitmapSlider>(Id::kSpeedSlider, QStringLiteral("CONTROL_SpeedSlider"));
    BitmapSlider::Pictures brightness, speed;
    for (int v = 0; v <= BitmapSlider::kMaxPosition; ++v) {
        brightness[size_t(v)] = Picture(QStringLiteral("%1.bmp").arg(v));
        speed[size_t(v)] = Picture(QStringLiteral("%1.bmp").arg(v + 6));
    }
    m_brightness->SetPictures(brightness);
    m_speed->SetPictures(speed);

    m_directionLabel = AddLabel(Id::kDirectionLabel, QStringLiteral("CONTROL_BLFXStatic"));
    m_direction[0] = Add<StatePicture>(Id::kDirectionPictures[0], QStringLiteral("CONTROL_BLFXLStaPic"));
    m_direction[1] = Add<StatePicture>(Id::kDirectionPictures[1], QStringLiteral("CONTROL_BLFXRStaPic"));

    AddLabel(Id::kHxColourLabel, QStringLiteral("CONTROL_HXysStatic"));
    m_hxColour = Add<ColourButton>(Id::kHxColourButton, QStringLiteral("CONTROL_HXysButton"));
    AddLabel(Id::kHxRandomLabel, QStringLiteral("CONTROL_HXsjsStatic"));
    m_hxRandom = Add<StatePicture>(Id::kHxRandomToggle, QStringLiteral("CONTROL_HXsjsStaPic"));
    AddLabel(Id::kFyColourLabel, QStringLiteral("CONTROL_FYYSStatic"));
    m_fyColour = Add<ColourButton>(Id::kFyColourButton, QStringLiteral("CONTROL_FYYSButton"));
    AddLabel(Id::kFyRandomLabel, QStringLiteral("CONTROL_FYSJSStatic"));
    m_fyRandom = Add<StatePicture>(Id::kFyRandomToggle, QStringLiteral("CONTROL_FYSJSStaPic"));
    for (StatePicture* toggle : {m_hxRandom, m_fyRandom})
        toggle->SetPictures(Picture(QStringLiteral("sjsup.bmp")), Picture(QStringLiteral("sjsdown.bmp")));

    const char* colourKeys[] = {"CONTROL_HONGPIC", "CONTROL_HUANGPIC", "CONTROL_LVPIC", "CONTROL_LANPIC"};
    const char* colourNames[] = {"hong", "huang", "lv", "lan"};
    for (int i = 0; i < 4; ++i) {
        m_colourPictures[size_t(i)] =
            Add<StatePicture>(Id::kColourPictures[size_t(i)], QString::fromLatin1(colourKeys[i]));
        m_colourPictures[size_t(i)]->SetPictures(Picture(QStringLiteral("%1.bmp").arg(colourNames[i])),
                                                 Picture(QStringLiteral("%1ok.bmp").arg(colourNames[i])));
    }

    AddLabel(Id::kKeyColourLabel, QStringLiteral("CONTROL_USERysStatic"));
    m_keyColour = Add<ColourButton>(Id::kKeyColourButton, QStringLiteral("CONTROL_USERysButton"));
    AddLabel(Id::kBaseColourLabel, QStringLiteral("CONTROL_USERjsStatic"));
    m_baseColour = Add<ColourButton>(Id::kBaseColourButton, QStringLiteral("CONTROL_USERjsButton"));
    AddLabel(Id::kToolLabel, QStringLiteral("CONTROL_USERgjStatic"));
    for (int i = 0; i < 2; ++i) {
        m_tools[size_t(i)] = Add<StatePicture>(Id::kToolPictures[size_t(i)],
                                               QStringLiteral("CONTROL_USERgjStaPic%1").arg(i + 1));
        m_tools[size_t(i)]->SetPictures(Picture(QStringLiteral("user%1up.bmp").arg(i + 1)),
                                        Picture(QStringLiteral("user%1down.bmp").arg(i + 1)));
    }
    AddLabel(Id::kRgbLabel, QStringLiteral("CONTROL_RGBStatic"))->setText(QStringLiteral("RGB"));
    const char* valueKeys[] = {"COLOR_R", "COLOR_G", "COLOR_B"};
    for (int i = 0; i < 3; ++i) {
        QLineEdit* box = Add<QLineEdit>(Id::kColourValueBoxes[size_t(i)], QString::fromLatin1(valueKeys[i]));
        box->setStyleSheet(look::kPanelListStyle);
        box->setFont(QFont(kFont, 10));
        box->setAlignment(Qt::AlignCenter);
        m_values[size_t(i)] = box;
    }
    AddLabel(Id::kReportRateLabel, QStringLiteral("CONTROL_UsbStatic"));
}

void LightingPanelView::ConnectControls() {
    connect(m_effects, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_filling && row >= 0) emit EffectSelected(row);
    });
    connect(m_brightness, &BitmapSlider::Moved, this, &LightingPanelView::BrightnessMoved);
    connect(m_speed, &BitmapSlider::Moved, this, &LightingPanelView::SpeedMoved);
    connect(m_direction[0], &StatePicture::clicked, this, [this] { emit DirectionChosen(true); });
    connect(m_direction[1], &StatePicture::clicked, this, [this] { emit DirectionChosen(false); });
    for (ColourButton* button : {m_hxColour, m_fyColour})
        connect(button, &ColourButton::ColourChosen, this, &LightingPanelView::ColourChosen);
    for (StatePicture* toggle : {m_hxRandom, m_fyRandom})
        connect(toggle, &StatePicture::clicked, this, &LightingPanelView::RandomToggled);
    for (int i = 0; i < 4; ++i)
        connect(m_colourPictures[size_t(i)], &StatePicture::clicked, this, [this, i] { emit ColourPictureChosen(i); });
    connect(m_lamp, &StatePicture::clicked, this, &LightingPanelView::LampClicked);
    connect(m_modes, &QComboBox::activated, this, &LightingPanelView::ModeSelected);
    connect(m_modes->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        const int mode = m_modes->currentIndex();
        if (mode < 0) return;
        const QString name = text.left(259);
        // The entry takes the edited text; the cursor stays where the person types.
        const int cursor = m_modes->lineEdit()->cursorPosition();
        m_modes->setItemText(mode, name);
        m_modes->lineEdit()->setCursorPosition(cursor);
        emit ModeRenamed(mode, name);
    });
    connect(m_keyColour, &ColourButton::ColourChosen, this, &LightingPanelView::KeyColourPicked);
    connect(m_baseColour, &ColourButton::ColourChosen, this, &LightingPanelView::BaseColourPicked);
    for (int i = 0; i < 2; ++i)
        connect(m_tools[size_t(i)], &StatePicture::clicked, this, [this, i] { emit ToolChosen(i); });
    for (QLineEdit* box : m_values) {
        connect(box, &QLineEdit::textChanged, box, [box](const QString& text) {
            const QString shown = ColourValueText(text);
            if (shown != text) box->setText(shown);
        });
    }
}

void LightingPanelView::Show(const LightingView& view, bool userControls) {
    m_filling = true;
    m_effects->clear();
    for (const EffectEntry& entry : view.effects) m_effects->addItem(entry.name);
    m_filling = false;
    ShowValues(view, userControls);
}

void LightingPanelView::ShowValues(const LightingView& view, bool userControls) {
    m_filling = true;
    m_effects->setCurrentRow(view.selectedEffect);
    if (view.selectedEffect < 0) m_effects->clearSelection();
    m_filling = false;
    m_brightness->SetPosition(view.brightnessPosition);
    m_speed->SetPosition(view.speedPosition);
    ShowSingleColour(QColor(view.colour[0], view.colour[1], view.colour[2]));
    ShowRandom(view.hxRandom, view.fyRandom);
    ShowColourChoice(view.colourChoice);
    ShowGroups(view.controls, view.firstDirection, userControls);
}

void LightingPanelView::ShowGroups(const EffectControls& controls, bool firstDirection,
                                   bool userControls) {
    auto show = [this](std::initializer_list<int> ids, bool on) {
        for (const int id : ids)
            if (QWidget* control = Control(id)) control->setVisible(on);
    };
    show({Id::kBrightnessLabel, Id::kBrightnessSlider}, controls.brightness);
    show({Id::kSpeedLabel, Id::kSpeedSlider}, controls.speed);
    const bool direction = controls.direction != DirectionFamily::None;
    if (direction) PlaceDirection(controls.direction);
    show({Id::kDirectionLabel, Id::kDirectionPictures[0], Id::kDirectionPictures[1]}, direction);
    ShowDirection(firstDirection);
    show({Id::kHxColourLabel, Id::kHxColourButton, Id::kHxRandomLabel, Id::kHxRandomToggle},
         controls.colourPair == ColourPair::HX);
    show({Id::kFyColourLabel, Id::kFyColourButton, Id::kFyRandomLabel, Id::kFyRandomToggle},
         controls.colourPair == ColourPair::FY);
    show({Id::kColourPictures[0], Id::kColourPictures[1], Id::kColourPictures[2], Id::kColourPictures[3]},
         controls.colourPictures);
    show({Id::kModeList, Id::kKeyColourLabel, Id::kKeyColourButton, Id::kBaseColourLabel,
          Id::kBaseColourButton, Id::kToolLabel, Id::kToolPictures[0], Id::kToolPictures[1]},
         controls.userDefined && userControls);
}

void LightingPanelView::PlaceDirection(DirectionFamily family) {
    if (family == m_directionFamily) return;
    m_directionFamily = family;
    const QString suffix = DirectionSkinSuffix(family);
    PlaceAtPoint(*m_directionLabel, m_skinIniPath, kSection, QStringLiteral("CONTROL_BLFXStatic") + suffix);
    PlaceAtPoint(*m_direction[0], m_skinIniPath, kSection, QStringLiteral("CONTROL_BLFXLStaPic") + suffix);
    PlaceAtPoint(*m_direction[1], m_skinIniPath, kSection, QStringLiteral("CONTROL_BLFXRStaPic") + suffix);
    const DirectionPictures pictures = PicturesOf(family);
    m_direction[0]->SetPictures(Picture(QString::fromLatin1(pictures.first[0])),
                                Picture(QString::fromLatin1(pictures.first[1])));
    m_direction[1]->SetPictures(Picture(QString::fromLatin1(pictures.second[0])),
                                Picture(QString::fromLatin1(pictures.second[1])));
}

void LightingPanelView::ShowDirection(bool first) {
    m_direction[0]->SetOn(first);
    m_direction[1]->SetOn(!first);
}

void LightingPanelView::ShowRandom(bool hx, bool fy) {
    m_hxRandom->SetOn(hx);
    m_fyRandom->SetOn(fy);
}

void LightingPanelView::ShowSingleColour(QColor colour) {
    m_hxColour->SetColour(colour);
    m_fyColour->SetColour(colour);
}

void LightingPanelView::ShowColourChoice(int choice) {
    for (int i = 0; i < 4; ++i) m_colourPictures[size_t(i)]->SetOn(i == choice);
}

void LightingPanelView::ShowLamp(bool on) { m_lamp->SetOn(on); }

void LightingPanelView::ShowModes(const QStringList& names, int current) {
    const QSignalBlocker block(m_modes);
    m_modes->clear();
    m_modes->addItems(names);
    m_modes->setCurrentIndex(current < names.size() ? current : -1);
}

void LightingPanelView::ShowBrush(const BrushState& brush) {
    m_keyColour->SetColour(ColourOf(brush.key));
    m_baseColour->SetColour(ColourOf(brush.base));
    m_tools[0]->SetOn(brush.tool == 0);
    m_tools[1]->SetOn(brush.tool == 1);
}

void LightingPanelView::ApplyLanguage(int languageIndex) {
    for (const auto& [id, key] : kLightLabels) {
        if (auto* label = qobject_cast<QLabel*>(Control(id)))
            label->setText(LightSectionText(QString::fromLatin1(key), languageIndex));
    }
}

}  // namespace vantor
