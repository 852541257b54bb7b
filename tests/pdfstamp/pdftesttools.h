// SPDX-License-Identifier: MIT
#pragma once

// What the PDF tests share: running the tools of other projects (qpdf, pdftoppm, mutool,
// pdftotext, pikepdf), PDFs written by hand object by object, and the stamp they put on them.

#include "render/stampgeometry.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

namespace pellimo::testing {

struct Ran {
    int status = -1; // -1: did not start, or crashed
    QString out;
    QString err;
};

// Runs a program to its end (at most three minutes).
Ran run(const QString &program, const QStringList &args, const QString &folder = {});

// Runs Debian's Python with pikepdf: `script` gets `args` as sys.argv[1:].
Ran pikepdf(const QString &script, const QStringList &args);

enum class Renderer { Poppler, Mupdf };
QString rendererName(Renderer renderer);
// One page as pdftoppm or mutool draw shows it; null when the tool failed.
QImage renderPage(Renderer renderer, const QString &pdf, int page, int dpi);
// The text pdftotext finds on one page.
QString pageText(const QString &pdf, int page);

// A PDF of A4 pages written by QPdfWriter: a grey grid every 10 mm, a frame, a line of text
// naming the page.
bool writeQtPdf(const QString &path, int pages);

// A PDF of the given objects (numbered from 1), with a cross-reference table and a trailer whose
// /Root is object 1 plus `trailerExtra`.
QByteArray handmadePdf(const QList<QByteArray> &objects, const QByteArray &trailerExtra = {});
// A hybrid-reference file (one page): the page lives in an object stream that only the
// cross-reference stream named by the table's /XRefStm lists, as files written for old readers
// and new ones alike do.
QByteArray hybridPdf();
// A content stream object.
QByteArray contentObject(const QByteArray &content);
// Content that draws a grey frame, a filled square and a line of text in /F1.
QByteArray sampleContent(double width, double height);

bool writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);

// The stamp the tests put on pages: the default design with the given date line.
StampGeometry testStamp(const QString &dateText);

// Whether a pixel is the stamp's red.
bool isRed(QRgb pixel);
// The bounding box of the pixels that differ between two pictures of one size and are red in
// `after`, and the number of differing pixels outside `allowed`.
QRect changedRed(const QImage &before, const QImage &after, const QRect &allowed, int &outside);
// The red pixels inside `r`, as a white picture with black ink.
QImage redMask(const QImage &page, const QRect &r);
// Ink of one mask with no ink of the other within one pixel, both ways.
int mismatches(const QImage &a, const QImage &b);
int inkCount(const QImage &mask);

} // namespace pellimo::testing
