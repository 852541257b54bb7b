// SPDX-License-Identifier: MIT
#pragma once

#include "model/savestatus.h"

#include <QString>

namespace pellimo {

// What keeping a damaged profile gave: the backup's path, or a failure naming the reason.
struct ProfileBackup {
    SaveStatus status;
    QString path; // set when status is ok and a backup was written
};

// More backups of one file than anyone keeps by choice: past this, the folder needs a look first
// and no further backup is made.
inline constexpr int kMaxProfileBackups = 1000;

// The backup names tried for a file, in order: <path>.damaged, then <path>.damaged.1, .2 ...
QString backupCandidate(const QString &path, int attempt);

// Copies the bytes of the file at `path` to the first free backup name beside it. A name in use is
// never written over, not even by a copy that another process makes at the same moment. A file
// that is not there (or is no regular file) needs no backup: ok, with an empty path.
[[nodiscard]] ProfileBackup keepDamagedProfile(const QString &path);

// The line that tells, on stderr, where the bytes of a file that could not be read were kept.
QString backupNoticeText(const QString &path, const QString &backupPath);

} // namespace pellimo
