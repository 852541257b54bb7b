// SPDX-License-Identifier: MIT
#include "savetarget.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <sys/stat.h>
#include <unistd.h>

namespace pellimo {

bool confirmSaveTarget(const QString &path,
                       const std::function<bool(const QString &)> &askOverwrite, QString &refusal)
{
    refusal.clear();
    const QFileInfo info(path);
    const QString name = info.fileName();
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    const bool there = ::lstat(native.constData(), &st) == 0;
    if (there && S_ISLNK(st.st_mode)) {
        refusal = QCoreApplication::translate(
                      "pellimo", "%1 is a symbolic link; Pellimo does not write through it. Choose another name.")
                      .arg(name);
        return false;
    }
    if (there && !S_ISREG(st.st_mode)) {
        refusal = QCoreApplication::translate(
                      "pellimo",
                      "%1 is not a regular file, so it is not replaced. Choose another name.")
                      .arg(name);
        return false;
    }
    const QString folder = info.absolutePath();
    const QByteArray nativeFolder = QFile::encodeName(folder);
    struct stat folderStat {};
    if (::stat(nativeFolder.constData(), &folderStat) != 0 || !S_ISDIR(folderStat.st_mode)) {
        refusal =
            QCoreApplication::translate("pellimo", "The folder %1 does not exist.").arg(folder);
        return false;
    }
    if (::access(nativeFolder.constData(), W_OK | X_OK) != 0) {
        refusal = QCoreApplication::translate(
                      "pellimo",
                      "The folder %1 cannot be written (no permission to write, or it is read-only). Choose another folder.")
                      .arg(folder);
        return false;
    }
    return !there || askOverwrite(path);
}

bool askReplaceFile(QWidget *parent, const QString &path)
{
    return QMessageBox::question(
               parent, QStringLiteral("Pellimo"),
               QCoreApplication::translate("pellimo", "%1 already exists. Replace it?")
                   .arg(QFileInfo(path).fileName()),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

} // namespace pellimo
