// SPDX-License-Identifier: MIT
#pragma once

// pellimo-stamp --onto A.pdf B.pdf ... --outdir DIR: many files stamped in one run, spread over
// the machine's cores.

#include "pdfstamp/pagestamps.h"
#include "stampoptions.h"
#include "stamptool.h"

#include <QStringList>

namespace pellimo {

// The place the options ask for, on the pages they name.
PdfStampPlan stampPlan(const StampOptions &o, double diameterMm);

// --flatten on one file, placed from the corner the options name.
PdfResult flattenOne(const StampOptions &o, const QString &in, const QString &out,
                     const StampGeometry &geometry, double diameterMm);

// The files the names stand for, in order: a folder gives its *.pdf files (by name), "-" the
// names `readNames` gives, any other name itself.
QStringList expandInputs(const QStringList &names, const std::function<QStringList()> &readNames);

// The copy of `in` in `outDir`: NAME<suffix>.pdf, NAME being in's file name without ".pdf".
QString batchOutputName(const QString &in, const QString &outDir, const QString &suffix);

// Stamps every input of the options into their --outdir, each as one --onto would, and says on
// io.note what failed, then a summary line. 0 when every file was stamped.
int runStampBatch(const StampOptions &o, const StampGeometry &geometry, double diameterMm,
                  const PdfStampRecord &record, const StampToolIo &io, QString &error);

} // namespace pellimo
