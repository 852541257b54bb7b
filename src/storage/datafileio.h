// SPDX-License-Identifier: MIT
#pragma once

#include "model/savestatus.h"

#include <QByteArray>
#include <QString>

class QFile;

namespace pellimo {

// Replaces the file at `path` by `content` through a temporary file and a rename, so that a failure
// at any point (a missing folder, a full disk) leaves the previous file whole. Something other
// than a regular file at `path` is refused. The status names the file and the reason.
SaveStatus writeFileAtomically(const QString &path, const QByteArray &content);

// Opens `path` for reading when it is a regular file (links followed). A FIFO, a device or a
// folder is refused at once, without waiting for a writer; `error` then says why.
bool openRegularFile(QFile &file, const QString &path, QString *error = nullptr);

// Reads the start of a regular file: at most limit + 1 bytes, so that the caller sees whether the
// file is longer than the limit. An empty result when the file cannot be opened or read; `readable`
// says which.
QByteArray readFileStart(const QString &path, qsizetype limit, bool *readable = nullptr);

} // namespace pellimo
