#include "lighting/PreviewEngine.h"

#include "lighting/PreviewTables.h"

namespace vantor {

using namespace preview;

namespace {

// One step of a phase through a table of n entries, wrapping at either end. A phase that the
// effect's other table left at n or beyond (random colours toggled) is first brought into
// range, so no table is read past its end.
int Step(bool forward, int x, int d, int n) {
    x %= n;
    if (forward) {
        x += d;
        return x >= n ? x - n : x;
    }
    x -= d;
    return x < 0 ? x + n : x;
}

bool Forward(const PreviewInput& in) { return in.direction != 0; }

// The cells of the O key, where effect 14's spreading front starts.
constexpr int kOColumn = 10;
constexpr int kORow = 2;
constexpr uint16_t kPKey = 1053;
constexpr uint16_t kNumEnterKey = 1118;

}  // namespace

PreviewEngine::PreviewEngine(PreviewRandom random) : m_random(std::move(random)) {}

const PreviewFrame& PreviewEngine::Tick(const PreviewInput& in) {
    m_frame.Clear();
    if (!m_initialised) {
        Initialise();
        m_initialised = true;
    }
    switch (in.effect) {
    case 1: TickWave(in); break;
    case 2: TickWaveB(in); break;
    case 3: TickSnake(in); break;
    case 4: {
        int& phase = m_phase[4];
        phase = Step(Forward(in), phase, 2, kHueCount);
        for (int c = 0; c < kGridColumns; ++c)
            for (int r = 0; r < kGridRows; ++r) PaintCell(c, r, HueEntry(phase));
        break;
    }
    case 5: TickBreathing(in); break;
    case 6: TickStatic(in); break;
    case 10: TickTwinkle(in); break;
    case 11: TickHueWalk(); break;
    case 12: TickRows(in); break;
    case 13: TickBounce(in); break;
    case 14: TickScript(in); break;
    case 15: TickRain(in); break;
    case 16: TickSweep(in); break;
    case 18: TickRings(in); break;
    case 20: break;  // the per-key colours stay painted
    default: m_frame.ResetAll(); break;  // 7, 8, 9, 17 and unknown codes show no preview
    }
    return m_frame;
}

void PreviewEngine::Initialise() {
    m_scriptStage = 0;
    m_scriptStep = 0;
    m_scriptHue = 0;
    m_rainColumn = 0;
    m_ringOffset = 0;
    m_setT.Clear();
    m_planes15.Clear();
    m_planes15.SetAll(9, 6);
    m_setS.Clear();
    m_planes16.Clear();
    m_planes16.SetAll(1, 0);
}

void PreviewEngine::PaintCell(int column, int row, const Rgb& colour) {
    if (const uint16_t id = Grid[size_t(column)][size_t(row)]) m_frame.Paint(id, colour);
}

void PreviewEngine::PaintGroup(const KeyGroup& keys, const Rgb& colour) {
    for (const uint16_t id : keys) {
        if (id == 0) break;
        m_frame.Paint(id, colour);
    }
}

// Each row walks the same entries along its columns, from `start`, `stride` entries a column
// on a table of n; empty cells advance the walk too.
template <class ColourOf>
void PreviewEngine::WalkRows(int start, int stride, int n, ColourOf colourOf) {
    for (int r = 0; r < kGridRows; ++r) {
        for (int c = 0, b = start; c < kGridColumns; ++c, b = (b + stride) % n)
            PaintCell(c, r, colourOf(b));
    }
}

void PreviewEngine::TickWave(const PreviewInput& in) {
    int& phase = m_phase[1];
    if (in.randomColour) {
        phase = Step(Forward(in), phase, 9, kHueCount);
        WalkRows(phase, 9, kHueCount, HueEntry);
    } else {
        phase = Step(Forward(in), phase, 7, kWaveACount);
        WalkRows(phase, 7, kWaveACount,
                 [&in](int b) { return Scaled(in.colour, WaveA[size_t(b)]); });
    }
}

// Without random colours the phase always moves forward; the direction (exactly 0xFF or
// not) only chooses which way the wave runs along a row.
void PreviewEngine::TickWaveB(const PreviewInput& in) {
    int& phase = m_phase[2];
    if (in.randomColour) {
        phase = Step(Forward(in), phase, 4, kHueCount);
        WalkRows(phase, 5, kHueCount, HueEntry);
        return;
    }
    phase = Step(true, phase, 4, 128);
    const bool first = in.direction == kDirectionFirst;
    for (int r = 0; r < kGridRows; ++r) {
        int a = phase;
        for (int c = 0; c < kGridColumns; ++c) {
            // Entry 128 (value 0) is reachable going forward.
            a = first ? (a + 5 > 128 ? a + 5 - 128 : a + 5) : (a - 5 < 0 ? a - 5 + 128 : a - 5);
            PaintCell(c, r, Scaled(in.colour, WaveB[size_t(a)]));
        }
    }
}

// The wave runs along the preview key order; only the stored phase persists.
void PreviewEngine::TickSnake(const PreviewInput& in) {
    int& phase = m_phase[3];
    const int n = in.randomColour ? kHueCount : kWaveACount;
    phase = Step(Forward(in), phase, 4, n);
    int b = phase;
    for (const uint16_t id : KeyOrder) {
        m_frame.Paint(id, in.randomColour ? HueEntry(b) : Scaled(in.colour, WaveA[size_t(b)]));
        b = (b + 5) % n;
    }
}

void PreviewEngine::TickBreathing(const PreviewInput& in) {
    int& phase = m_phase[5];
    phase = Step(true, phase, 2, kBreathCount);
    for (int c = 0; c < kGridColumns; ++c) {
        const Rgb base = in.randomColour ? HueEntry(7 * c) : in.colour;
        const Rgb colour = Scaled(base, Breath[size_t(phase)]);
        for (int r = 0; r < kGridRows; ++r) PaintCell(c, r, colour);
    }
}

void PreviewEngine::TickStatic(const PreviewInput& in) {
    if (in.randomColour) {
        for (int i = 0; i < kRingCount; ++i) PaintGroup(Rings[size_t(i)], HueEntry(131 - 11 * i));
        return;
    }
    for (int c = 0; c < kGridColumns; ++c)
        for (int r = 0; r < kGridRows; ++r) PaintCell(c, r, in.colour);
}

void PreviewEngine::Light(KeyLevels& set, int controlId, uint8_t hue) {
    const int led = LedOfPreviewKey(controlId);
    if (led < 0) return;
    set.level[size_t(led)] = 255;
    set.hue[size_t(led)] = hue;
}

void PreviewEngine::TickTwinkle(const PreviewInput& in) {
    m_random.Reseed();
    for (int i = 0; i < 3; ++i) {
        m_twinkle = m_twinkle == kOrderCount - 1 ? 0 : m_twinkle + 1;
        Light(m_setT, KeyOrder[TwinkleOrder[size_t(m_twinkle)]], m_random.Next());
    }
    PaintLevels(m_setT, Decay::Common, in);
}

// Every key walks the wheel 3 entries a tick, each 33 entries ahead of the one before it.
void PreviewEngine::TickHueWalk() {
    if (!m_walkStarted) {
        int hue = 0;
        for (const uint16_t id : KeyOrder) {
            hue += 33;
            if (hue > kHueCount) hue -= kHueCount;
            m_walkHue[size_t(LedOfPreviewKey(id))] = uint8_t(hue);
        }
        m_walkStarted = true;
    }
    for (const uint16_t id : KeyOrder) {
        uint8_t& hue = m_walkHue[size_t(LedOfPreviewKey(id))];
        hue = hue + 3 >= kHueCount ? 0 : uint8_t(hue + 3);
        m_frame.Paint(id, HueEntry(hue));
    }
}

void PreviewEngine::TickRows(const PreviewInput& in) {
    int& phase = m_phase[12];
    phase = Step(Forward(in), phase, 3, kHueCount);
    for (int r = 0, b = phase; r < kGridRows; ++r, b = (b + 32) % kHueCount)
        for (int c = 0; c < kGridColumns; ++c) PaintCell(c, r, HueEntry(b));
}

void PreviewEngine::SeedFromPlanes(const FrontPlanes& planes, KeyLevels& set, bool random) {
    m_random.Reseed();
    for (int c = 0; c < kGridColumns; ++c) {
        for (int r = 0; r < kGridRows; ++r) {
            if (!planes.IsSet(c, r)) continue;
            const int led = LedOfPreviewKey(Grid[size_t(c)][size_t(r)]);
            if (led < 0) continue;
            set.level[size_t(led)] = 255;
            if (random) set.hue[size_t(led)] = m_random.Next();
        }
    }
}

void PreviewEngine::PaintLevels(KeyLevels& set, Decay decay, const PreviewInput& in) {
    for (const uint16_t id : KeyOrder) {
        const size_t led = size_t(LedOfPreviewKey(id));
        const uint8_t level = set.level[led] = Decayed(set.level[led], decay);
        m_frame.Paint(id, Scaled(in.randomColour ? HueByteEntry(set.hue[led]) : in.colour, level));
    }
}

// Fronts spread from column 9 as a diamond; once only the top or the virtual bottom row of
// that column is left, a new front starts there.
void PreviewEngine::TickBounce(const PreviewInput& in) {
    if (!m_bounceStarted) {
        m_planes13.SetAll(9, 6);
        m_bounceStarted = true;
    }
    const uint8_t m = m_planes13.ColumnBits(9);
    if (m == 1) m_planes13.SetAll(9, 0);
    if (m == 64) m_planes13.SetAll(9, 6);
    SeedFromPlanes(m_planes13, m_setR, in.randomColour);
    m_planes13.SpreadDiagonally();
    PaintLevels(m_setR, Decay::Effect13, in);
}

// A script: path A lights converging trails, path B circles the O key, then a front spreads
// from the O key until it reaches Num Enter and has faded there, and it all starts again.
void PreviewEngine::TickScript(const PreviewInput& in) {
    ++m_scriptHue;
    const auto hue = [&] { return in.randomColour ? uint8_t(m_scriptHue + 11) : uint8_t(0); };
    const size_t numEnter = size_t(LedOfPreviewKey(kNumEnterKey));
    switch (m_scriptStage) {
    case 0:
        for (const uint16_t id : PathA[size_t(m_scriptStep)])
            if (id) Light(m_setP, id, hue());
        if (++m_scriptStep == kPathASteps) {
            m_scriptStep = 0;
            m_scriptStage = 1;
        }
        break;
    case 1:
        if (m_scriptStep < kPathBSteps) {
            for (const uint16_t id : PathB[size_t(m_scriptStep)]) {
                if (!id) continue;
                Light(m_setP, id, hue());
                ++m_scriptHue;
            }
            ++m_scriptStep;
        }
        if (m_scriptStep == kPathBSteps && m_setP.level[size_t(LedOfPreviewKey(kPKey))] == 0) {
            m_scriptStage = 2;
            m_scriptStep = 0;
        }
        break;
    case 2:
        m_planes14.SetAll(kOColumn, kORow);
        m_scriptStage = 3;
        break;
    case 3:
        SeedFromPlanes(m_planes14, m_setP, in.randomColour);
        m_planes14.SpreadDiagonally();
        if (m_setP.level[numEnter] != 0) m_scriptStage = 4;
        break;
    default:
        if (m_setP.level[numEnter] == 0) {
            m_scriptStage = 0;
            m_scriptStep = 0;
        }
        break;
    }
    PaintLevels(m_setP, Decay::Effect14, in);
}

// Three new drops a tick fall from the top row.
void PreviewEngine::TickRain(const PreviewInput& in) {
    m_rainColumn = (m_rainColumn + 7) % kGridColumns;
    for (int i = 0; i < 3; ++i) {
        m_rainColumn = (m_rainColumn + 3) % kGridColumns;
        m_planes15.SetAll(m_rainColumn, 0);
    }
    SeedFromPlanes(m_planes15, m_setT, in.randomColour);
    m_planes15.SpreadVertically();
    PaintLevels(m_setT, Decay::Common, in);
}

// Fronts start again at the top of column 1 and the virtual bottom of column 22 whenever
// only that row of the column is left.
void PreviewEngine::TickSweep(const PreviewInput& in) {
    if (m_planes16.ColumnBits(1) == 1) m_planes16.SetAll(1, 0);
    if (m_planes16.ColumnBits(kGridColumns - 1) == 64) m_planes16.SetAll(kGridColumns - 1, 6);
    SeedFromPlanes(m_planes16, m_setS, in.randomColour);
    m_planes16.SpreadDiagonally();
    PaintLevels(m_setS, Decay::Common, in);
}

// The offset is a byte: backward from 0 it is 254, which becomes 192, so the wheel entries
// stay continuous once each ring's entry is taken modulo 192.
void PreviewEngine::TickRings(const PreviewInput& in) {
    const bool forward = Forward(in);
    m_ringOffset = uint8_t(forward ? m_ringOffset + 2 : m_ringOffset - 2);
    if (m_ringOffset >= kHueCount) m_ringOffset = forward ? 0 : kHueCount;
    int b = m_ringOffset;
    for (int i = 0; i < kRingCount; ++i) {
        b = (b + 21) % kHueCount;
        PaintGroup(Rings[size_t(i)], HueEntry(b));
    }
}

}  // namespace vantor
