// SPDX-License-Identifier: MIT
#include "appsettings.h"

namespace pellimo {

QString defaultUserName(int user)
{
    return QStringLiteral(u"ユーザー") + QString::number(user);
}

QString defaultDateFormat()
{
    return QStringLiteral("ee.mm.dd");
}

void loadDefaultSettings(AppSettings &settings)
{
    settings.defaultUser = 1;
    for (int n = 1; n <= kUserCount; ++n)
        settings.userNames[n - 1] = defaultUserName(n);
    settings.dateFormat = defaultDateFormat();
    settings.autoClose = false;
}

} // namespace pellimo
