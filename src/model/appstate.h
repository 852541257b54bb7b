// SPDX-License-Identifier: MIT
#pragma once

#include "appsettings.h"
#include "stampprofile.h"

#include <QSet>
#include <QString>
#include <cstdint>

namespace pellimo {

// The program-wide state: exactly one current profile, one settings record, one current user.
// Start-up owns it for the whole run and hands it by reference to the windows; tests build their
// own.
struct AppState {
    StampProfile profile;
    AppSettings settings;
    int16_t currentUser = 0; // 1..kUserCount once start-up has run
    bool noGuiMode = false;  // set by the command line, never reset
    // The folder of the data files and the lock: the executable's own folder when portable, the
    // user's data folder when installed (storage/datafolder.h).
    QString dataFolder;
    // Users whose profile file could not be read in this run (damaged or missing), so that their
    // profile came from the defaults. Set keeps a backup of such a file before saving over it.
    QSet<int16_t> unreadProfiles;
    bool dateLineWarned = false; // the date line has once left out characters it cannot store
};

} // namespace pellimo
