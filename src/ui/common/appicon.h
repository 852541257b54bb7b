// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>

namespace pellimo {

// Pellimo's icon (packaging/pellimo.svg) in the hicolor sizes 16 to 256, drawn at build time and
// built into the program, so that a portable folder shows it as well as the package.
QIcon appIcon();

} // namespace pellimo
