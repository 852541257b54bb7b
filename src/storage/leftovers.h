// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

namespace pellimo {

// Removes what interrupted saves left in the data folder: the temporary files a save writes
// beside user01.dat ... user05.dat and pellimo.ini before its rename (the file's name, a dot and
// six random letters, such as user01.dat.HnnTMv). Nothing else is touched: not other names, not
// links or folders, and not a suffix that reads as a word ("backup", "Backup", "BACKUP"), which
// may be a copy the user made. Call it with the instance lock held, so that no save of another
// instance is under way. Returns the names removed.
QStringList removeLeftoverSaveFiles(const QString &dataFolder);

// Whether `name` is such a leftover of the data file named `dataFileName`.
bool isLeftoverSaveFile(const QString &name, const QString &dataFileName);

} // namespace pellimo
