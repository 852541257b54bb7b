// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

class QFile;

namespace pellimo {

// The one way the program writes a file: `content` replaces the file at `path` through a
// temporary file beside it and a rename, so that a failure at any point (a missing folder, a full
// disk, a size limit) leaves the previous file whole and no cut-off file behind. Something other
// than a regular file at `path` (a FIFO, a device) is refused, not replaced. The name "-" is
// standard output, for pipes. False on failure, with the reason in the system's words ("No space
// left on device") for the caller's message. Names follow filenames.h.
[[nodiscard]] bool writeFileAtomically(const QString &path, const QByteArray &content,
                                       QString *reason = nullptr);

// Opens `path` for reading when it is a regular file (links followed). A FIFO, a device or a
// folder is refused at once, without waiting for a writer; `error` then says why.
bool openRegularFile(QFile &file, const QString &path, QString *error = nullptr);

// Reads the start of a regular file: at most limit + 1 bytes, so that the caller sees whether the
// file is longer than the limit. An empty result when the file cannot be opened or read; `readable`
// says which.
QByteArray readFileStart(const QString &path, qsizetype limit, bool *readable = nullptr);

} // namespace pellimo
