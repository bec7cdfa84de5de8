#pragma once

#include "profiles/ProfileContext.h"
#include "profiles/ProfileMenu.h"

#include "support/EmulatedLink.h"
#include "keyassign/MacroTables.h"

#include <QStringList>

namespace vantor::test {

// The windows as a test sees them: what was shown and asked, and the answers it gives.
class FakeUi : public ProfileUi {
public:
    void ShowMessage(const QString& key, const QString& /*argument*/) override { shown << key; }
    bool AskYesNo(const QString& key) override {
        asked << key;
        return answer;
    }
    void RefreshKeyButtons(int block) override { refreshedBlock = block; }
    bool HasUnappliedChanges() const override { return unapplied; }
    void SetUnappliedChanges(bool on) override { unapplied = on; }
    bool IsKeyAssignDialogOpen() const override { return dialogOpen; }
    void RunApply() override { ++applies; }
    void ShowProfileMenu(const ProfileMenu& shown) override { menu = shown; }

    bool answer = false;
    bool unapplied = false;
    bool dialogOpen = false;
    int applies = 0;
    int refreshedBlock = -2;
    QStringList asked;
    QStringList shown;
    ProfileMenu menu;
};

// The program's profile side against one emulated keyboard, whose default matrix and macro
// capacity are known as the device monitor would have read them, its active profile not yet.
struct Rig {
    explicit Rig(char variant) : keyboard(*FirmwareVariant::FromLetter(variant)) {
        keyboard.FillDeviceState(device);
    }
    EmulatedLink keyboard;
    DeviceState device;
    ProfileStore store;
    ProfileStore snapshot;
    FakeUi ui;
    ProfileContext context{keyboard.Link(), device, store, snapshot, ui};
};

// Assignments in all three profiles to keys the keyboard has, and three named macros.
inline void FillAssignments(ProfileStore& store) {
    std::lock_guard guard(store.Lock());
    StoreKeyRecords records = store.Data().Records();
    records[0x1E] = {kAssignMacro, 1, 2, 0, 0};            // A plays the second macro
    records[512 + 0x1F] = {kAssignMedia, 0, 6, 0, 0};      // S: volume up
    records[1024 + 0x20] = {kAssignKey, 0, 0x15B, 0, 0};   // D: Left Win
    records[1024 + 0x21] = {kAssignDisabled, 0, 0, 0, 0};  // F
    records[0x10] = {kAssignFunction, 0, 3, 0, 0};         // Q
    records[0x11] = {kAssignStopMacro, 0, 0, 0, 0};        // W
    records[0x12] = {kAssignKey, 0, 0x172, 0, 0};          // E: right button
    MacroTable table = SampleTable(3, 30, 10);
    std::vector<MacroRecord> macros(table.Records().begin(), table.Records().end());
    store.Data().Macros().Replace(std::move(macros));
}

}  // namespace vantor::test
