// SPDX-License-Identifier: MIT
#include "setcommand.h"

#include "model/warning.h"
#include "platform/clipboard.h"
#include "render/cutout.h"
#include "storage/profilebackup.h"
#include "storage/profilefile.h"

#include <cstdio>
#include <exception>

namespace pellimo {

namespace {

SaveStatus runSteps(AppState &state, const QImage &picBase, QImage &picTemp)
{
    try {
        cutOutStamp(picBase, state.profile.radius, picTemp);
    } catch (const std::exception &) {
        return SaveStatus::failure(joinMessageLines(
            {QStringLiteral(u"印面を切り出せませんでした。"),
             QStringLiteral(u"半径の値 %1 に問題があると思われます。").arg(state.profile.radius),
             QStringLiteral(u"クリップボードとプロファイルは変更していません。")}));
    }
    if (!putStampOnClipboard(picTemp))
        return SaveStatus::failure(
            joinMessageLines({QStringLiteral(u"印面をクリップボードにセットできませんでした。"),
                              QStringLiteral(u"プロファイルは保存していません。")}));

    const QString path = profileFilePath(state.dataFolder, state.currentUser);
    const QString notSaved = QStringLiteral(
        u"印面はクリップボードにセットしましたが、プロファイルを保存できませんでした。");
    if (state.unreadProfiles.contains(state.currentUser)) {
        // The file failed to read in this run: its bytes are kept before the save replaces them.
        const ProfileBackup kept = keepDamagedProfile(path);
        if (!kept.status)
            return SaveStatus::failure(joinMessageLines({notSaved, kept.status.error}));
        state.unreadProfiles.remove(state.currentUser);
        if (!kept.path.isEmpty()) {
            std::fprintf(stderr, "Pellimo: %s\n",
                         backupNoticeText(path, kept.path).toLocal8Bit().constData());
            std::fflush(stderr);
        }
    }

    const SaveStatus saved = saveProfile(state.profile, path);
    if (!saved)
        return SaveStatus::failure(joinMessageLines({notSaved, saved.error}));
    return saved;
}

} // namespace

SaveStatus runSetCommand(AppState &state, const QImage &picBase, QImage &picTemp)
{
    try {
        return runSteps(state, picBase, picTemp);
    } catch (const std::exception &e) {
        return SaveStatus::failure(QString::fromUtf8(e.what()));
    }
}

} // namespace pellimo
