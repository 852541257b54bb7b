// SPDX-License-Identifier: MIT
#pragma once

#include "model/savestatus.h"

#include <QByteArray>
#include <QString>

namespace pellimo {

// Replaces the file at `path` by `content` through a temporary file and a rename, so that a failure
// at any point (a missing folder, a full disk) leaves the previous file whole. The status names
// the file and the reason.
SaveStatus writeFileAtomically(const QString &path, const QByteArray &content);

// Reads the start of a file: at most limit + 1 bytes, so that the caller sees whether the file is
// longer than the limit. An empty result when the file cannot be opened or read; `readable` says
// which.
QByteArray readFileStart(const QString &path, qsizetype limit, bool *readable = nullptr);

} // namespace pellimo
