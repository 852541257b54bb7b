// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace pellimo {

// Every modal message of the program goes through here: title "Pellimo", exclamation icon, one OK
// button, blocking until dismissed. The application installs a message-box handler; tests install
// one that records the text. Without a handler the text goes to stderr.
using WarningHandler = std::function<void(const QString &text)>;

void showWarning(const QString &text);

// Installs a handler and returns the previous one.
WarningHandler setWarningHandler(WarningHandler handler);

// Lines of a message are joined by CR LF, with no break after the last.
QString joinMessageLines(const QStringList &lines);

} // namespace pellimo
