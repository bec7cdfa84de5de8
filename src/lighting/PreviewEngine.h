#pragma once

#include "lighting/LightingBlock.h"
#include "lighting/PreviewFrame.h"
#include "lighting/PreviewFronts.h"
#include "lighting/PreviewRandom.h"
#include "lighting/UserColourFile.h"

#include <array>
#include <cstdint>

namespace vantor {

// What the lighting panel shows at the moment of a tick.
struct PreviewInput {
    uint8_t effect = 0;
    uint8_t direction = kDirectionFirst;  // non-zero runs forward; effect 2 tests 0xFF
    bool randomColour = false;
    Rgb colour{0xFF, 0xFF, 0xFF};
};

// ---------------------------------------------------------------------------------------
// The lighting preview: which colour each key button of the keyboard picture shows at each
// tick of the selected effect, an imitation of what the keyboard's own lighting does. It
// keeps the phases, counters and per-key levels of every effect between ticks; a new
// selection restarts the effects that spread or run a script (ClearInitialised). It paints
// nothing itself and has no timer: the window ticks it and paints the frame.
// ---------------------------------------------------------------------------------------
class PreviewEngine {
public:
    explicit PreviewEngine(PreviewRandom random = PreviewRandom());

    // One tick of the input's effect; the first tick after ClearInitialised starts the
    // spreading and scripted effects afresh. The frame lives until the next tick.
    const PreviewFrame& Tick(const PreviewInput& input);
    void ClearInitialised() { m_initialised = false; }
    bool Initialised() const { return m_initialised; }

private:
    void Initialise();

    void TickWave(const PreviewInput& in);       // effect 1
    void TickWaveB(const PreviewInput& in);      // effect 2
    void TickSnake(const PreviewInput& in);      // effect 3
    void TickBreathing(const PreviewInput& in);  // effect 5
    void TickStatic(const PreviewInput& in);     // effect 6
    void TickTwinkle(const PreviewInput& in);    // effect 10
    void TickHueWalk();                          // effect 11
    void TickRows(const PreviewInput& in);       // effect 12
    void TickBounce(const PreviewInput& in);     // effect 13
    void TickScript(const PreviewInput& in);     // effect 14
    void TickRain(const PreviewInput& in);       // effect 15
    void TickSweep(const PreviewInput& in);      // effect 16
    void TickRings(const PreviewInput& in);      // effect 18

    void PaintCell(int column, int row, const Rgb& colour);
    template <class ColourOf>
    void WalkRows(int start, int stride, int n, ColourOf colourOf);
    void PaintGroup(const preview::KeyGroup& keys, const Rgb& colour);
    // Every cell of the planes that holds a preview key gets level 255 and, with random
    // colours, a random hue.
    void SeedFromPlanes(const preview::FrontPlanes& planes, preview::KeyLevels& set, bool random);
    // Every preview key: its level fades one step, then it is painted with its hue (random
    // colours) or the single colour, scaled by the level.
    void PaintLevels(preview::KeyLevels& set, preview::Decay decay, const PreviewInput& in);
    void Light(preview::KeyLevels& set, int controlId, uint8_t hue);

    PreviewRandom m_random;
    PreviewFrame m_frame;
    bool m_initialised = false;

    // The phase of each effect that walks a table, by effect code.
    std::array<int, 13> m_phase{};
    preview::KeyLevels m_setT, m_setR, m_setS, m_setP;
    std::array<uint8_t, kLedPositionCount> m_walkHue{};  // effect 11
    preview::FrontPlanes m_planes13, m_planes14, m_planes15, m_planes16;
    int m_twinkle = 0;
    bool m_walkStarted = false;    // effect 11's first run
    bool m_bounceStarted = false;  // effect 13's first run
    int m_scriptStage = 0;
    int m_scriptStep = 0;
    uint8_t m_scriptHue = 0;
    int m_rainColumn = 0;
    uint8_t m_ringOffset = 0;
};

}  // namespace vantor
