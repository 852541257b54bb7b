// SPDX-License-Identifier: MIT
#pragma once

// Two designs and two settings records whose files differ in content and in length.
#include "model/appsettings.h"
#include "model/stampprofile.h"

namespace pellimo {

inline StampProfile designA()
{
    StampProfile p;
    loadDefaultProfile(p);
    return p;
}

inline StampProfile designB()
{
    StampProfile p;
    loadDefaultProfile(p);
    p.radius = 48;
    p.colour = 16711680;
    p.items[0].text = QStringLiteral(u"株式会社ペリモ商事　総務部　第二課");
    p.items[1].text = QStringLiteral("08.12.07");
    p.items[2].bold = true;
    p.items[3].offsetX = -7;
    return p;
}

inline AppSettings settingsA()
{
    AppSettings s;
    loadDefaultSettings(s);
    return s;
}

inline AppSettings settingsB()
{
    AppSettings s;
    loadDefaultSettings(s);
    s.defaultUser = 3;
    s.userNames[1] = QStringLiteral(u"山田太郎（経理部）");
    s.dateFormat = QStringLiteral("ggge年m月d日");
    s.autoClose = true;
    return s;
}

} // namespace pellimo
