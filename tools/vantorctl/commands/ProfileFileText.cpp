#include "commands/ProfileFileText.h"

#include "keymodel/AssignmentRecords.h"
#include "keymodel/KeyTables.h"

namespace vantor::ctl {

QString ProfileCheckText(ProfileCheck check) {
    switch (check) {
    case ProfileCheck::Valid: return QStringLiteral("valid");
    case ProfileCheck::Missing: return QStringLiteral("no such file");
    case ProfileCheck::CannotOpen: return QStringLiteral("cannot be opened");
    case ProfileCheck::TooShort: return QStringLiteral("invalid: shorter than a profile file");
    case ProfileCheck::BadHeader: return QStringLiteral("invalid: a header field is wrong");
    case ProfileCheck::CutShort: return QStringLiteral("invalid: shorter than its header says");
    case ProfileCheck::OutOfMemory: break;
    }
    return QStringLiteral("out of memory");
}

QString EnglishKeyName(KeyCode code) {
    const int row = RowOfCode(code);
    const char* english =
        IsKeyTableRow(row) ? KeyTable[static_cast<size_t>(row)].englishName : nullptr;
    if (english != nullptr && *english != '\0') return QString::fromUtf8(english);
    return QStringLiteral("0x%1").arg(code, 3, 16, QLatin1Char('0'));
}

QString KeyOfRecord(int row) {
    if (IsKeyTableRow(row)) return EnglishKeyName(CodeOfRow(row));
    if (row < kAddressedRecords) return QStringLiteral("G%1").arg(row - RecordOfExtraKey(1) + 1);
    return QStringLiteral("record %1").arg(row);
}

QString WhatTheKeyDoes(const KeyAssignment& record) {
    switch (record.type) {
    case kAssignDefault: return QStringLiteral("has its built-in function");
    case kAssignDisabled: return QStringLiteral("is disabled");
    case kAssignKey: return QStringLiteral("sends %1").arg(EnglishKeyName(KeyCode(record.value)));
    case kAssignMacro: return QStringLiteral("plays macro %1").arg(record.value);
    case kAssignStopMacro: return QStringLiteral("stops the macro playing");
    case kAssignMedia: return QStringLiteral("sends media %1").arg(record.value);
    case kAssignFunction: return QStringLiteral("does function %1").arg(record.value);
    case kAssignLaunch: return QStringLiteral("launches a program");
    case kAssignText: return QStringLiteral("types a text");
    default: break;
    }
    return QStringLiteral("has assignment type %1").arg(record.type);
}

QStringList HostAssignmentNotes(const HostAssignmentReport& report, const QString& workingFile) {
    QStringList notes;
    if (report.workingFile != ProfileCheck::Valid && report.workingFile != ProfileCheck::Missing) {
        notes << QStringLiteral("the working profile file %1: %2; its launch-program and "
                                "text-block keys are left out")
                     .arg(workingFile, ProfileCheckText(report.workingFile));
    }
    for (const DroppedHostAssignment& dropped : report.dropped) {
        const QString kind = dropped.working.type == kAssignLaunch
                                 ? QStringLiteral("launch-program")
                                 : QStringLiteral("text-block");
        notes << QStringLiteral("profile %1, key %2: %3 assignment left out: the keyboard's key "
                                "now %4, not what the working profile file expects")
                     .arg(QString::number(dropped.record / kRecordsPerBlock),
                          KeyOfRecord(dropped.record % kRecordsPerBlock), kind,
                          WhatTheKeyDoes(dropped.keyboard));
    }
    return notes;
}

}  // namespace vantor::ctl
