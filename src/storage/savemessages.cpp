// SPDX-License-Identifier: MIT
#include "savemessages.h"

#include <QDir>

namespace pellimo {

QString writeFailureText(const QString &path, const QString &reason)
{
    return QStringLiteral(u"ファイル %1 を書き込めません: %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString readFailureText(const QString &path, const QString &reason)
{
    return QStringLiteral(u"ファイル %1 を読み込めません: %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString describeCharacters(const QString &characters)
{
    QStringList parts;
    for (uint codePoint : characters.toUcs4()) {
        const char32_t c = codePoint;
        const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
        if (!surrogate && codePoint <= 0x10FFFF && QChar::isPrint(c) && c != u'\x3000')
            parts << QStringLiteral(u"「%1」").arg(QString::fromUcs4(&c, 1));
        else
            parts << QStringLiteral("U+%1").arg(codePoint, 4, 16, QLatin1Char('0')).toUpper();
    }
    return parts.join(QLatin1Char(' '));
}

QString refusalText(const QString &path, const QStringList &refusedValues)
{
    QStringList lines{QStringLiteral(u"ファイル %1 に保存できない文字があります。")
                          .arg(QDir::toNativeSeparators(path))};
    lines << refusedValues;
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace pellimo
