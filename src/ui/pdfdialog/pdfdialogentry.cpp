// SPDX-License-Identifier: MIT
// The entry point of pellimo-pdfdialog.so.

#include "model/warning.h"
#include "pdfdialogmodule.h"
#include "pdfstampdialog.h"

extern "C" Q_DECL_EXPORT void pellimoRunPdfStampDialog(const pellimo::StampGeometry &geometry,
                                                       double diameterMm, const QString &pdf,
                                                       QWidget *parent)
{
    pellimo::PdfStampDialog dialog(geometry, diameterMm, pdf, parent);
    QString error;
    if (!dialog.load(error)) {
        pellimo::showWarning(error);
        return;
    }
    dialog.exec();
}
