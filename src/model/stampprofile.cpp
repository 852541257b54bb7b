// SPDX-License-Identifier: MIT
#include "stampprofile.h"

namespace pellimo {

QString defaultFontName()
{
    return QStringLiteral(u"\uFF2D\uFF33 \u660E\u671D");
}

void loadDefaultProfile(StampProfile &profile)
{
    profile.radius = 35;
    profile.lineWidth = 1;
    profile.topAreaPercent = 35;
    profile.bottomAreaPercent = 35;
    profile.colour = 255;
    static const std::array<QString, kItemCount> texts = {
        QStringLiteral(u"組織名"), QString(), QStringLiteral(u"名字"), QStringLiteral(u"名")};
    for (int i = 0; i < kItemCount; ++i) {
        StampItem &item = profile.items[i];
        item.text = texts[i];
        item.fontName = defaultFontName();
        item.fontSize = 9;
        item.bold = false;
        item.italic = false;
        item.offsetX = 0;
        item.offsetY = 0;
    }
}

} // namespace pellimo
