// SPDX-License-Identifier: MIT
#include "programfolder.h"

#include <QFile>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace pellimo {

QByteArray programFolderBytes()
{
    std::array<char, 4096> buffer{};
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0)
        return QByteArray();
    QByteArray exe(buffer.data(), n);
    // A program file replaced while it runs shows as "<path> (deleted)".
    const QByteArray deleted = " (deleted)";
    if (exe.endsWith(deleted))
        exe.chop(deleted.size());
    const qsizetype slash = exe.lastIndexOf('/');
    if (slash < 0)
        return QByteArray();
    return slash == 0 ? QByteArray("/") : exe.left(slash);
}

QString programFolder()
{
    const QByteArray bytes = programFolderBytes();
    const QString name = QFile::decodeName(bytes);
    return QFile::encodeName(name) == bytes ? name : QString();
}

namespace {

QString folderRefused(const QByteArray &bytes, QString *error)
{
    const QString why = bytes.isEmpty() ? QStringLiteral("/proc/self/exe") : qt_error_string(errno);
    if (error)
        *error = QStringLiteral(u"プログラムのフォルダ %1 を開けません: %2")
                     .arg(QFile::decodeName(bytes), why);
    return QString();
}

} // namespace

QString enterProgramFolder(QString *error)
{
    const QString named = programFolder();
    if (!named.isEmpty())
        return named;
    const QByteArray bytes = programFolderBytes();
    if (!bytes.isEmpty() && ::chdir(bytes.constData()) == 0)
        return QStringLiteral("/proc/self/cwd");
    return folderRefused(bytes, error);
}

QString nameQtCanOpen(const QByteArray &bytes)
{
    const QString name = QFile::decodeName(bytes);
    if (QFile::encodeName(name) == bytes)
        return name;
    const int fd = bytes.isEmpty() ? -1 : ::open(bytes.constData(), O_PATH | O_CLOEXEC);
    if (fd >= 0) // held open until the process ends: the name below stays valid as long
        return QStringLiteral("/proc/self/fd/%1").arg(fd);
    return QString();
}

QString openProgramFolder(QString *error)
{
    const QByteArray bytes = programFolderBytes();
    const QString name = nameQtCanOpen(bytes);
    return name.isEmpty() ? folderRefused(bytes, error) : name;
}

} // namespace pellimo
