// SPDX-License-Identifier: MIT
#include "mainwindowlayout.h"

#include "ui/common/twips.h"

namespace pellimo {

QRect controlPlace(QStringView name)
{
    for (const ControlPlace &place : kMainWindowLayout)
        if (name == QLatin1String(place.name))
            return twipsRect(place.left, place.top, place.width, place.height);
    return {};
}

} // namespace pellimo
