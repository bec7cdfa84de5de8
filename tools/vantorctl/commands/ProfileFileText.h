#pragma once

#include "keymodel/KeyAssignment.h"
#include "keymodel/KeyCode.h"
#include "profiles/HostAssignments.h"
#include "profiles/ProfileFile.h"

#include <QString>
#include <QStringList>

namespace vantor::ctl {

// What vantorctl says about a profile file the check did not find valid: its one reason.
QString ProfileCheckText(ProfileCheck check);

// A key's English name, as `assign` takes it; its code in hex when the key table names none.
QString EnglishKeyName(KeyCode code);

// The key a record of a block (0-511) belongs to, named as `assign` names it.
QString KeyOfRecord(int row);

// What a key record does, in words ("sends B", "has its built-in function").
QString WhatTheKeyDoes(const KeyAssignment& record);

// What a read of the keyboard left out of the working profile file's launch-program and
// text-block keys: one line for each key left out, naming its profile and key and what the
// keyboard's key does instead, or one line for a working profile file that could not be read
// at all. None when every such key was taken.
QStringList HostAssignmentNotes(const HostAssignmentReport& report, const QString& workingFile);

}  // namespace vantor::ctl
