#pragma once

#include "CtlContext.h"

#include "device/HidrawNodeAccess.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace vantor::ctl {

// Where diagnose looks besides the backend: for the kernel's devices, the sysfs and /dev roots
// the hidraw backend lists from, the user whose access is judged and the folders udev reads
// rules from.
struct DiagnoseSetup {
    bool hidraw = false;  // the backend lists hidraw nodes (else: the emulator)
    QString sysfsRoot;
    QString devRoot;
    UserIdentity user;
    QStringList udevRuleFolders;
};

// The folders udev reads rules from, the administrator's first.
QStringList SystemUdevRuleFolders();

// Collects the report: program and system, every interface of the keyboard's IDs with its
// interface number, usage and report sizes and why it was or was not chosen, the chosen (or
// refused) node's owner, mode and ACL, the udev rule, and the status block as read. Opens
// interfaces and reads the status block, nothing else: it never writes to the keyboard's
// memory. Problems it finds are listed with their fix under "problems".
QJsonObject CollectDiagnosis(CtlContext& context, const DiagnoseSetup& setup);

// The report as plain text, from what CollectDiagnosis gives.
QString DiagnosisText(const QJsonObject& report);

}  // namespace vantor::ctl
