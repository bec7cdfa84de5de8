#pragma once

namespace vantor {

// What applying an edited macro list tells the main window. Called on the applying (user
// interface) thread while the store lock is held.
class MacroApplyObserver {
public:
    virtual ~MacroApplyObserver() = default;

    // The key record at this store index (0..2047) became a default key because its macro is
    // gone: redraw its key button, if it has one, as unassigned.
    virtual void ShowKeyRecordAsDefault(int storeIndex) = 0;
    // Key records changed: enable Apply and mark the changes as not yet applied.
    virtual void MarkUnappliedChanges() = 0;
};

}  // namespace vantor
