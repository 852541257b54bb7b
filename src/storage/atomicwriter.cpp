// SPDX-License-Identifier: MIT
#include "atomicwriter.h"

#include "filenames.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pellimo {

namespace {

constexpr int64_t kMiB = 1024 * 1024;

// The process's umask, read without changing it (umask() would, for every thread).
mode_t currentUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("Umask:"))
                return mode_t(line.mid(6).trimmed().toUInt(nullptr, 8));
    return 022;
}

} // namespace

AtomicWriter::~AtomicWriter()
{
    if (m_fd >= 0 && !m_toStdout)
        ::close(m_fd);
    if (!m_committed && !m_temporary.empty())
        ::unlink(m_temporary.c_str());
}

bool AtomicWriter::fail(int code)
{
    return fail(qt_error_string(code));
}

bool AtomicWriter::fail(const QString &why)
{
    m_reason = why;
    return false;
}

bool AtomicWriter::open(const QString &path)
{
    if (path == QLatin1String("-")) {
        m_toStdout = true;
        m_fd = STDOUT_FILENO;
        return true;
    }
    m_target = fileNameBytes(path).toStdString();
    if (m_target.empty())
        return fail(ENOENT);
    struct stat st {};
    mode_t mode = 0666 & ~currentUmask();
    if (::lstat(m_target.c_str(), &st) == 0) {
        if (S_ISLNK(st.st_mode)) {
            char resolved[PATH_MAX];
            if (!::realpath(m_target.c_str(), resolved) || ::stat(resolved, &st) != 0)
                return fail(QCoreApplication::translate(
                    "pellimo", "A link to a file that does not exist; it is not followed"));
            m_target = resolved;
        }
        if (!S_ISREG(st.st_mode))
            return fail(QCoreApplication::translate("pellimo", "Not a regular file"));
        mode = st.st_mode & 07777;
    }
    const size_t slash = m_target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".")
                               : slash == 0               ? std::string("/")
                                                          : m_target.substr(0, slash);
    const std::string base = slash == std::string::npos ? m_target : m_target.substr(slash + 1);
    std::string pattern = folder + "/." + base + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    m_fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (m_fd < 0)
        return fail(errno);
    m_temporary = name.data();
    if (::fchmod(m_fd, mode) != 0)
        return fail(errno);
    return true;
}

bool AtomicWriter::copyFrom(int in, int64_t size)
{
    loff_t from = 0;
    while (from < size) {
        const auto want = size_t(std::min<int64_t>(size - from, 64 * kMiB));
        const ssize_t n = ::copy_file_range(in, &from, m_fd, nullptr, want, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP ||
                      errno == EPERM || errno == EBADF))
            return copyThroughBuffer(in, from, size); // file systems and pipes that cannot
        if (n < 0)
            return fail(errno);
        if (n == 0) // the source ended before the size it had when the copy began
            return failChangedWhileRead();
        m_size += n;
    }
    return true;
}

bool AtomicWriter::failChangedWhileRead()
{
    m_changedWhileRead = true;
    return fail(QCoreApplication::translate("pellimo", "The file changed while it was being read"));
}

bool AtomicWriter::copyThroughBuffer(int in, int64_t from, int64_t size)
{
    std::vector<char> buffer(static_cast<size_t>(kMiB));
    while (from < size) {
        const ssize_t n =
            ::pread(in, buffer.data(), size_t(std::min<int64_t>(size - from, kMiB)), from);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(errno);
        if (n == 0) // the source ended before the size it had when the copy began
            return failChangedWhileRead();
        if (!writeAll(buffer.data(), size_t(n)))
            return false;
        from += n;
    }
    return true;
}

bool AtomicWriter::writeAll(const char *data, size_t size)
{
    for (size_t done = 0; done < size;) {
        const ssize_t n = ::write(m_fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : EIO);
        done += size_t(n);
    }
    m_size += int64_t(size);
    return true;
}

bool AtomicWriter::append(QByteArrayView bytes)
{
    return writeAll(bytes.data(), size_t(bytes.size()));
}

bool AtomicWriter::overwrite(int64_t at, QByteArrayView bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n =
            ::pwrite(m_fd, bytes.data() + done, size_t(bytes.size() - done), off_t(at + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : EIO);
        done += n;
    }
    return true;
}

bool AtomicWriter::adopt()
{
    const off_t end = ::lseek(m_fd, 0, SEEK_END);
    if (end >= 0)
        m_size = end;
    else if (m_toStdout && errno == ESPIPE)
        m_size = -1;
    else
        return fail(errno);
    return true;
}

bool AtomicWriter::commit()
{
    if (m_toStdout) {
        m_committed = true;
        return true;
    }
    if (::fdatasync(m_fd) != 0)
        return fail(errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        return fail(errno);
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        return fail(errno);
    m_committed = true;
    return true;
}

} // namespace pellimo
