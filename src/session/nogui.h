// SPDX-License-Identifier: MIT
#pragma once

#include "model/appstate.h"

#include <QDateTime>

namespace pellimo {

// How a run without a window ended.
enum class NoGuiResult {
    Set,             // the user's stamp, whole, is on the clipboard and saved
    SetAfterWarning, // set and saved, but from the defaults (the file could not be read), with
                     // values outside the window's ranges, or with characters left out of the
                     // date line
    Failed,          // nothing on the clipboard, nothing saved: the drawing or Set failed, or
                     // wl-copy did not take the stamp
};

// `pellimo nogui`: what the window does from its start to a click on Set, without a window and
// without the widget library: today's date into the date line, the range check, the drawing on a
// surface of PicBase's size, then Set (cut-out, clipboard, save) and on Wayland the hand-over to
// wl-copy. The same warnings appear in the same order as in the window. A failed drawing sets
// nothing: one line on stderr says so.
NoGuiResult runNoGui(AppState &state, const QDateTime &now = QDateTime::currentDateTime());

} // namespace pellimo
