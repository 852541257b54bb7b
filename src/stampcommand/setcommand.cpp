// SPDX-License-Identifier: MIT
#include "setcommand.h"

#include "model/warning.h"
#include "platform/clipboard.h"
#include "render/cutout.h"
#include "storage/profilefile.h"

#include <exception>

namespace pellimo {

namespace {

SaveStatus runSteps(const AppState &state, const QImage &picBase, QImage &picTemp)
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

    const SaveStatus saved =
        saveProfile(state.profile, profileFilePath(state.programFolder, state.currentUser));
    if (!saved)
        return SaveStatus::failure(joinMessageLines(
            {QStringLiteral(
                 u"印面はクリップボードにセットしましたが、プロファイルを保存できませんでした。"),
             saved.error}));
    return saved;
}

} // namespace

SaveStatus runSetCommand(const AppState &state, const QImage &picBase, QImage &picTemp)
{
    try {
        return runSteps(state, picBase, picTemp);
    } catch (const std::exception &e) {
        return SaveStatus::failure(QString::fromUtf8(e.what()));
    }
}

} // namespace pellimo
