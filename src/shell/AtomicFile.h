#pragma once

#include <QByteArray>
#include <QString>

namespace vantor {

// Replaces the file with the bytes, atomically: on success the file holds exactly them, on
// failure it is as it was (or still missing). The folder must exist; the permissions of a
// replaced file are kept.
//
// QSaveFile alone is not enough: its buffered writes take a short write (a full disk, a file
// size limit) as success and commit a truncated file. Here the writes are unbuffered and every
// byte is accounted for before the commit.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes);

}  // namespace vantor
