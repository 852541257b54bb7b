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

// What the dialog is opened with.
struct PdfDialogRequest {
    const StampGeometry *geometry = nullptr;
    double diameterMm = 0;
    QString pdf;
    QString settingsFile; // where the stamp's last places are kept; empty: nowhere
    QWidget *parent = nullptr;
};

// Shows the dialog for the PDF, modal over `parent`; a file that cannot be stamped is reported
// through showWarning. `saved` gets the stamped copy it wrote, or empty.
using RunPdfStampDialog = void (*)(const PdfDialogRequest &request, QString *saved);

inline constexpr char kPdfDialogEntry[] = "pellimoRunPdfStampDialog";
inline QString pdfDialogModuleName()
{
    return QStringLiteral("pellimo-pdfdialog.so");
}

// The dialog from the module in the first of `folders` that holds it (loaded once, kept for the
// rest of the process). Null, with the reason in `error`, when no folder has a module that loads.
RunPdfStampDialog loadPdfStampDialog(const QStringList &folders, QString *error);

} // namespace pellimo
