// SPDX-License-Identifier: MIT
#pragma once

// The stamped file, through the program's one writer (storage/atomicwriter.h): written beside its
// destination and renamed onto it only when everything has worked; "-" is standard output. This
// adds the messages a user reads about a PDF output, naming it by its file name.

#include "storage/atomicwriter.h"

#include <QString>
#include <cstdint>
#include <string>

namespace pellimo::pdf {

class OutputFile {
public:
    // `out` is named in messages by its file name only.
    bool open(const QString &out, QString &error);
    int fd() const { return m_file.fd(); }
    int64_t size() const { return m_file.size(); }
    bool toStandardOutput() const { return m_file.toStandardOutput(); }

    // Appends the first `size` bytes of `in` (copied in the kernel where it can, never held whole
    // in memory), or `bytes`.
    bool copyFrom(int in, int64_t size, QString &error);
    bool append(const std::string &bytes, QString &error);
    // Writes `bytes` over what was written from `at` on.
    bool overwrite(int64_t at, const QByteArray &bytes, QString &error);
    // Takes note of what a writer of its own (QPDFWriter) put into fd().
    bool adopt(QString &error);

    // Flushes to disk, closes and renames onto the destination.
    bool commit(QString &error);

private:
    bool check(bool done, QString &error) const;

    QString m_name;
    AtomicWriter m_file;
};

// The file name of `path` for messages: no folder, whatever the caller gave.
QString displayName(const QString &path);

// The same file under two names: the same path once links are resolved, or the same inode.
bool sameFile(const QString &a, const QString &b);

} // namespace pellimo::pdf
