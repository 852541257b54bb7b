// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace pellimo {

// Outcome of writing a data file. On failure `error` says which file and why, in words for the
// user.
struct SaveStatus {
    bool ok = true;
    QString error;

    static SaveStatus success() { return {}; }
    static SaveStatus failure(const QString &why) { return {false, why}; }
    explicit operator bool() const { return ok; }
};

} // namespace pellimo
