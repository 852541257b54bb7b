// SPDX-License-Identifier: MIT
#pragma once

#include "model/appstate.h"
#include "model/savestatus.h"

#include <QImage>

namespace pellimo {

// The Set command's work: the stamp cut out of picBase into picTemp, put on the clipboard, then
// the profile saved to the current user's file. When that file failed to read in this run
// (state.unreadProfiles), its bytes are first copied to a backup beside it, named in one line on
// stderr; without the backup nothing is saved. On failure the status says which step failed and
// why; later steps do not run. Shows nothing else: the caller tells the user.
[[nodiscard]] SaveStatus runSetCommand(AppState &state, const QImage &picBase, QImage &picTemp);

} // namespace pellimo
