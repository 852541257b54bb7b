// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace pellimo {

// Whether a file chosen in a save dialog may be written, checked before anything is written:
// - a symbolic link is never written through, dangling or not (a link planted under the name
//   the program proposes would send the file somewhere the user never chose);
// - a name that is a folder, a device or a FIFO is refused;
// - a folder that is missing or cannot be written is named as such;
// - an existing file is replaced only when `askOverwrite` says yes.
// `refusal` holds the message for the user when the name is refused; it stays empty when the user
// said no.
bool confirmSaveTarget(const QString &path,
                       const std::function<bool(const QString &)> &askOverwrite, QString &refusal);

// The question box "NAME はすでにあります。置き換えますか?" over `parent`.
bool askReplaceFile(QWidget *parent, const QString &path);

} // namespace pellimo
