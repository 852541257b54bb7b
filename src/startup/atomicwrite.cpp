#include "atomicwrite.h"

#include "savemessages.h"

#include <QSaveFile>

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

} // namespace pellimo
