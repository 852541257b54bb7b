// SPDX-License-Identifier: MIT
#pragma once

// The steps both roads to the clipboard take, the window's and `pellimo nogui`'s, with the
// warnings they show: the date line, the range check, the drawing.

#include "model/appstate.h"

#include <QDateTime>
#include <QImage>
#include <QString>

namespace pellimo {

// Puts today's date, formatted with the settings' pattern, into the profile's date line. Characters
// that a profile file cannot hold (a double quote, anything outside CP932) are left out, so that
// a pattern stored by hand never makes Set fail; the first time in a run that this happens, one
// warning names them. False when characters were left out.
bool putDateLine(AppState &state, const QDateTime &now);

// Shows the warning naming the current user's file when a value of the profile lies outside the
// window's ranges (model/profileranges.h). False when it did.
bool checkProfileRanges(const AppState &state);

// Draws the current profile onto picBase; a failed drawing shows the warning naming the current
// user's file. True when the whole stamp was drawn.
bool drawCurrentStamp(const AppState &state, QImage &picBase);

QString dateLineWarningText(const QString &pattern, const QString &characters);
QString valuesOutOfRangeWarningText(int16_t user);
QString drawWarningText(int16_t user);

// The refusal of Set while PicBase holds a failed drawing.
QString failedDrawingSetText();

} // namespace pellimo
