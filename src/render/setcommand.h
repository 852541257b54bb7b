#pragma once

#include "startup/appstate.h"
#include "startup/savestatus.h"

#include <QImage>

namespace pellimo {

// Copies the crop of picBase into picTemp (resized to the crop), pixel for pixel; pixels outside
// picBase come out white. Throws checked::OverflowError on overflow.
void cutOutStamp(const QImage &picBase, int16_t radius, QImage &picTemp);

// Clears the system clipboard and puts the image on it. False when the clipboard did not take it.
bool putStampOnClipboard(const QImage &image);

// The Set command's core: cut-out, clipboard, then saveProfile to the current user's file.
// On failure the status says which step failed and why; later steps do not run.
[[nodiscard]] SaveStatus runSetCommand(const AppState &state, const QImage &picBase, QImage &picTemp);

} // namespace pellimo
