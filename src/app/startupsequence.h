// SPDX-License-Identifier: MIT
#pragma once

#include "commandline.h"
#include "model/appstate.h"
#include "model/savestatus.h"

#include <QString>

namespace pellimo {

// The start-up steps between the single-instance check and the main window, in this order:
// settings, missing profile files, the start-up user's profile, the command line. They work on
// state.dataFolder and never open a window; warnings go through showWarning.

// Reads the settings file, or, when there is none, takes the defaults and writes them. A write
// that fails is not reported: the defaults stay in memory and the next start tries again.
void loadOrCreateSettings(AppState &state);

// For users 1..kUserCount in order: a missing profile file is created holding the default profile;
// existing files are not opened. Stops at the first file that cannot be created and returns a
// status naming it and the reason. After any creation the current profile is the default one.
[[nodiscard]] SaveStatus createMissingProfiles(AppState &state);

// currentUser becomes defaultUser and that user's profile is read; a missing or damaged file
// (the reader has warned) gives the default profile, which is not written back.
void loadStartUpProfile(AppState &state);

// "nogui" switches to hidden mode; a user token u1..u5 after it changes currentUser for this run
// only, and the profile is read again when the user changed. Any other token after it keeps the
// start-up user and is named in one line on stderr.
void applyCommandLine(AppState &state, const CommandLine &commandLine);

// The four steps above over the argument string. Fails only when a profile file could not be
// created; the later steps then do not run.
[[nodiscard]] SaveStatus runStartUpSequence(AppState &state, const QString &arguments);

} // namespace pellimo
