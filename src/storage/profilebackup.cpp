// SPDX-License-Identifier: MIT
#include "profilebackup.h"

#include "savemessages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace pellimo {

namespace {

ProfileBackup failed(const QString &text)
{
    return {SaveStatus::failure(text), QString()};
}

} // namespace

QString backupCandidate(const QString &path, int attempt)
{
    const QString first = path + QStringLiteral(".damaged");
    return attempt == 0 ? first : first + QLatin1Char('.') + QString::number(attempt);
}

ProfileBackup keepDamagedProfile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return {SaveStatus::success(), QString()};
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly))
        return failed(readFailureText(path, source.errorString()));

    for (int attempt = 0; attempt < kMaxProfileBackups; ++attempt) {
        const QString name = backupCandidate(path, attempt);
        QFile backup(name);
        // NewOnly creates the file or fails: an earlier backup, or one made at this moment by
        // another process, is never written over.
        if (!backup.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            const QFileInfo there(name);
            if (there.exists() || there.isSymLink())
                continue;
            return failed(writeFailureText(name, backup.errorString()));
        }
        QString why;
        while (why.isEmpty()) {
            const QByteArray chunk = source.read(64 * 1024);
            if (chunk.isEmpty()) {
                if (source.error() != QFile::NoError)
                    why = readFailureText(path, source.errorString());
                break;
            }
            if (backup.write(chunk) != chunk.size())
                why = writeFailureText(name, backup.errorString());
        }
        if (why.isEmpty() && !backup.flush())
            why = writeFailureText(name, backup.errorString());
        backup.close();
        if (why.isEmpty() && backup.error() != QFile::NoError)
            why = writeFailureText(name, backup.errorString());
        if (!why.isEmpty()) {
            backup.remove(); // a cut-off copy is no backup
            return failed(why);
        }
        return {SaveStatus::success(), name};
    }
    return failed(writeFailureText(backupCandidate(path, kMaxProfileBackups),
                                   QStringLiteral(u"控えが多すぎます")));
}

QString backupNoticeText(const QString &path, const QString &backupPath)
{
    return QStringLiteral("%1 could not be read in this run; its bytes are kept in %2 before it is "
                          "saved over.")
        .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(backupPath));
}

} // namespace pellimo
