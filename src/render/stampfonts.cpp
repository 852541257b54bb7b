// SPDX-License-Identifier: MIT
#include "stampfonts.h"

#include <QFontDatabase>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <cmath>
#include <mutex>

namespace pellimo {

namespace {

constexpr int kFontDpi = 96; // the stamp surface's resolution

QStringList minchoFallbacks()
{
    return {QStringLiteral("IPAMincho"), QStringLiteral("Noto Serif CJK JP")};
}

} // namespace

void installFontSubstitutions()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const QStringList mincho = minchoFallbacks();
        const QStringList pMincho = {QStringLiteral("IPAPMincho"),
                                     QStringLiteral("Noto Serif CJK JP")};
        const QStringList gothic = {QStringLiteral("IPAGothic"),
                                    QStringLiteral("Noto Sans CJK JP")};
        const QStringList pGothic = {QStringLiteral("IPAPGothic"),
                                     QStringLiteral("Noto Sans CJK JP")};
        const struct {
            QString name;
            const QStringList &faces;
        } table[] = {
            {QStringLiteral(u"ＭＳ 明朝"), mincho},        {QStringLiteral("MS Mincho"), mincho},
            {QStringLiteral(u"ＭＳ Ｐ明朝"), pMincho},     {QStringLiteral("MS PMincho"), pMincho},
            {QStringLiteral(u"ＭＳ ゴシック"), gothic},    {QStringLiteral("MS Gothic"), gothic},
            {QStringLiteral(u"ＭＳ Ｐゴシック"), pGothic}, {QStringLiteral("MS PGothic"), pGothic},
        };
        for (const auto &row : table)
            QFont::insertSubstitutions(row.name, row.faces);
    });
}

int fontPixelSize(int points)
{
    // The font height is a whole number of pixels, as on any 96-dpi raster: 4/3 pixel a point.
    return int(std::lround(points * double(kFontDpi) / 72.0));
}

QStringList stampFontFamilies(const QString &fontName)
{
    installFontSubstitutions();
    // Whether a face is installed does not change between drawings; asking the font database costs
    // more than the rest of a text, so the answer is kept per name.
    static QMutex mutex;
    static QHash<QString, QStringList> known;
    QMutexLocker lock(&mutex);
    const auto found = known.constFind(fontName);
    if (found != known.constEnd())
        return *found;

    // A mapped name that is not installed itself (on Linux the usual case: "ＭＳ 明朝") starts with
    // its substitutes. Naming the missing face first would only make the font database sort every
    // installed font for it before it takes the same substitute.
    QStringList families;
    const QStringList substitutes = QFont::substitutes(fontName);
    if (QFontDatabase::hasFamily(fontName))
        families << fontName;
    families << substitutes;
    for (const QString &fallback : minchoFallbacks())
        if (!families.contains(fallback, Qt::CaseInsensitive))
            families << fallback;
    known.insert(fontName, families);
    return families;
}

QFont stampFont(const QString &fontName, int fontSize, bool bold, bool italic)
{
    QFont font;
    if (isAcceptedFontSize(fontSize))
        font.setPixelSize(fontPixelSize(fontSize));
    font.setFamilies(stampFontFamilies(fontName));
    font.setBold(bold);
    font.setItalic(italic);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace pellimo
