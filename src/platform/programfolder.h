// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace pellimo {

// The folder that holds the running executable, as an absolute path without a trailing
// separator. Works before any QCoreApplication exists (it reads /proc/self/exe).
QString programFolder();

} // namespace pellimo
