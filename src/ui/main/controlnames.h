// SPDX-License-Identifier: MIT
#pragma once

// The one place that says how the main window's controls are named. Every control's Qt
// objectName is its name; a control of an array gets the array's name followed by its index in
// decimal, with nothing between: txtItem(0) is "txtItem0", LBLSet(5) is "LBLSet5",
// AreaUpdown(1) is "AreaUpdown1".

#include <QString>

namespace pellimo::controlname {

inline QString indexed(const char *arrayName, int index)
{
    return QLatin1String(arrayName) + QString::number(index);
}

} // namespace pellimo::controlname
