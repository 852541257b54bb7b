// SPDX-License-Identifier: MIT
#pragma once

// The main window's load sequence, written once for the window and for the hidden run (nogui),
// which builds no widget: both show the same warnings in the same order and run the same Set.

#include "model/appstate.h"
#include "model/savestatus.h"
#include "profilecontrols.h"

#include <QDateTime>
#include <QImage>
#include <functional>

namespace pellimo {

// What the load sequence works on: the controls it fills, and the window-level steps around them.
class LoadTarget : public ProfileControls {
public:
    // The window's isLoading flag.
    virtual void setLoading(bool loading) = 0;
    // Puts the five user names into the user list and selects the current user's entry.
    virtual void fillUserList() = 0;
    // Redraws the stamp from the current profile onto PicBase; false when the drawing failed.
    virtual bool drawStamp() = 0;
    // The Set command, as a click on cmdSet runs it.
    virtual void runSet() = 0;
};

// What the load sequence met on its way; every `false` came with its warning.
struct LoadOutcome {
    bool dateLineWhole = true; // the date line holds the whole formatted date
    bool valuesFit = true;     // every profile value fitted its control
    bool drawn = true;         // the stamp was drawn
};

// The load sequence: isLoading on, the user list, today's date (read from `now`, formatted with
// the settings' date pattern) into the date line, the controls from the profile (a value that
// does not fit shows its warning and the sequence goes on), isLoading off, one drawing, and Set
// when noGuiMode is on and the drawing succeeded (a failed drawing is no stamp to set).
LoadOutcome runLoadSequence(AppState &state, const std::function<QDateTime()> &now,
                            LoadTarget &target);

// Puts today's date, formatted with the settings' pattern, into the profile's date line. Characters
// that a profile file cannot hold (a double quote, anything outside CP932) are left out, so that
// a pattern stored by hand never makes Set fail; the first time in a run that this happens, one
// warning names them. False when characters were left out.
bool putDateLine(AppState &state, const QDateTime &now);

// The refusal of Set while PicBase holds a failed drawing.
QString failedDrawingSetText();

// The warning shown when the date line had to leave out characters.
QString dateLineWarningText(const QString &pattern, const QString &characters);

} // namespace pellimo
