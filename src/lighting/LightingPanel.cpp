#include "lighting/LightingPanel.h"

#include "lighting/UserColourFile.h"
#include "shell/lang/Language.h"

#include <algorithm>
#include <span>
#include <utility>

namespace vantor {

namespace {

std::array<uint8_t, 3> BytesOf(const uint8_t (&bytes)[3]) { return {bytes[0], bytes[1], bytes[2]}; }

bool IsPosition(int position) { return position >= 0 && position <= kMaxBrightness; }

}  // namespace

QString EffectNameFromLanguage(uint8_t code) { return ModeSectionText(QString::number(code)); }

LightingPanel::LightingPanel(DeviceLink& link, EffectNamer namer)
    : m_link(link), m_namer(std::move(namer)) {}

CommandResult LightingPanel::Refresh(int profile) {
    if (profile < 0 || profile >= kLightingProfileCount) {
        return CommandResult::BadArgument;
    }
    return Take(profile, ReadLightingReadout(m_link));
}

CommandResult LightingPanel::Take(int profile, const LightingReadout& readout) {
    if (profile < 0 || profile >= kLightingProfileCount) {
        return CommandResult::BadArgument;
    }
    m_profile = profile;
    std::fill_n(m_status.begin() + kStatusEffectList, kStatusEffectListSize, uint8_t(0));
    if (readout.status != CommandResult::Ok) {
        return readout.status;
    }
    m_status = readout.statusBlock;
    // A block whose read failed keeps what it held; the next refresh tries again.
    for (size_t p = 0; p < m_blocks.size(); ++p) {
        if (readout.blockTaken[p]) m_blocks[p] = readout.blocks[p];
    }
    TakeValues(m_blocks[size_t(profile)]);
    m_values.colourMode = ColourModeSetting();
    return CommandResult::Ok;
}

CommandResult LightingPanel::ReadEffectList() {
    std::fill_n(m_status.begin() + kStatusEffectList, kStatusEffectListSize, uint8_t(0));
    return ReadStatus(m_link, &m_status);
}

bool OffersEffect(const StatusBlock& status, uint8_t effect) {
    const auto list = std::span(status).subspan(kStatusEffectList, kStatusEffectListSize);
    return effect != 0 && std::find(list.begin(), list.end(), effect) != list.end();
}

bool LightingPanel::Offers(uint8_t effect) const { return OffersEffect(m_status, effect); }

void LightingPanel::TakeValues(const LightingBlock& block) {
    LightingValues& v = m_values;
    v.effect = block.effect;
    v.brightness = block.brightness;
    v.speed = block.speed;
    v.direction = block.direction;
    v.colourChoice = block.colourChoice <= kMaxColourChoice ? block.colourChoice : 0;
    v.colour = BytesOf(block.colour);
    v.reportRate = std::min(block.reportRate, kMaxReportRate);
    v.randomColour = block.randomColour != 0;
    v.fyRandom = v.randomColour;
    if (block.effect == 7 && block.effect7Random <= 1) {
        v.fyRandom = block.effect7Random != 0;
    }
    if (block.triggerMode <= 1) {
        v.triggerMode = block.triggerMode;
    }
    v.secondColour = BytesOf(block.secondColour);
    v.secondRandom = block.secondRandom != 0;
    v.thirdColour = BytesOf(block.thirdColour);
    v.thirdRandom = block.thirdRandom != 0;
}

LightingView LightingPanel::Redisplay() {
    LightingView view;
    m_effectTable.clear();
    for (size_t i = 0; i < kStatusEffectListSize; ++i) {
        const uint8_t code = m_status[kStatusEffectList + i];
        if (code != 0) {
            m_effectTable.push_back(code);
            view.effects.push_back({code, m_namer(code)});
        }
    }
    const LightingValues& v = m_values;
    view.reportRateButton = v.reportRate;
    view.brightnessPosition = v.brightness;
    view.speedPosition = kMaxSpeed - v.speed;
    view.colour = v.colour;
    view.hxRandom = v.randomColour;
    view.fyRandom = v.fyRandom;
    view.colourChoice = v.colourChoice;
    view.colourMode = v.colourMode;
    view.firstDirection = v.direction == kDirectionFirst;
    const auto found = std::find(m_effectTable.begin(), m_effectTable.end(), v.effect);
    if (found != m_effectTable.end()) {
        view.selectedEffect = int(found - m_effectTable.begin());
    }
    view.controls = ControlsOfEffect(v.effect);
    return view;
}

LightingResult LightingPanel::Send(const LightingWrites& writes) {
    const CommandResult sent = SendLightingGroup(m_link, writes);
    if (sent == CommandResult::Ok) {
        return {LightingOutcome::Taken, sent};
    }
    LightingBlock& block = m_blocks[size_t(m_profile)];
    if (ReadLightingBlock(m_link, m_profile, &block) != CommandResult::Ok) {
        return {LightingOutcome::Unconfirmed, sent};
    }
    TakeValues(block);
    return {LightingOutcome::Rejected, sent};
}

LightingResult LightingPanel::SelectEffect(int listPosition) {
    if (listPosition < 0 || size_t(listPosition) >= m_effectTable.size()) {
        return {LightingOutcome::NotAllowed, CommandResult::BadArgument};
    }
    m_values.effect = m_effectTable[size_t(listPosition)];
    return Send(EffectWrites(m_profile, m_values.effect, m_values.randomColour));
}

LightingResult LightingPanel::MoveBrightness(int position) {
    if (!IsPosition(position)) {
        return {LightingOutcome::NotAllowed, CommandResult::BadArgument};
    }
    if (position == m_values.brightness) {
        return {LightingOutcome::NothingSent, CommandResult::Ok};
    }
    m_values.brightness = uint8_t(position);
    return Send(BrightnessWrites(m_profile, m_values.brightness));
}

LightingResult LightingPanel::MoveSpeed(int position) {
    if (!IsPosition(position)) {
        return {LightingOutcome::NotAllowed, CommandResult::BadArgument};
    }
    if (position == kMaxSpeed - m_values.speed) {
        return {LightingOutcome::NothingSent, CommandResult::Ok};
    }
    m_values.speed = SpeedOfSliderPosition(position);
    return Send(SpeedWrites(m_profile, m_values.speed));
}

LightingResult LightingPanel::ChooseDirection(bool first) {
    m_values.direction = first ? kDirectionFirst : kDirectionSecond;
    return Send(DirectionWrites(m_profile, m_values.direction));
}

LightingResult LightingPanel::ChooseColour(uint8_t red, uint8_t green, uint8_t blue) {
    m_values.randomColour = false;
    m_values.fyRandom = false;
    m_values.colour = {red, green, blue};
    return Send(ColourWrites(m_profile, red, green, blue));
}

LightingResult LightingPanel::ToggleRandom() {
    m_values.randomColour = !m_values.randomColour;
    m_values.fyRandom = m_values.randomColour;
    return Send(RandomWrites(m_profile, m_values.randomColour));
}

LightingResult LightingPanel::ChooseColourPicture(int choice) {
    if (choice < 0 || choice > kMaxColourChoice) {
        return {LightingOutcome::NotAllowed, CommandResult::BadArgument};
    }
    m_values.colourChoice = uint8_t(choice);
    return Send(ColourChoiceWrites(m_profile, m_values.colourChoice));
}

LightingResult LightingPanel::ChooseReportRate(int rate) {
    if (rate < 0 || rate > kMaxReportRate) {
        return {LightingOutcome::NotAllowed, CommandResult::BadArgument};
    }
    m_values.reportRate = uint8_t(rate);
    return Send(ReportRateWrites(m_profile, m_values.reportRate));
}

CommandResult ResetProfileLighting(DeviceLink& link, int profile) {
    return SendLightingGroup(link, FactoryLightingWrites(profile));
}

}  // namespace vantor
