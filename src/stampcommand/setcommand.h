// SPDX-License-Identifier: MIT
#pragma once

#include "model/appstate.h"
#include "model/savestatus.h"

#include <QImage>

namespace pellimo {

// The Set command's work: the stamp cut out of picBase into picTemp, put on the clipboard, then
// the profile saved to the current user's file. On failure the status says which step failed and
// why; later steps do not run. Shows nothing: the caller tells the user.
[[nodiscard]] SaveStatus runSetCommand(const AppState &state, const QImage &picBase,
                                       QImage &picTemp);

} // namespace pellimo
