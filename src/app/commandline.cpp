// SPDX-License-Identifier: MIT
#include "commandline.h"

#include "model/appsettings.h"

#include <QDir>
#include <QFileInfo>

namespace pellimo {

CommandLine parseCommandLine(const QString &arguments)
{
    CommandLine result;
    const QString lower = arguments.toLower();
    if (lower.isEmpty())
        return result;
    // Split at every single space: two spaces give an empty token, nothing is trimmed.
    const QStringList tokens = lower.split(QLatin1Char(' '), Qt::KeepEmptyParts);
    if (tokens.first() != QLatin1String("nogui"))
        return result;
    result.noGui = true;
    if (tokens.size() >= 2) {
        for (int16_t n = 1; n <= kUserCount; ++n) {
            if (tokens.at(1) == QLatin1Char('u') + QString::number(n))
                result.user = n;
        }
        if (result.user == 0) // named as it was given
            result.unknownUser = arguments.split(QLatin1Char(' '), Qt::KeepEmptyParts).at(1);
    }
    return result;
}

QString unknownUserNotice(const QString &token, int16_t startUpUser)
{
    return QStringLiteral("\"%1\" names no user (u1 to u5); the stamp of the start-up user %2 is "
                          "used.")
        .arg(token)
        .arg(startUpUser);
}

QString fileToOpen(const QStringList &argumentsAfterProgram, const QString &workingFolder)
{
    if (argumentsAfterProgram.size() != 1)
        return QString();
    const QString &argument = argumentsAfterProgram.first();
    if (argument.isEmpty() || parseCommandLine(argument).noGui)
        return QString();
    const QFileInfo file(QDir(workingFolder), argument);
    if (!argument.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) && !file.isFile())
        return QString();
    return QDir::cleanPath(file.absoluteFilePath());
}

QString joinArguments(const QStringList &argumentsAfterProgram)
{
    return argumentsAfterProgram.join(QLatin1Char(' '));
}

} // namespace pellimo
