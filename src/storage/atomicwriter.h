// SPDX-License-Identifier: MIT
#pragma once

// The one way the program writes a file. The bytes go to a temporary file beside the destination,
// which is renamed onto it only when every write, the flush to disk and the close have worked: a
// full disk, a size limit or any other failure leaves the destination as it was and no temporary
// file behind, and reason() says why in the system's words ("No space left on device").
//
// A destination that exists and is not a regular file (a FIFO, a device, a folder) is refused, not
// replaced; a link to a regular file is followed and the file it points to replaced, with its
// permissions; a link to nothing is refused rather than followed to wherever it points. The name
// "-" is standard output, written as it comes (for pipes). Names follow filenames.h: bytes in, the
// same bytes out.

#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <string>

namespace pellimo {

class AtomicWriter {
public:
    AtomicWriter() = default;
    ~AtomicWriter(); // removes the temporary file unless committed
    AtomicWriter(const AtomicWriter &) = delete;
    AtomicWriter &operator=(const AtomicWriter &) = delete;

    bool open(const QString &path);
    // The descriptor written to, for a writer of its own (then adopt()) or for reading back.
    int fd() const { return m_fd; }
    // The bytes written so far; -1 after adopt() on a stream that cannot tell.
    int64_t size() const { return m_size; }
    bool toStandardOutput() const { return m_toStdout; }

    // Appends the first `size` bytes of the file open as `in` (copied in the kernel where it can,
    // never held whole in memory). False with changedWhileRead() when `in` ends early.
    bool copyFrom(int in, int64_t size);
    bool append(QByteArrayView bytes);
    // Writes `bytes` over what was written from `at` on (a placeholder filled in afterwards).
    bool overwrite(int64_t at, QByteArrayView bytes);
    // Takes note of what a writer of its own put into fd().
    bool adopt();

    // Flushes to disk, closes and renames onto the destination.
    bool commit();

    // Why the last call failed.
    const QString &reason() const { return m_reason; }
    bool changedWhileRead() const { return m_changedWhileRead; }

private:
    bool fail(int code);
    bool fail(const QString &why);
    bool failChangedWhileRead();
    bool copyThroughBuffer(int in, int64_t from, int64_t size);
    bool writeAll(const char *data, size_t size);

    std::string m_target; // the destination, links followed
    std::string m_temporary;
    int m_fd = -1;
    int64_t m_size = 0;
    bool m_toStdout = false;
    bool m_committed = false;
    bool m_changedWhileRead = false;
    QString m_reason;
};

} // namespace pellimo
