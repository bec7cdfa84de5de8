#pragma once

#include "device/CommandResult.h"
#include "device/DeviceLink.h"
#include "device/StatusCommands.h"
#include "lighting/EffectControls.h"
#include "lighting/LightingBlock.h"
#include "lighting/LightingRead.h"
#include "lighting/LightingResult.h"
#include "lighting/LightingWrites.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace vantor {

// The current values of the profile being edited, as the panel's controls show them.
struct LightingValues {
    uint8_t effect = 0;
    uint8_t brightness = 0;
    uint8_t speed = 0;
    uint8_t direction = kDirectionFirst;
    bool randomColour = false;
    bool fyRandom = false;        // the FY toggle: the random flag, or for effect 7 offset 18
    std::array<uint8_t, 3> colour{};
    uint8_t colourChoice = 0;     // 0-3
    uint8_t reportRate = 0;       // 0-3
    // Read into the state, shown by no control.
    uint8_t triggerMode = 0;
    std::array<uint8_t, 3> secondColour{};
    bool secondRandom = false;
    std::array<uint8_t, 3> thirdColour{};
    bool thirdRandom = false;
    bool colourMode = false;      // from the user settings file, read by every refresh
};

// One entry of the effect list box.
struct EffectEntry {
    uint8_t code = 0;
    QString name;
};

// Everything the panel's controls show after a redisplay.
struct LightingView {
    std::vector<EffectEntry> effects;  // in the keyboard's order
    int selectedEffect = -1;           // index into effects, -1 when the code is not listed
    EffectControls controls;           // the groups of the current effect
    int reportRateButton = 0;          // exactly one of the four pressed
    int brightnessPosition = 0;
    int speedPosition = 0;             // 5 - speed
    bool firstDirection = false;       // direction 0xFF selects the first picture
    std::array<uint8_t, 3> colour{};
    bool hxRandom = false;
    bool fyRandom = false;
    int colourChoice = 0;
    bool colourMode = false;           // the lamp picture's on image
};

// The status block's effect list holds the effect (0 is no effect).
bool OffersEffect(const StatusBlock& status, uint8_t effect);

// The effect name of a code: section "MODE" of the language file, keyed by the code in decimal.
using EffectNamer = std::function<QString(uint8_t code)>;
QString EffectNameFromLanguage(uint8_t code);

// ---------------------------------------------------------------------------------------
// The lighting panel's state and rules, without widgets: what a refresh reads, what the
// controls show, and exactly what each control's handler sends. Every change is written at
// once as one group. The panel state changes before the writes go out; when the keyboard
// does not take them, the profile's block is read back so the state shows what the keyboard
// holds, and the result says so.
// ---------------------------------------------------------------------------------------
class LightingPanel {
public:
    explicit LightingPanel(DeviceLink& link, EffectNamer namer = EffectNameFromLanguage);

    // Reads the status block and the three lighting blocks, takes the values of the profile's
    // block, and reads the colour-mode flag of the user settings file. The effect list of the
    // status copy is cleared first, so when the status block cannot be read the list stays
    // empty until the next refresh and the result is the read's failure; the other values stay
    // as they were. Nothing is read for a profile out of range.
    CommandResult Refresh(int profile);
    // The same refresh from what was read already (ReadLightingReadout), on any thread.
    CommandResult Take(int profile, const LightingReadout& readout);
    // The first half of a refresh: the status block alone, so the effect list is current.
    CommandResult ReadEffectList();
    // The keyboard lists the effect.
    bool Offers(uint8_t effect) const;
    // What every control shows; fills the effect table the effect list's positions index.
    LightingView Redisplay();

    // Handlers, one per control; p is the profile of the last refresh.
    LightingResult SelectEffect(int listPosition);
    LightingResult MoveBrightness(int position);
    LightingResult MoveSpeed(int position);
    LightingResult ChooseDirection(bool first);
    LightingResult ChooseColour(uint8_t red, uint8_t green, uint8_t blue);
    LightingResult ToggleRandom();
    LightingResult ChooseColourPicture(int choice);
    LightingResult ChooseReportRate(int rate);

    int Profile() const { return m_profile; }
    const LightingValues& Values() const { return m_values; }
    const StatusBlock& Status() const { return m_status; }
    const LightingBlocks& Blocks() const { return m_blocks; }
    const std::vector<uint8_t>& EffectTable() const { return m_effectTable; }

private:
    void TakeValues(const LightingBlock& block);
    LightingResult Send(const LightingWrites& writes);

    DeviceLink& m_link;
    EffectNamer m_namer;
    int m_profile = 0;
    StatusBlock m_status{};
    LightingBlocks m_blocks{};
    std::vector<uint8_t> m_effectTable;
    LightingValues m_values;
};

// The factory lighting block over the first 35 bytes of profile q's block, as one group; part
// of the reset to factory settings.
CommandResult ResetProfileLighting(DeviceLink& link, int profile);

}  // namespace vantor
