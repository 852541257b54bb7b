// SPDX-License-Identifier: MIT
#include "datafolder.h"

#include "settingsfile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <fcntl.h>
#include <unistd.h>

namespace pellimo {

namespace {

// Whether this process may make files in the folder, asked with its effective ids, so that
// permissions, ownership and a read-only mount all count as they will for the files themselves.
bool canMakeFilesIn(const QString &folder)
{
    return !folder.isEmpty() && ::faccessat(AT_FDCWD, QFile::encodeName(folder).constData(),
                                            W_OK | X_OK, AT_EACCESS) == 0;
}

// The system's folders of programs. A program there is installed, whoever runs it: root may
// write to /usr/bin, but data files have no place among the system's programs.
bool isSystemProgramFolder(const QString &folder)
{
    static const QStringList system = {
        QStringLiteral("/bin"),           QStringLiteral("/sbin"),
        QStringLiteral("/usr/bin"),       QStringLiteral("/usr/sbin"),
        QStringLiteral("/usr/local/bin"), QStringLiteral("/usr/local/sbin"),
        QStringLiteral("/usr/games"),
    };
    return system.contains(QDir::cleanPath(folder));
}

} // namespace

DataFolder chooseDataFolder(const QString &programFolder)
{
    const bool portable = QFile::exists(settingsFilePath(programFolder)) ||
                          (canMakeFilesIn(programFolder) && !isSystemProgramFolder(programFolder));
    if (portable)
        return {DataFolder::Mode::Portable, programFolder};
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return {DataFolder::Mode::Installed, user.isEmpty() ? QString() : QDir::cleanPath(user)};
}

SaveStatus prepareDataFolder(const DataFolder &folder)
{
    if (folder.mode == DataFolder::Mode::Portable)
        return SaveStatus::success();
    if (folder.path.isEmpty())
        return SaveStatus::failure(QStringLiteral(
            u"データファイルを置くフォルダーが見つかりません（HOME が未設定です）。"));
    if (!QDir().mkpath(folder.path))
        return SaveStatus::failure(
            QStringLiteral(u"データフォルダー %1 を作成できません。").arg(folder.path));
    return SaveStatus::success();
}

} // namespace pellimo
