// SPDX-License-Identifier: MIT
// The entry point of pellimo-pdfdialog.so.

#include "model/warning.h"
#include "pdfdialogmodule.h"
#include "pdfstampdialog.h"

#include <QPointer>

extern "C" Q_DECL_EXPORT void pellimoRunPdfStampDialog(const pellimo::PdfDialogRequest &request,
                                                       QString *saved)
{
    saved->clear();
    // On the heap and watched: closing the window under it deletes it with the window.
    QPointer<pellimo::PdfStampDialog> dialog = new pellimo::PdfStampDialog(
        *request.geometry, request.diameterMm, request.pdf, request.parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    dialog->setSettingsFile(request.settingsFile);
    QString error;
    if (!dialog->load(error)) {
        delete dialog.data();
        pellimo::showWarning(error);
        return;
    }
    const bool accepted = dialog->exec() == QDialog::Accepted;
    if (dialog.isNull())
        return;
    if (accepted)
        *saved = dialog->savedPath();
    delete dialog.data();
}
