// SPDX-License-Identifier: MIT
#pragma once

#include "pdfstamp/pagestamps.h"
#include "signoptions.h"

#include <QDate>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <optional>

namespace pellimo {

// What pellimo-stamp was asked to do: one output (or one copy of each PDF given), the stamp of
// one user for one day.
struct StampOptions {
    enum class Output { None, Png, Svg, Pdf, Onto, List, Certs };
    Output output = Output::None;
    QString file;   // --png, --svg or --pdf FILE; --onto or --list IN.pdf
    QString outPdf; // -o OUT.pdf, with --onto
    // With --outdir: the names after --onto's first one (files, folders, or - for names read
    // from standard input), each stamped into DIR/NAME<suffix>.pdf.
    QStringList moreInputs;
    QString outDir;
    QString suffix = QStringLiteral("-stamped");
    bool flatten = false;
    std::optional<PageChoice> pages; // --pages; unset: --page
    std::optional<PageCorner> corner;
    int user = 0; // 1..kUserCount; 0: the start-up user of pellimo.ini
    std::optional<QDate> date;
    int scale = 1;
    bool transparent = false;
    int page = 1;
    std::optional<QPointF> atMm;
    std::optional<double> sizeMm;
    SignOptions signing;
    bool help = false;

    bool batch() const { return !outDir.isEmpty(); }
};

inline constexpr int kMaxPngScale = 32;
inline constexpr double kMaxStampMm = 500;
inline constexpr double kMaxCornerMm = 100000; // --at: 100 m, far past any page

// Parses the arguments after the program name. On a mistake `error` says what is wrong and the
// options are not to be used.
StampOptions parseStampOptions(const QStringList &arguments, QString &error);

// The text --help prints.
QString stampToolHelp();

} // namespace pellimo
