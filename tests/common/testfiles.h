// SPDX-License-Identifier: MIT
#pragma once

// Small helpers the tests share: raw file bytes, CP932 literals, and a readable profile dump.
#include "model/stampprofile.h"
#include "storage/cp932.h"

#include <QFile>
#include <QString>

namespace pellimo {

// The CP932 bytes of a text that CP932 can hold.
inline QByteArray cp932(const QString &text)
{
    return encodeCp932(text).value();
}

// The whole file, or "<unreadable>" when it cannot be opened.
inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() && file.flush();
}

// One line per profile for failure messages; long texts are cut at 40 characters.
inline QString describe(const StampProfile &p)
{
    QString s = QStringLiteral("%1,%2,%3,%4,%5")
                    .arg(p.colour)
                    .arg(p.lineWidth)
                    .arg(p.bottomAreaPercent)
                    .arg(p.topAreaPercent)
                    .arg(p.radius);
    for (const StampItem &i : p.items)
        s += QStringLiteral(" | %1,[%2],%3,%4,[%5],%6,%7")
                 .arg(i.bold)
                 .arg(i.fontName.left(40))
                 .arg(i.italic)
                 .arg(i.fontSize)
                 .arg(i.text.left(40))
                 .arg(i.offsetX)
                 .arg(i.offsetY);
    return s;
}

// A profile that uses every kind of field value: both Booleans, negative offsets, an empty text,
// another face. Its file lines are referenceProfileLines().
inline StampProfile referenceProfile()
{
    StampProfile p;
    loadDefaultProfile(p);
    p.colour = 16711680;
    p.lineWidth = 3;
    p.bottomAreaPercent = 20;
    p.topAreaPercent = 30;
    p.radius = 45;
    p.items[0] = {QStringLiteral(u"組織名"), defaultFontName(), 12, true, false, -3, 2};
    p.items[1] = {QStringLiteral("08.12.06"), QStringLiteral("Arial"), 10, false, true, 0, -1};
    p.items[2] = {QStringLiteral(u"名字"), defaultFontName(), 9, true, true, 4, 0};
    p.items[3] = {QString(), QStringLiteral(u"ＭＳ ゴシック"), 8, false, false, -10, 10};
    return p;
}

// A profile that shares no field value with the reference profile or with the default one, so
// a test sees which fields a read has stored.
inline StampProfile sentinelProfile()
{
    StampProfile p;
    p.colour = 1;
    p.lineWidth = p.bottomAreaPercent = p.topAreaPercent = p.radius = 7;
    for (StampItem &item : p.items)
        item = {QStringLiteral("old"), QStringLiteral("OldFont"), 7, false, false, 7, 7};
    return p;
}

inline QStringList referenceProfileLines()
{
    return {
        QStringLiteral("16711680,3,20,30,45"),
        QStringLiteral(u"#TRUE#,\"ＭＳ 明朝\",#FALSE#,12,\"組織名\",-3,2"),
        QStringLiteral(u"#FALSE#,\"Arial\",#TRUE#,10,\"08.12.06\",0,-1"),
        QStringLiteral(u"#TRUE#,\"ＭＳ 明朝\",#TRUE#,9,\"名字\",4,0"),
        QStringLiteral(u"#FALSE#,\"ＭＳ ゴシック\",#FALSE#,8,\"\",-10,10"),
    };
}

} // namespace pellimo
