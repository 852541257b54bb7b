// SPDX-License-Identifier: MIT
#pragma once

// The stamped file, written beside its destination under a temporary name and renamed onto it
// only when every write, the flush to disk and the close have worked: a full disk or a failure
// leaves the destination as it was and no temporary file behind, and the message names the cause.
// A destination that exists and is not a regular file (a device, a FIFO, a folder, a link to
// nothing) is refused; a link to a regular file is followed, and the file it points to replaced.

#include <QString>
#include <cstdint>
#include <functional>
#include <string>

namespace pellimo::pdf {

class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile(); // removes the temporary file unless committed
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // `out` is named in messages by its file name only.
    bool open(const QString &out, QString &error);
    int fd() const { return m_fd; }
    int64_t size() const { return m_size; }

    // Appends the first `size` bytes of `in` (copied in the kernel where it can, never held whole
    // in memory), or `bytes`.
    bool copyFrom(int in, int64_t size, QString &error);
    bool append(const std::string &bytes, QString &error);
    // Takes note of what a writer of its own (QPDFWriter) put into fd().
    bool adopt(QString &error);

    // Flushes to disk, closes and renames onto the destination.
    bool commit(QString &error);

private:
    bool fail(QString &error, int code);
    bool copyThroughBuffer(int in, int64_t from, int64_t size, QString &error);
    bool changedWhileRead(QString &error);
    bool writeAll(const char *data, size_t size, QString &error);

    QString m_name;
    std::string m_target; // the destination, links followed
    std::string m_temporary;
    int m_fd = -1;
    int64_t m_size = 0;
    bool m_committed = false;
};

// The file name of `path` for messages: no folder, whatever the caller gave.
QString displayName(const QString &path);

// The same file under two names: the same path once links are resolved, or the same inode.
bool sameFile(const QString &a, const QString &b);

} // namespace pellimo::pdf
