// SPDX-License-Identifier: MIT
#include "programfolder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <array>
#include <unistd.h>

namespace pellimo {

QString programFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();

    std::array<char, 4096> buffer{};
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0)
        return QString();
    QString exe = QString::fromLocal8Bit(buffer.data(), n);
    // A program file replaced while it runs shows as "<path> (deleted)".
    const QString deleted = QStringLiteral(" (deleted)");
    if (exe.endsWith(deleted))
        exe.chop(deleted.size());
    return QFileInfo(exe).absolutePath();
}

} // namespace pellimo
