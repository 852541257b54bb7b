// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

namespace pellimo {

// --help / -h and --version / -v as the first argument: the text to print on stdout before the
// program ends with status 0, without a display and without touching a file. Nothing for any
// other command line, these words after "nogui" included: that goes to the start-up sequence.
std::optional<QString> commandLineInformation(int argc, char **argv);

} // namespace pellimo
