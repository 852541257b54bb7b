// SPDX-License-Identifier: MIT
#pragma once

#include "signoptions.h"

#include <QDate>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <optional>

namespace pellimo {

// What pellimo-stamp was asked to do: one output, the stamp of one user for one day.
struct StampOptions {
    enum class Output { None, Png, Svg, Pdf, Onto, Certs };
    Output output = Output::None;
    QString file;   // --png, --svg or --pdf FILE; --onto IN.pdf
    QString outPdf; // -o OUT.pdf, with --onto
    int user = 0;   // 1..kUserCount; 0: the start-up user of pellimo.ini
    std::optional<QDate> date;
    int scale = 1;
    bool transparent = false;
    int page = 1;
    std::optional<QPointF> atMm;
    std::optional<double> sizeMm;
    SignOptions signing;
    bool help = false;
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
