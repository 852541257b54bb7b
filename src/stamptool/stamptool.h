// SPDX-License-Identifier: MIT
#pragma once

#include "stampoptions.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

namespace pellimo {

// What pellimo-stamp says besides its final refusal, and what it reads.
struct StampToolIo {
    std::function<void(const QString &)> print; // a line on standard output (--list)
    std::function<void(const QString &)> note;  // a line on standard error (notices, failures)
    // The progress line on standard error; empty clears it. Unset: no progress is shown (standard
    // error is no terminal).
    std::function<void(const QString &)> progress;
    std::function<QStringList()> readNames; // `-`: file names, one a line, on stdin
};

// Runs one pellimo-stamp request against the data files in dataFolder (only read) and writes its
// output. Returns 0, or 1 after putting the reason into `error` (empty when every reason was
// already given through io.note). `now` is the day used without --date and the time of stamping.
int runStampTool(const StampOptions &options, const QString &dataFolder, const QDateTime &now,
                 const StampToolIo &io, QString &error);

} // namespace pellimo
