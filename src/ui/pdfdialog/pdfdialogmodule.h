// SPDX-License-Identifier: MIT
#pragma once

// "PDF に押印" lives in a module of its own, pellimo-pdfdialog.so, loaded the first time the user
// asks for it: linked into the program, Poppler and qpdf with the libraries they pull in would
// cost every start of pellimo several milliseconds before main. The module takes the drawing, the
// data model and the warnings from the program (which exports its symbols), so there is one copy
// of each.

#include <QString>
#include <QStringList>

class QWidget;

namespace pellimo {

struct StampGeometry;

// Shows the dialog for the PDF, modal over `parent`; a file that cannot be stamped is reported
// through showWarning.
using RunPdfStampDialog = void (*)(const StampGeometry &geometry, double diameterMm,
                                   const QString &pdf, QWidget *parent);

inline constexpr char kPdfDialogEntry[] = "pellimoRunPdfStampDialog";
inline QString pdfDialogModuleName()
{
    return QStringLiteral("pellimo-pdfdialog.so");
}

// The dialog from the module in the first of `folders` that holds it (loaded once, kept for the
// rest of the process). Null, with the reason in `error`, when no folder has a module that loads.
RunPdfStampDialog loadPdfStampDialog(const QStringList &folders, QString *error);

} // namespace pellimo
