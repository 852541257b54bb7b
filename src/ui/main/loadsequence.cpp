// SPDX-License-Identifier: MIT
#include "loadsequence.h"

#include "datefmt/dateformat.h"
#include "model/warning.h"
#include "storage/profilefile.h"
#include "storage/savemessages.h"

namespace pellimo {

QString failedDrawingSetText()
{
    return joinMessageLines({
        QStringLiteral(u"印面が正しく描画されていないため、セットできません。"),
        QStringLiteral(u"クリップボードとプロファイルは変更していません。"),
    });
}

QString dateLineWarningText(const QString &pattern, const QString &characters)
{
    return joinMessageLines({
        QStringLiteral(u"日付書式「%1」の日付にはデータファイルに保存できない文字があります：%2")
            .arg(pattern, describeCharacters(characters)),
        QStringLiteral(u"日付の行からこの文字を除きました。日付書式はオプションで直せます。"),
    });
}

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

LoadOutcome runLoadSequence(AppState &state, const std::function<QDateTime()> &now,
                            LoadTarget &target)
{
    LoadOutcome outcome;
    target.setLoading(true);
    target.fillUserList();
    // Today's date replaces whatever date text the profile file held.
    outcome.dateLineWhole = putDateLine(state, now());
    outcome.valuesFit = profileToControls(state.profile, state.currentUser, target);
    target.setLoading(false);
    outcome.drawn = target.drawStamp();

    if (state.noGuiMode && outcome.drawn)
        target.runSet();
    return outcome;
}

} // namespace pellimo
