// SPDX-License-Identifier: MIT
#include "pdfdialogmodule.h"

#include <QDir>
#include <QFile>
#include <dlfcn.h>

namespace pellimo {

RunPdfStampDialog loadPdfStampDialog(const QStringList &folders, QString *error)
{
    static RunPdfStampDialog loaded = nullptr;
    if (loaded)
        return loaded;
    QStringList reasons;
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(pdfDialogModuleName());
        if (!QFile::exists(path))
            continue;
        // RTLD_NOW: a symbol the program does not offer is found missing here, not mid-dialog.
        void *module = ::dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            reasons << QString::fromLocal8Bit(::dlerror());
            continue;
        }
        if (void *entry = ::dlsym(module, kPdfDialogEntry)) {
            loaded = reinterpret_cast<RunPdfStampDialog>(entry);
            return loaded;
        }
        reasons << QString::fromLocal8Bit(::dlerror());
        ::dlclose(module);
    }
    if (error) {
        *error = reasons.isEmpty()
                     ? QStringLiteral(u"PDF を表示する部品 %1 が見つかりません（%2）。")
                           .arg(pdfDialogModuleName(), folders.join(QStringLiteral(", ")))
                     : QStringLiteral(u"PDF を表示する部品 %1 を読み込めません: %2")
                           .arg(pdfDialogModuleName(), reasons.join(QStringLiteral("; ")));
    }
    return nullptr;
}

} // namespace pellimo
