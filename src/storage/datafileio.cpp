// SPDX-License-Identifier: MIT
#include "datafileio.h"

#include "filenames.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pellimo {

namespace {

const QString kNotRegular = QStringLiteral("Not a regular file");

bool fail(QString *reason, const QString &why)
{
    if (reason)
        *reason = why;
    return false;
}

bool writeAll(int fd, const QByteArray &content, QString *reason)
{
    for (qsizetype done = 0; done < content.size();) {
        const ssize_t n = ::write(fd, content.constData() + done, size_t(content.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(reason, qt_error_string(n < 0 ? errno : EIO));
        done += n;
    }
    return true;
}

// QSaveFile: a temporary file beside `path`, renamed over it once everything is written. The bytes
// go through its descriptor, not through Qt's buffer: a failed write is then seen at once, with
// the system's reason (Qt 6.4 reports "Unknown error" past a file-size limit), and commit() never
// renames a cut-off file into place (it does not check what the buffer failed to write).
bool saveAndRename(const QString &path, const QByteArray &content, QString *reason)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(reason, file.errorString());
    if (!writeAll(int(file.handle()), content, reason)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return fail(reason, file.errorString());
    return true;
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
        return fail(error, kNotRegular);
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
    if (path == QLatin1String("-"))
        return writeAll(STDOUT_FILENO, content, reason);
    // The rename would put a plain file in place of a FIFO or a device; a folder is refused by
    // QSaveFile itself.
    const QByteArray native = fileNameBytes(path);
    struct stat st {};
    if (::stat(native.constData(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
        return fail(reason, kNotRegular);
    if (QFile::encodeName(path) == native)
        return saveAndRename(path, content, reason);

    // A name Qt cannot spell: the file is saved under one it can, in the same folder (reached
    // through a descriptor opened by the folder's bytes), then renamed to its own by its bytes.
    const qsizetype slash = native.lastIndexOf('/');
    const QByteArray folder =
        slash < 0 ? QByteArrayLiteral(".") : native.left(std::max<qsizetype>(slash, 1));
    const QByteArray name = native.sliced(slash + 1);
    const int dir = ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return fail(reason, qt_error_string(errno));
    const QByteArray spare =
        ".pellimo-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
    bool saved = saveAndRename(
        QStringLiteral("/proc/self/fd/%1/").arg(dir) + QString::fromLatin1(spare), content, reason);
    if (saved && ::renameat(dir, spare.constData(), dir, name.constData()) != 0) {
        saved = fail(reason, qt_error_string(errno));
        ::unlinkat(dir, spare.constData(), 0);
    }
    ::close(dir);
    return saved;
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
