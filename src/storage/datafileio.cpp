// SPDX-License-Identifier: MIT
#include "datafileio.h"

#include "savemessages.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>

namespace pellimo {

SaveStatus writeFileAtomically(const QString &path, const QByteArray &content)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return SaveStatus::failure(writeFailureText(path, file.errorString()));
    // The buffer is flushed and checked here: commit() only sees errors of the write calls, and a
    // small file sits in the buffer until the flush, so a full disk would otherwise slip through
    // and the rename would put a cut-off file in place of the old one.
    if (file.write(content) != content.size() || !file.flush()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return SaveStatus::failure(writeFailureText(path, why));
    }
    if (!file.commit())
        return SaveStatus::failure(writeFailureText(path, file.errorString()));
    return SaveStatus::success();
}

QByteArray readFileStart(const QString &path, qsizetype limit, bool *readable)
{
    QFile file(path);
    QByteArray bytes;
    bool ok = file.open(QIODevice::ReadOnly);
    while (ok && bytes.size() <= limit) {
        const QByteArray chunk =
            file.read(std::min<qsizetype>(64 * 1024, limit + 1 - bytes.size()));
        if (chunk.isEmpty()) {
            ok = file.error() == QFile::NoError;
            break;
        }
        bytes += chunk;
    }
    if (readable)
        *readable = ok;
    return ok ? bytes : QByteArray();
}

} // namespace pellimo
