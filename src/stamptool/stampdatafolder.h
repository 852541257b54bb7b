// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace pellimo {

// The folder pellimo keeps its data files in, by pellimo's rule: the program folder when it is
// writable or already holds pellimo.ini (portable), otherwise the user's data folder (installed).
// Needs QCoreApplication's application name ("Pellimo") for the second case.
QString stampDataFolder(const QString &programFolder);

} // namespace pellimo
