#pragma once

#include "device/CommandResult.h"
#include "keyassign/UserMessages.h"

#include <QString>

namespace vantor {

struct ProfileMenu;

// The windows as the profile operations see them. The main window implements it; the command
// line and the tests implement what they need and take the defaults for the rest.
class ProfileUi : public UserMessages {
public:
    // A question with Yes and No, No the default; true for Yes.
    virtual bool AskYesNo(const QString& /*languageKey*/) { return false; }
    // Redraws the key buttons from a block of the working store (the store lock is held).
    virtual void RefreshKeyButtons(int /*block*/) {}
    virtual bool HasUnappliedChanges() const { return false; }
    // Enables or disables Apply together with the unapplied-changes mark.
    virtual void SetUnappliedChanges(bool /*on*/) {}
    virtual bool IsKeyAssignDialogOpen() const { return false; }
    // Runs the main window's Apply (save and download) and waits for it.
    virtual void RunApply() {}

    // The profile manager, when it is open.
    virtual bool IsProfileManagerOpen() const { return false; }
    virtual bool IsProfileManagerApplyEnabled() const { return false; }
    virtual void CheckProfileManagerRow(int /*profile*/) {}
    virtual void DisableProfileManagerApply() {}

    // The profile pop-up menu's new contents, with the profile button's caption and tooltip.
    virtual void ShowProfileMenu(const ProfileMenu& /*menu*/) {}

    // A profile goes back to factory settings: its per-key colours go back to the skin's
    // template first (ResetProfileColourFile, on the window's colours or vantorctl's).
    virtual void ResetProfileColours(int /*profile*/) {}
    // The lighting refresh a profile button makes before it switches (RefreshProfileLighting):
    // the window's panel then shows the profile. May be called off the window's thread. The
    // first failed read is the result.
    virtual CommandResult RefreshProfileLighting(int /*profile*/) { return CommandResult::Ok; }
};

}  // namespace vantor
