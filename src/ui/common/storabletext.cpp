// SPDX-License-Identifier: MIT
#include "storabletext.h"

#include "storage/cp932.h"
#include "windownote.h"

#include <QLineEdit>

namespace pellimo {

void replaceLookAlikesIn(QLineEdit *box)
{
    const QString text = box->text();
    const QString replaced = replaceCp932LookAlikes(text);
    if (replaced == text)
        return;
    const int cursor = box->cursorPosition();
    box->setText(replaced);
    box->setCursorPosition(cursor); // one character for one: the cursor stays where it was
}

void takeCharactersOut(QLineEdit *box, const QString &characters)
{
    const QString text = box->text();
    QString kept;
    const int oldCursor = box->cursorPosition();
    int cursor = oldCursor;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QStringView one = QStringView(text).mid(i, len);
        if (characters.contains(one)) {
            if (i < oldCursor)
                cursor -= int(len);
        } else {
            kept += one;
        }
        i += len;
    }
    box->setText(kept);
    box->setCursorPosition(cursor);
}

QString unstorableTextNotice(const QString &characters)
{
    return QStringLiteral(u"「") + characters +
           QStringLiteral(u"」はデータファイルに保存できないため、取り除きました。");
}

void showNoticeAt(QLineEdit *box, const QString &text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    WindowNote::showFor(box, shown);
}

} // namespace pellimo
