// SPDX-License-Identifier: MIT
#include "datafileio.h"

#include "atomicwriter.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pellimo {

namespace {

bool fail(QString *reason, const QString &why)
{
    if (reason)
        *reason = why;
    return false;
}

} // namespace

bool openRegularFile(QFile &file, const QString &path, QString *error)
{
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const QByteArray native = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return fail(error, qt_error_string(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(error, QCoreApplication::translate("pellimo", "Not a regular file"));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file.setFileName(path);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(error, file.errorString());
    }
    return true;
}

bool writeFileAtomically(const QString &path, const QByteArray &content, QString *reason)
{
    AtomicWriter file;
    if (file.open(path) && file.append(content) && file.commit())
        return true;
    return fail(reason, file.reason());
}

QByteArray readFileStart(const QString &path, qsizetype limit, bool *readable)
{
    QFile file;
    QByteArray bytes;
    bool ok = openRegularFile(file, path);
    while (ok && bytes.size() <= limit) {
        const QByteArray chunk =
            file.read(std::min<qsizetype>(64 * 1024, limit + 1 - bytes.size()));
        if (chunk.isEmpty()) {
            ok = file.error() == QFile::NoError;
            break;
        }
        bytes += chunk;
    }
    if (readable)
        *readable = ok;
    return ok ? bytes : QByteArray();
}

} // namespace pellimo
