// SPDX-License-Identifier: MIT
#pragma once

namespace pellimo {

// Exit status of the program.
//  0  normal mode: the main window was closed (after Set or not);
//     hidden mode (nogui): the user's stamp, whole, is on the clipboard and the profile saved.
//  1  a failure: no display, a profile file that could not be created, a drawing that failed
//     (nothing set, nothing saved), a Set that failed (when only the save failed, the stamp is on
//     the clipboard), the stamp that could not be handed to the Wayland clipboard.
//  2  another instance runs in the same program folder; nothing was touched.
//  3  hidden mode: the stamp is on the clipboard and the profile saved, but after a warning: the
//     profile file could not be read (the defaults were used), a value lay outside the window's
//     ranges, or the date line left out characters a profile file cannot hold.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitAlreadyRunning = 2;
inline constexpr int kExitSetAfterWarning = 3;

// Runs the whole program: the display check, the process that keeps the clipboard after the
// program ends, start-up, then the main window or the hidden Set. Call it first thing in main.
int runApplication(int argc, char **argv);

} // namespace pellimo
