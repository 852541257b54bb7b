// SPDX-License-Identifier: MIT
#include "datafileio.h"

#include "savemessages.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pellimo {

namespace {

QString notRegularText()
{
    return QStringLiteral("Not a regular file");
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
    if (fd < 0) {
        if (error)
            *error = qt_error_string(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        if (error)
            *error = notRegularText();
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file.setFileName(path);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

SaveStatus writeFileAtomically(const QString &path, const QByteArray &content)
{
    // The rename would put a plain file in place of a FIFO or a device; a folder is refused by
    // QSaveFile itself.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir())
        return SaveStatus::failure(writeFailureText(path, notRegularText()));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return SaveStatus::failure(writeFailureText(path, file.errorString()));
    // The buffer is flushed and checked here: commit() only sees errors of the write calls, and a
    // small file sits in the buffer until the flush, so a full disk would otherwise slip through
    // and the rename would put a cut-off file in place of the old one.
    if (file.write(content) != content.size() || !file.flush()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return SaveStatus::failure(writeFailureText(path, why));
    }
    if (!file.commit())
        return SaveStatus::failure(writeFailureText(path, file.errorString()));
    return SaveStatus::success();
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
