// SPDX-License-Identifier: MIT
#pragma once

#include "model/appstate.h"
#include "model/savestatus.h"
#include "model/stampprofile.h"

#include <QString>
#include <cstdint>

namespace pellimo {

// user0N.dat, the name of user N's profile file; N is not checked.
QString profileFileName(int16_t user);

// <folder>/user0N.dat
QString profileFilePath(const QString &dataFolder, int16_t user);

// The characters of a text or font name that a profile file cannot hold: characters outside
// CP932, and the double quote (the format has no escape for it). Empty when the text is storable.
QString unstorableCharacters(const QString &text);

// Writes the whole profile (CP932, CR LF, five lines) atomically: on any failure the previous file
// stays whole and the status names the file and the reason. A profile holding a character that the
// file cannot hold is refused without touching the file.
[[nodiscard]] SaveStatus saveProfile(const StampProfile &profile, const QString &path);

// Reads the file into the profile. True: the whole profile was read. False: the file is missing
// (silently, profile untouched) or damaged (the reader's warning is shown; fields of the steps
// before the failure keep their new values). Never changes the file.
bool loadProfile(StampProfile &profile, const QString &path);

// The same without the warning: true when the whole profile was read.
bool readProfile(StampProfile &profile, const QString &path);

// Reads the current user's file into the profile; when it cannot be read (the reader has warned,
// or it is missing) the profile becomes the defaults and the user is noted in
// state.unreadProfiles, so that Set keeps the file's bytes before saving over it.
void loadCurrentProfile(AppState &state);

// The text of the reader's three-line warning, lines joined by CR LF.
QString profileReadWarningText();

} // namespace pellimo
