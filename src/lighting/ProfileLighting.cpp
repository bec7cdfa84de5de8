#include "lighting/ProfileLighting.h"

#include "lighting/UserColourFile.h"

namespace vantor {

CommandResult RefreshProfileLighting(LightingPanel& panel, KeyColours& colours, int profile) {
    const CommandResult status = panel.ReadEffectList();
    if (status == CommandResult::Ok && panel.Offers(kUserDefinedEffect)) {
        colours.SetProfile(profile);
        colours.LoadMode(profile, std::nullopt, true);
        colours.MarkBaseKeys();
    }
    const CommandResult lighting = panel.Refresh(profile);
    return status != CommandResult::Ok ? status : lighting;
}

LightingResult ResetProfileColourFile(const LightingPanel& panel, KeyColours& colours, int profile) {
    if (!panel.Offers(kUserDefinedEffect)) return {};
    ResetUserColourFile(profile);
    return colours.LoadMode(colours.Profile(), std::nullopt, true);
}

}  // namespace vantor
