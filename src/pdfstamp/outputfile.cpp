// SPDX-License-Identifier: MIT
#include "outputfile.h"

#include "pdflimits.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pellimo::pdf {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("pellimo", text);
}

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

QString displayName(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}

bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo ia(a), ib(b);
    if (ia.absoluteFilePath() == ib.absoluteFilePath())
        return true;
    if (!ia.exists() || !ib.exists())
        return false;
    if (ia.canonicalFilePath() == ib.canonicalFilePath())
        return true;
    struct stat sa {};
    struct stat sb {};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

OutputFile::~OutputFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_committed && !m_temporary.empty())
        ::unlink(m_temporary.c_str());
}

bool OutputFile::fail(QString &error, int code)
{
    error = tr("%1 cannot be written: %2").arg(m_name, QString::fromLocal8Bit(std::strerror(code)));
    return false;
}

bool OutputFile::open(const QString &out, QString &error)
{
    m_name = displayName(out);
    m_target = QFile::encodeName(out).toStdString();
    struct stat st {};
    mode_t mode = 0666 & ~currentUmask();
    if (::lstat(m_target.c_str(), &st) == 0) {
        if (S_ISLNK(st.st_mode)) {
            char resolved[PATH_MAX];
            if (!::realpath(m_target.c_str(), resolved) || ::stat(resolved, &st) != 0) {
                error = tr("%1 is a link to a file that does not exist; it is not followed")
                            .arg(m_name);
                return false;
            }
            m_target = resolved;
        }
        if (!S_ISREG(st.st_mode)) {
            error = tr("%1 exists and is not a regular file; it is left as it is").arg(m_name);
            return false;
        }
        mode = st.st_mode & 07777;
    }
    const size_t slash = m_target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".")
                               : slash == 0               ? std::string("/")
                                                          : m_target.substr(0, slash);
    const std::string base = slash == std::string::npos ? m_target : m_target.substr(slash + 1);
    std::vector<char> name(folder.begin(), folder.end());
    const std::string tail = "/." + base + ".XXXXXX";
    name.insert(name.end(), tail.begin(), tail.end());
    name.push_back('\0');
    m_fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (m_fd < 0)
        return fail(error, errno);
    m_temporary = name.data();
    if (::fchmod(m_fd, mode) != 0)
        return fail(error, errno);
    return true;
}

bool OutputFile::copyFrom(int in, int64_t size, QString &error)
{
    loff_t from = 0;
    while (from < size) {
        const auto want = size_t(std::min<int64_t>(size - from, 64 * pdf::kMiB));
        const ssize_t n = ::copy_file_range(in, &from, m_fd, nullptr, want, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP ||
                      errno == EPERM))
            return copyThroughBuffer(in, from, size, error); // file systems that cannot
        if (n < 0)
            return fail(error, errno);
        if (n == 0)
            return changedWhileRead(error);
        m_size += n;
    }
    return true;
}

bool OutputFile::copyThroughBuffer(int in, int64_t from, int64_t size, QString &error)
{
    std::vector<char> buffer(size_t(pdf::kMiB));
    while (from < size) {
        const ssize_t n =
            ::pread(in, buffer.data(), size_t(std::min<int64_t>(size - from, pdf::kMiB)), from);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(error, errno);
        if (n == 0)
            return changedWhileRead(error);
        if (!writeAll(buffer.data(), size_t(n), error))
            return false;
        from += n;
    }
    return true;
}

bool OutputFile::changedWhileRead(QString &error)
{
    error = tr("%1 changed while it was being read").arg(m_name);
    return false;
}

bool OutputFile::writeAll(const char *data, size_t size, QString &error)
{
    for (size_t done = 0; done < size;) {
        const ssize_t n = ::write(m_fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(error, errno);
        done += size_t(n);
    }
    m_size += int64_t(size);
    return true;
}

bool OutputFile::append(const std::string &bytes, QString &error)
{
    return writeAll(bytes.data(), bytes.size(), error);
}

bool OutputFile::adopt(QString &error)
{
    const off_t end = ::lseek(m_fd, 0, SEEK_END);
    if (end < 0)
        return fail(error, errno);
    m_size = end;
    return true;
}

bool OutputFile::commit(QString &error)
{
    if (::fdatasync(m_fd) != 0)
        return fail(error, errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        return fail(error, errno);
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        return fail(error, errno);
    m_committed = true;
    return true;
}

} // namespace pellimo::pdf
