// SPDX-License-Identifier: MIT
#pragma once

#include "stampoptions.h"

#include <QDateTime>
#include <QString>

namespace pellimo {

// Runs one pellimo-stamp request against the data files in dataFolder (only read) and writes its
// output. Returns 0, or 1 after putting the reason into `error`. `now` is the day used without
// --date.
int runStampTool(const StampOptions &options, const QString &dataFolder, const QDateTime &now,
                 QString &error);

} // namespace pellimo
