// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

namespace pellimo {

// The words of a failed save, for the user. Paths are shown as the user writes them.

// "ファイル <path> を書き込めません: <reason>"
QString writeFailureText(const QString &path, const QString &reason);

// "ファイル <path> を読み込めません: <reason>"
QString readFailureText(const QString &path, const QString &reason);

// Names characters for a message: printable ones in corner brackets 「😀」, others as U+XXXX.
QString describeCharacters(const QString &characters);

// "ファイル <path> に保存できない文字があります。" followed by one line per refused value
// ("<what>: <characters>"), lines joined by CR LF.
QString refusalText(const QString &path, const QStringList &refusedValues);

} // namespace pellimo
