// SPDX-License-Identifier: MIT
#pragma once

#include "model/appstate.h"

#include <QDateTime>
#include <functional>

namespace pellimo {

// A nogui run without the main window: the window's load sequence on the two stamp surfaces
// alone, with no widget built. The controls are only checked against their limits, so the same
// warnings appear in the same order (a value that does not fit a control, a drawing failure, a
// failed Set), the stamp is drawn on a surface of PicBase's size and Set puts it on the clipboard
// and saves the profile. True when Set succeeded.
bool runHiddenLoad(AppState &state, std::function<QDateTime()> now = &QDateTime::currentDateTime);

} // namespace pellimo
