// SPDX-License-Identifier: MIT
#include "stampsteps.h"

#include "datefmt/dateformat.h"
#include "model/profileranges.h"
#include "model/warning.h"
#include "render/drawstamp.h"
#include "storage/profilefile.h"
#include "storage/savemessages.h"

namespace pellimo {

bool putDateLine(AppState &state, const QDateTime &now)
{
    const QString date = formatDate(now, state.settings.dateFormat);
    const QString bad = unstorableCharacters(date);
    QString kept;
    for (qsizetype i = 0; i < date.size();) {
        const qsizetype len = date.at(i).isHighSurrogate() && i + 1 < date.size() ? 2 : 1;
        const QStringView one = QStringView(date).mid(i, len);
        if (!bad.contains(one))
            kept += one;
        i += len;
    }
    state.profile.items[1].text = kept;
    if (bad.isEmpty())
        return true;
    if (!state.dateLineWarned) {
        state.dateLineWarned = true;
        showWarning(dateLineWarningText(state.settings.dateFormat, bad));
    }
    return false;
}

bool checkProfileRanges(const AppState &state)
{
    if (!firstFieldOutOfRange(state.profile))
        return true;
    showWarning(valuesOutOfRangeWarningText(state.currentUser));
    return false;
}

bool drawCurrentStamp(const AppState &state, QImage &picBase)
{
    if (drawStamp(picBase, state.profile))
        return true;
    showWarning(drawWarningText(state.currentUser));
    return false;
}

QString dateLineWarningText(const QString &pattern, const QString &characters)
{
    return joinMessageLines({
        QStringLiteral(u"日付書式「%1」の日付にはデータファイルに保存できない文字があります：%2")
            .arg(pattern, describeCharacters(characters)),
        QStringLiteral(u"日付の行からこの文字を除きました。日付書式はオプションで直せます。"),
    });
}

QString valuesOutOfRangeWarningText(int16_t user)
{
    const QString file = profileFileName(user);
    return joinMessageLines({
        file + QStringLiteral(u" より読み出された値を") +
            QStringLiteral(u"セットする処理でエラーが発生しました。"),
        QStringLiteral(u"該当するファイルの問題の個所がわかっている場合は修正して下さい。"),
        QStringLiteral(u"わからない場合は ") + file + QStringLiteral(u" を破棄することで") +
            QStringLiteral(u"問題を修正できます（データは失われます）。"),
        QStringLiteral(u"現在の印面は正しく表示されていません。"),
    });
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

QString failedDrawingSetText()
{
    return joinMessageLines({
        QStringLiteral(u"印面が正しく描画されていないため、セットできません。"),
        QStringLiteral(u"クリップボードとプロファイルは変更していません。"),
    });
}

} // namespace pellimo
