// SPDX-License-Identifier: MIT
#pragma once

// Running pellimo-stamp and the PDF tools of other projects (qpdf, pdftoppm, pdftotext,
// rsvg-convert) from the tests.

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>

namespace pellimo::testing {

struct Ran {
    int status = -1; // -1: did not start or crashed
    QString out;
    QString err;
    QByteArray outBytes; // stdout as written
};

// Runs a program to its end (at most a minute); `inChild` runs in the child before the program
// starts (limits, signals).
Ran run(const QString &program, const QStringList &args, const QString &folder = {},
        const std::function<void()> &inChild = {});

// Copies the built pellimo-stamp into the folder, which becomes its program folder; returns its
// path.
QString installTool(const QString &folder);

// One page of a PDF as pdftoppm draws it, at `dpi`; null when pdftoppm failed.
QImage renderPage(const QString &pdf, int page, int dpi);

// Runs a Python script with Debian's own interpreter, which has pikepdf; `args` become
// sys.argv[1:].
Ran python(const QString &script, const QStringList &args);

// The text pdftotext finds on one page.
QString pageText(const QString &pdf, int page);

// A PDF of A4 pages, each with a grey grid every 10 mm, a frame and a line of text naming the
// page, written with QPdfWriter. Returns false when it could not be written.
bool writeFormPdf(const QString &path, int pages);

} // namespace pellimo::testing
