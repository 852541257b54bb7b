// SPDX-License-Identifier: MIT
#pragma once

// Filling the main window's controls from the current profile, written once for both ways the
// program runs: into the window's spinners, labels and text boxes, or, in a hidden run that
// builds no widget, into nothing but the same range checks.

#include "model/stampprofile.h"

#include <QString>
#include <cstdint>

namespace pellimo {

// The spinners of the main window, in the order of its spinner table.
enum class SpinnerId {
    RadUpDown,
    WtUpDown,
    AreaUpdown0,
    AreaUpdown1,
    ScUpDown0,                 // ScUpDown(0..3): vertical offsets of lines 0..3
    ScUpDown4 = ScUpDown0 + 4, // ScUpDown(4..7): horizontal offsets of lines 0..3
};
inline constexpr int kSpinnerCount = int(SpinnerId::ScUpDown0) + 8;

constexpr SpinnerId areaUpdown(int index)
{
    return SpinnerId(int(SpinnerId::AreaUpdown0) + index);
}
constexpr SpinnerId scUpDown(int index)
{
    return SpinnerId(int(SpinnerId::ScUpDown0) + index);
}

// A spinner's range of shown values, and the value the window shows before anything is loaded.
struct SpinnerLimits {
    int minimum;
    int maximum;
    int designValue;
};

SpinnerLimits spinnerLimits(SpinnerId id);

// What the filling writes to.
class ProfileControls {
public:
    virtual ~ProfileControls() = default;
    // Sets the spinner to the field and shows the field in its value label. False, and nothing
    // changes, when the field lies outside the spinner's range.
    virtual bool putSpinner(SpinnerId id, int16_t field) = 0;
    // Puts the text of line `line` (0..3) into its text box.
    virtual void putText(int line, const QString &text) = 0;
};

// Whether the field lies within the spinner's range: what a hidden run checks where the window
// sets the spinner itself.
bool spinnerAcceptsField(SpinnerId id, int16_t field);

// Fills the controls from the profile in the window's fixed order: radius, line width, the two
// bands, then per line its text, vertical and horizontal offset. The first value a spinner
// refuses stops the filling and shows the warning naming the current user's file; the controls
// not reached keep what they showed. False when that happened.
bool profileToControls(const StampProfile &profile, int16_t currentUser, ProfileControls &controls);

// The four-line warning shown when a stored value does not fit its control.
QString profileToControlsWarningText(int16_t user);

} // namespace pellimo
