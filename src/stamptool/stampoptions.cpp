// SPDX-License-Identifier: MIT
#include "stampoptions.h"

#include <QLocale>
#include <cmath>

namespace pellimo {

namespace {

bool parseNumber(const QString &text, double &value)
{
    bool ok = false;
    value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(value);
}

bool parseInt(const QString &text, int &value)
{
    bool ok = false;
    value = QLocale::c().toInt(text.trimmed(), &ok);
    return ok;
}

} // namespace

StampOptions parseStampOptions(const QStringList &args, QString &error)
{
    StampOptions o;
    error.clear();
    bool anyPngOnly = false, anyOntoOnly = false;
    auto setOutput = [&](StampOptions::Output output, const QString &file) {
        if (o.output != StampOptions::Output::None) {
            error = QStringLiteral("give only one of --png, --svg, --pdf and --onto");
            return;
        }
        o.output = output;
        o.file = file;
    };

    for (qsizetype i = 0; i < args.size() && error.isEmpty(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QStringLiteral("--help") || arg == QStringLiteral("-h")) {
            o.help = true;
            return o;
        }
        if (arg == QStringLiteral("--transparent")) {
            o.transparent = anyPngOnly = true;
            continue;
        }
        static const QStringList withValue = {
            QStringLiteral("--user"),  QStringLiteral("--date"), QStringLiteral("--png"),
            QStringLiteral("--scale"), QStringLiteral("--svg"),  QStringLiteral("--pdf"),
            QStringLiteral("--onto"),  QStringLiteral("--page"), QStringLiteral("--at"),
            QStringLiteral("--size"),  QStringLiteral("-o"),     QStringLiteral("--output")};
        if (!withValue.contains(arg)) {
            error = QStringLiteral("unknown argument: %1").arg(arg);
            break;
        }
        if (i + 1 >= args.size() || args.at(i + 1).isEmpty()) {
            error = QStringLiteral("%1 needs a value").arg(arg);
            break;
        }
        const QString value = args.at(++i);
        if (arg == QStringLiteral("--user")) {
            if (!parseInt(value, o.user) || o.user < 1 || o.user > 5)
                error = QStringLiteral("--user takes 1 to 5, not %1").arg(value);
        } else if (arg == QStringLiteral("--date")) {
            const QDate d = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
            if (!d.isValid())
                error = QStringLiteral("--date takes a day as YYYY-MM-DD, not %1").arg(value);
            o.date = d;
        } else if (arg == QStringLiteral("--png")) {
            setOutput(StampOptions::Output::Png, value);
        } else if (arg == QStringLiteral("--svg")) {
            setOutput(StampOptions::Output::Svg, value);
        } else if (arg == QStringLiteral("--pdf")) {
            setOutput(StampOptions::Output::Pdf, value);
        } else if (arg == QStringLiteral("--onto")) {
            setOutput(StampOptions::Output::Onto, value);
        } else if (arg == QStringLiteral("--scale")) {
            anyPngOnly = true;
            if (!parseInt(value, o.scale) || o.scale < 1 || o.scale > kMaxPngScale)
                error =
                    QStringLiteral("--scale takes 1 to %1, not %2").arg(kMaxPngScale).arg(value);
        } else if (arg == QStringLiteral("--page")) {
            anyOntoOnly = true;
            if (!parseInt(value, o.page) || o.page < 1)
                error = QStringLiteral("--page takes a page number from 1, not %1").arg(value);
        } else if (arg == QStringLiteral("--at")) {
            anyOntoOnly = true;
            const QStringList xy = value.split(QLatin1Char(','));
            double x = 0, y = 0;
            if (xy.size() != 2 || !parseNumber(xy[0], x) || !parseNumber(xy[1], y) || x < 0 ||
                y < 0)
                error =
                    QStringLiteral("--at takes X,Y in millimetres (0 or more), not %1").arg(value);
            o.atMm = QPointF(x, y);
        } else if (arg == QStringLiteral("--size")) {
            double mm = 0;
            if (!parseNumber(value, mm) || mm <= 0 || mm > kMaxStampMm)
                error = QStringLiteral("--size takes a diameter in millimetres, more than 0 and "
                                       "at most %1, not %2")
                            .arg(kMaxStampMm)
                            .arg(value);
            o.sizeMm = mm;
        } else { // -o, --output
            anyOntoOnly = true;
            o.outPdf = value;
        }
    }
    if (!error.isEmpty())
        return o;

    using Output = StampOptions::Output;
    if (o.output == Output::None)
        error = QStringLiteral("nothing to do: give --png, --svg, --pdf or --onto (see --help)");
    else if (o.output == Output::Onto && o.outPdf.isEmpty())
        error = QStringLiteral("--onto needs -o OUT.pdf");
    else if (o.output != Output::Onto && anyOntoOnly)
        error = QStringLiteral("--page, --at and -o go with --onto");
    else if (o.output != Output::Png && anyPngOnly)
        error = QStringLiteral("--scale and --transparent go with --png");
    else if (o.output == Output::Png && o.sizeMm)
        error = QStringLiteral("--size does not go with --png; use --scale");
    return o;
}

QString stampToolHelp()
{
    return QStringLiteral(
        u"Usage:\n"
        u"  pellimo-stamp [--user N] [--date YYYY-MM-DD] --png FILE [--scale K] [--transparent]\n"
        u"  pellimo-stamp [--user N] [--date YYYY-MM-DD] --svg FILE [--size MM]\n"
        u"  pellimo-stamp [--user N] [--date YYYY-MM-DD] --pdf FILE [--size MM]\n"
        u"  pellimo-stamp [--user N] [--date YYYY-MM-DD] --onto IN.pdf [--page P] [--at X,Y]\n"
        u"                [--size MM] -o OUT.pdf\n"
        u"\n"
        u"Draws a user's date stamp into a file, or onto a page of a PDF file. Needs no display\n"
        u"and never touches the clipboard.\n"
        u"\n"
        u"  --user N          the stamp of user N (1 to 5); default: the start-up user\n"
        u"  --date YYYY-MM-DD the day in the date line, formatted by the user's date pattern;\n"
        u"                    default: today\n"
        u"  --png FILE        a PNG picture: the stamp as Set puts it on the clipboard\n"
        u"  --scale K         the PNG K times as large (1 to 32), drawn smooth\n"
        u"  --transparent     the PNG without its white background\n"
        u"  --svg FILE        an SVG picture; texts stay text, no background\n"
        u"  --pdf FILE        a one-page PDF file holding the stamp; texts stay text\n"
        u"  --onto IN.pdf     stamp a copy of IN.pdf (IN.pdf itself is never changed)\n"
        u"  --page P          the page to stamp, from 1; default: 1\n"
        u"  --at X,Y          the top-left corner of the stamp's square, in millimetres from the\n"
        u"                    top-left corner of the page as a viewer shows it;\n"
        u"                    default: the top-right corner, 15 mm from the top and right edges\n"
        u"  --size MM         the diameter of the stamp's circle in millimetres; default: its\n"
        u"                    size on a 96-dpi screen (radius 35 pixels: 18.5 mm)\n"
        u"  -o, --output OUT.pdf  the stamped copy; written whole or not at all\n"
        u"  -h, --help        this text\n"
        u"\n"
        u"The stamp and the date pattern are read from Pellimo's data folder (the program folder\n"
        u"when it is writable or holds pellimo.ini, otherwise the user's data folder); nothing is\n"
        u"written there. An encrypted or damaged PDF, a page that does not exist, a stamp that "
        u"does\n"
        u"not fit on the page, or OUT.pdf equal to IN.pdf is refused with status 1 and no file is\n"
        u"written. Exit status: 0 done, 1 refused or failed.\n");
}

} // namespace pellimo
