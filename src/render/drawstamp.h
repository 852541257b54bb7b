// SPDX-License-Identifier: MIT
#pragma once

#include "model/stampprofile.h"

#include <QImage>
#include <QString>
#include <cstdint>

namespace pellimo {

// Redraws the whole stamp from the profile onto picBase: clear to white, the circle, the clip to
// its inside, the two band lines, the four texts. A failure (overflow, a refused pen width or font
// size) ends the drawing, keeps what was drawn and shows the drawing warning naming user0N.dat;
// a circle that is empty or does not fit picBase is drawn as far as it goes and then fails the
// same way. True when the whole stamp was drawn; a failed drawing is no stamp to set.
bool drawStamp(QImage &picBase, const StampProfile &profile, int16_t currentUser);

QString drawWarningText(int16_t currentUser);

} // namespace pellimo
