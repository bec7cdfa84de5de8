#pragma once

#include "lighting/EffectControls.h"
#include "lighting/LightingPanel.h"
#include "lighting/UserColourFile.h"

#include <QColor>
#include <QObject>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include <array>
#include <map>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QWidget;

namespace vantor {

class BitmapSlider;
class ColourButton;
class StatePicture;

// The lighting panel's controls on the main window, placed from the main skin file: the effect
// list, sliders, direction and colour pictures, colour buttons with their random toggles, the
// lamp, and the per-key colour controls (mode list, key and base colour, tools, colour value
// boxes), with their labels. It shows what it is given and reports the user's acts as signals;
// what they do is decided by the lighting panel and the per-key colours.
class LightingPanelView : public QObject {
    Q_OBJECT

public:
    LightingPanelView(QWidget* window, QString skinIniPath, QString skinFolder);

    // Creates every control, places it from the skin and loads the panel pictures.
    void Place();

    // Every control from a redisplay, the effect list filled anew; the control groups of the
    // effect are shown, those of the per-key colours as well while `userControls`.
    void Show(const LightingView& view, bool userControls);
    // The same, keeping the effect list's entries (only its selection follows).
    void ShowValues(const LightingView& view, bool userControls);
    // The groups of an effect, the direction pictures placed for its family and showing
    // `firstDirection`; the per-key colour controls while `userControls`.
    void ShowGroups(const EffectControls& controls, bool firstDirection, bool userControls);
    void ShowDirection(bool first);
    void ShowRandom(bool hx, bool fy);
    void ShowSingleColour(QColor colour);
    void ShowColourChoice(int choice);
    void ShowLamp(bool on);
    // The mode list's entries and selection.
    void ShowModes(const QStringList& names, int current);
    void ShowBrush(const BrushState& brush);
    // The labels in a language.
    void ApplyLanguage(int languageIndex);

    QListWidget* EffectList() const { return m_effects; }
    BitmapSlider* BrightnessSlider() const { return m_brightness; }
    BitmapSlider* SpeedSlider() const { return m_speed; }
    StatePicture* DirectionPicture(int i) const { return m_direction[size_t(i)]; }
    ColourButton* HxColourButton() const { return m_hxColour; }
    ColourButton* FyColourButton() const { return m_fyColour; }
    StatePicture* HxRandomToggle() const { return m_hxRandom; }
    StatePicture* FyRandomToggle() const { return m_fyRandom; }
    StatePicture* ColourPicture(int i) const { return m_colourPictures[size_t(i)]; }
    StatePicture* Lamp() const { return m_lamp; }
    QComboBox* ModeList() const { return m_modes; }
    ColourButton* KeyColourButton() const { return m_keyColour; }
    ColourButton* BaseColourButton() const { return m_baseColour; }
    StatePicture* ToolPicture(int i) const { return m_tools[size_t(i)]; }
    QLineEdit* ColourValueBox(int i) const { return m_values[size_t(i)]; }
    // A control or label by its control id, null for none of the panel's.
    QWidget* Control(int controlId) const;

signals:
    void EffectSelected(int listPosition);
    void BrightnessMoved(int position);
    void SpeedMoved(int position);
    void DirectionChosen(bool first);
    void ColourChosen(QColor colour);
    void RandomToggled();
    void ColourPictureChosen(int choice);
    void LampClicked();
    void ModeSelected(int mode);
    void ModeRenamed(int mode, QString name);
    void KeyColourPicked(QColor colour);
    void BaseColourPicked(QColor colour);
    void ToolChosen(int tool);

private:
    template <typename Control>
    Control* Add(int controlId, const QString& skinKey);
    QLabel* AddLabel(int controlId, const QString& skinKey);
    QPixmap Picture(const QString& name) const;
    void PlaceDirection(DirectionFamily family);
    void CreateControls();
    void ConnectControls();

    QWidget* m_window;
    QString m_skinIniPath;
    QString m_skinFolder;
    std::map<int, QWidget*> m_controls;
    // The direction family the pictures were last placed for.
    DirectionFamily m_directionFamily = DirectionFamily::None;
    // Set while the view fills a control, so the control's change is not taken as the user's.
    bool m_filling = false;

    QListWidget* m_effects = nullptr;
    BitmapSlider* m_brightness = nullptr;
    BitmapSlider* m_speed = nullptr;
    std::array<StatePicture*, 2> m_direction{};
    ColourButton* m_hxColour = nullptr;
    ColourButton* m_fyColour = nullptr;
    StatePicture* m_hxRandom = nullptr;
    StatePicture* m_fyRandom = nullptr;
    std::array<StatePicture*, 4> m_colourPictures{};
    StatePicture* m_lamp = nullptr;
    QComboBox* m_modes = nullptr;
    ColourButton* m_keyColour = nullptr;
    ColourButton* m_baseColour = nullptr;
    std::array<StatePicture*, 2> m_tools{};
    std::array<QLineEdit*, 3> m_values{};
    QLabel* m_directionLabel = nullptr;
};

}  // namespace vantor
