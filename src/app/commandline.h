// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace pellimo {

struct CommandLine {
    bool noGui = false;
    int16_t user = 0; // 1..5 when "nogui" is followed by u1..u5, else 0 (the start-up user)
    friend bool operator==(const CommandLine &, const CommandLine &) = default;
};

// The argument string is lower-cased and split at every single space (empty tokens count).
CommandLine parseCommandLine(const QString &arguments);

// Joins argv[1..] with single spaces into the one argument string.
QString joinArguments(const QStringList &argumentsAfterProgram);

} // namespace pellimo
