// SPDX-License-Identifier: MIT
#include "stampdatafolder.h"

#include "storage/settingsfile.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <unistd.h>

namespace pellimo {

QString stampDataFolder(const QString &programFolder)
{
    const bool writable = ::access(QFile::encodeName(programFolder).constData(), W_OK) == 0;
    if (writable || QFileInfo::exists(settingsFilePath(programFolder)))
        return programFolder;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

} // namespace pellimo
