// SPDX-License-Identifier: MIT
#include "instancelock.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace pellimo {

InstanceLock::~InstanceLock()
{
    release();
}

QString InstanceLock::lockFileName()
{
    return QStringLiteral(".pellimo.lock");
}

InstanceLock::Result InstanceLock::tryLock(const QString &dataFolder)
{
    release();
    const QByteArray path = QFile::encodeName(QDir(dataFolder).filePath(lockFileName()));
    int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) // a folder we cannot write to may still hold a lock file made by someone else
        fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Result::Unavailable;

    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return busy ? Result::HeldByAnother : Result::Unavailable;
    }
    m_fd = fd;
    return Result::Acquired;
}

void InstanceLock::release()
{
    if (m_fd < 0)
        return;
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
}

} // namespace pellimo
