#include "mainwindow/KeyButtonLooks.h"

#include "keymodel/AssignmentSummary.h"
#include "keymodel/KeyNames.h"
#include "keymodel/KeyTables.h"

namespace vantor {

namespace {

QString ExtraKeyBaseName(int button) { return QStringLiteral("G%1").arg(button + 1); }

}  // namespace

int ShownBlock(int activeProfile) {
    return activeProfile >= 0 && activeProfile < kOnBoardProfileCount ? activeProfile : 0;
}

std::vector<KeyButtonLook> KeyButtonLooks(const ProfileData& data, int block, ExtraKeyBank bank) {
    const MacroNameLookup macroName = [&data](uint32_t id) {
        const MacroRecord* macro = data.Macros().FindById(id);
        return macro ? macro->Name() : QString();
    };
    // A released store has no records; its keys show as unassigned.
    const auto recordAt = [&](int record) {
        return data.HasImage() ? data.Records()[BlockStart(block) + record] : KeyAssignment{};
    };
    // The colour-selection word shown is the one the button's click toggles, which lies in
    // the record numbered after the button, not in the key's own record.
    const auto look = [&](int controlId, int record, int colourRecord, const QString& baseName) {
        const KeyAssignment assignment = recordAt(record);
        return KeyButtonLook{controlId, record, assignment.type != kAssignDefault,
                             AssignmentSummary(baseName, assignment, macroName),
                             recordAt(colourRecord).colourSelection != 0};
    };
    std::vector<KeyButtonLook> looks;
    looks.reserve(kExtraKeyButtonCount + kKeyListSize);
    for (int i = 0; i < kExtraKeyButtonCount; ++i)
        looks.push_back(look(ExtraKeyButtonIds[i], RecordOfExtraKeyButton(i, bank),
                             ColourRecordOfExtraKeyButton(i, bank), ExtraKeyBaseName(i)));
    for (int p = 0; p < kKeyListSize; ++p)
        looks.push_back(look(KeyListButtonIds[p], RowOfCode(KeyList[p]),
                             ColourRecordOfKeyListPosition(p), KeyName(KeyList[p])));
    return looks;
}

std::optional<KeyButtonLook> PlainLookOfRecord(int record, ExtraKeyBank bank) {
    if (const int button = ExtraKeyButtonOfRecord(record, bank); button >= 0)
        return KeyButtonLook{ExtraKeyButtonIds[button], record, false, ExtraKeyBaseName(button)};
    if (const int p = KeyListPositionOfRecord(record); p >= 0)
        return KeyButtonLook{KeyListButtonIds[p], record, false, KeyName(KeyList[p])};
    return std::nullopt;
}

}  // namespace vantor
