// SPDX-License-Identifier: MIT
#pragma once

// The steps both roads to the clipboard take, the window's and `pellimo nogui`'s, with the
// warnings they show.

#include "model/appstate.h"

#include <QImage>
#include <QString>

namespace pellimo {

// Draws the current profile onto picBase; a failed drawing shows the warning naming the current
// user's file. True when the whole stamp was drawn.
bool drawCurrentStamp(const AppState &state, QImage &picBase);

QString drawWarningText(int16_t user);

} // namespace pellimo
