#include "profiles/KeyChoice.h"

#include "keymodel/KeyTables.h"

namespace vantor {

KeyAssignment ApplyKeyChoice(ProfileData& data, int block, int record, const KeyChoice& choice) {
    if (!data.HasImage()) return {};  // a released store has nothing to edit
    KeyAssignment& stored = data.Block(block)[static_cast<size_t>(record)];
    const bool buildable = choice.type == kAssignDefault || choice.type == kAssignKey ||
                           choice.type == kAssignMacro || choice.type == kAssignMedia ||
                           choice.type == kAssignFunction;
    if (!buildable) return stored;

    KeyAssignment written = stored;  // colour-selection and reserved words stay
    written.type = choice.type;
    written.parameter = ExtraKeyParameterOfRecord(record);
    written.value = 0;
    switch (choice.type) {
        case kAssignKey:
            written.value = choice.value;
            // A key on itself is the default and keeps the key it was given as its value.
            if (choice.value == kNoKey || RowOfCode(static_cast<KeyCode>(choice.value)) == record)
                written.type = kAssignDefault;
            if (choice.value > 0xFFFF) {
                written.type = kAssignDefault;
                written.value = 0;
            }
            break;
        case kAssignMacro:
            if (data.Macros().IsEmpty()) {
                written.type = kAssignDefault;
            } else {
                written.value = choice.value;
                written.parameter = choice.playCount;
            }
            break;
        case kAssignMedia:
        case kAssignFunction: written.value = choice.value; break;
        default: break;
    }
    // The replaced record's text goes, and with it its share of the text total.
    data.RemoveText(BlockStart(block) + record);
    stored = written;
    return written;
}

int RecordOfKeyButton(int controlId, ExtraKeyBank bank) {
    if (const int i = ExtraKeyButtonIndexOf(controlId); i >= 0) return RecordOfExtraKeyButton(i, bank);
    if (const int p = KeyListPositionOfButton(controlId); p >= 0) return RowOfCode(KeyList[p]);
    return -1;
}

bool ToggleColourSelection(ProfileData& data, int block, int controlId, ExtraKeyBank bank) {
    int record = -1;
    if (const int i = ExtraKeyButtonIndexOf(controlId); i >= 0) {
        record = ColourRecordOfExtraKeyButton(i, bank);
    } else if (const int p = KeyListPositionOfButton(controlId); p >= 0) {
        record = ColourRecordOfKeyListPosition(p);
    }
    if (record < 0 || !data.HasImage()) return false;
    uint32_t& word = data.Block(block)[static_cast<size_t>(record)].colourSelection;
    word = word != 0 ? 0 : 1;
    return true;
}

}  // namespace vantor
