// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace pellimo {

// The program's message box: title "Pellimo", exclamation icon, one OK button; returns when the
// user has dismissed it. Needs a QApplication.
void showMessageBox(const QString &text);

// Makes showMessageBox the handler of every warning. Each warning is also written to stderr
// ("Pellimo: " and the text, one output line per message line), so that a script that runs
// `pellimo nogui` sees why it failed.
void installMessageBoxWarningHandler();

} // namespace pellimo
