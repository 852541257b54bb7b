// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace pellimo {

struct CommandLine {
    bool noGui = false;
    int16_t user = 0; // 1..kUserCount after "nogui u1".."nogui u5", else 0 (the start-up user)
    // The token after "nogui" as given, when there is one and it names no user (may be empty).
    std::optional<QString> unknownUser;
    friend bool operator==(const CommandLine &, const CommandLine &) = default;
};

// The argument string is lower-cased and split at every single space (empty tokens count).
CommandLine parseCommandLine(const QString &arguments);

// The stderr line for a token after "nogui" that names no user: the start-up user is used.
QString unknownUserNotice(const QString &token, int16_t startUpUser);

// The file to open "PDF に押印…" on, as an absolute path: the one argument of a start in normal
// mode, when it ends in ".pdf" (in any case) or names an existing file (a file manager hands a
// PDF by its name, whatever the name). Empty for every other command line, which keeps its
// meaning. `workingFolder` resolves a relative name.
QString fileToOpen(const QStringList &argumentsAfterProgram, const QString &workingFolder);

// Joins argv[1..] with single spaces into the one argument string.
QString joinArguments(const QStringList &argumentsAfterProgram);

} // namespace pellimo
