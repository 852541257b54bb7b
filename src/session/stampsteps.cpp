// SPDX-License-Identifier: MIT
#include "stampsteps.h"

#include "model/warning.h"
#include "render/drawstamp.h"
#include "storage/profilefile.h"

namespace pellimo {

bool drawCurrentStamp(const AppState &state, QImage &picBase)
{
    if (drawStamp(picBase, state.profile))
        return true;
    showWarning(drawWarningText(state.currentUser));
    return false;
}

QString drawWarningText(int16_t user)
{
    return joinMessageLines({
        QStringLiteral(u"印面描画中にエラーが発生しました。"),
        profileFileName(user) + QStringLiteral(u" のデータに問題があると思われます。"),
        QStringLiteral(u"描画処理を中断します。"),
        QStringLiteral(u"現在の印面は正しく表示されていません。"),
    });
}

} // namespace pellimo
