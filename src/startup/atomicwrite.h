#pragma once

#include "savestatus.h"

#include <QByteArray>
#include <QString>

namespace pellimo {

// Replaces the file at `path` by `content` through a temporary file and a rename, so that a failure
// at any point (a missing folder, a full disk) leaves the previous file whole. The status names
// the file and the reason.
SaveStatus writeFileAtomically(const QString &path, const QByteArray &content);

} // namespace pellimo
