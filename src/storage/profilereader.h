// SPDX-License-Identifier: MIT
#pragma once

#include "model/stampprofile.h"

#include <QByteArray>

namespace pellimo {

// The reader looks at no more than this many bytes of a profile file.
inline constexpr qsizetype kProfileReadLimit = 16 * 1024 * 1024;

// Reads the 33 fields of a profile file's bytes into the profile, in five steps (line 1, then each
// item). A step stores its fields only when all of them converted, so on failure the profile holds
// the steps before the failing one and nothing of that step. `complete` is false when the bytes
// are only the start of a longer file: a field that runs into their end is then a failure.
// Returns false on the first field that is missing or does not convert.
bool readProfileFields(const QByteArray &bytes, bool complete, StampProfile &profile);

} // namespace pellimo
