// SPDX-License-Identifier: MIT
#pragma once

#include "model/appstate.h"

#include <QDateTime>
#include <functional>

namespace pellimo {

// How a hidden run ended.
enum class HiddenRunResult {
    Set,             // the user's stamp, whole, is on the clipboard and saved
    SetAfterWarning, // set and saved, but from the defaults (the file could not be read), with
                     // values outside the controls' ranges, or with characters left out of the
                     // date line
    Failed,          // nothing on the clipboard, nothing saved: the drawing or Set failed
};

// A nogui run without the main window: the window's load sequence on the two stamp surfaces
// alone, with no widget built. The controls are only checked against their limits, so the same
// warnings appear in the same order (a value that does not fit a control, a drawing failure, a
// failed Set), the stamp is drawn on a surface of PicBase's size and Set puts it on the clipboard
// and saves the profile. A failed drawing sets nothing: one line on stderr says so.
HiddenRunResult runHiddenLoad(AppState &state,
                              std::function<QDateTime()> now = &QDateTime::currentDateTime);

} // namespace pellimo
