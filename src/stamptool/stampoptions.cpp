// SPDX-License-Identifier: MIT
#include "stampoptions.h"

#include "model/appsettings.h"
#include "pdfstamp/pdfstamp.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHash>
#include <QLocale>
#include <climits>
#include <cmath>
#include <functional>
#include <vector>

namespace pellimo {

namespace {

using Output = StampOptions::Output;
using Apply = std::function<QString(StampOptions &, const QString &value)>;

// The outputs an option belongs to.
enum class GoesWith { Any, Png, Onto };

// One option: its names (short and long, comma-separated), the name of its value (empty for a
// switch), the outputs it goes with, how its value goes into the options (giving back what is
// wrong with it), and its line in --help (a "\n" continues it on the next line). A new option is
// one more row of optionTable().
struct OptionEntry {
    QStringList names;
    QString valueName;
    GoesWith goesWith;
    Apply apply;
    QString description;
};

QString dashed(const QString &name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

bool parseNumber(const QString &text, double &value)
{
    bool ok = false;
    value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(value);
}

// A whole number from `minimum` to `maximum` into `field`; `refusal` names what it takes.
Apply wholeNumber(int StampOptions::*field, int minimum, int maximum, const QString &refusal)
{
    return [=](StampOptions &o, const QString &v) {
        bool ok = false;
        o.*field = QLocale::c().toInt(v.trimmed(), &ok);
        return ok && o.*field >= minimum && o.*field <= maximum ? QString() : refusal.arg(v);
    };
}

// --png, --svg, --pdf, --onto and --list: the one output, and the file it names.
Apply output(Output kind)
{
    return [kind](StampOptions &o, const QString &file) {
        if (o.output == Output::List || (o.output != Output::None && kind == Output::List))
            return QCoreApplication::translate(
                "pellimo", "give only one of --png, --svg, --pdf, --onto and --list");
        if (o.output != Output::None)
            return QCoreApplication::translate("pellimo",
                                               "give only one of --png, --svg, --pdf and --onto");
        o.output = kind;
        o.file = file;
        return QString();
    };
}

Apply flag(bool StampOptions::*field)
{
    return [field](StampOptions &o, const QString &) {
        o.*field = true;
        return QString();
    };
}

QString takeDate(StampOptions &o, const QString &v)
{
    o.date = QDate::fromString(v, QStringLiteral("yyyy-MM-dd"));
    return o.date->isValid()
               ? QString()
               : QCoreApplication::translate("pellimo", "--date takes a day as YYYY-MM-DD, not %1")
                     .arg(v);
}

QString takeCorner(StampOptions &o, const QString &v)
{
    const QStringList xy = v.split(QLatin1Char(','));
    double x = 0, y = 0;
    if (xy.size() != 2 || !parseNumber(xy[0], x) || !parseNumber(xy[1], y) || x < 0 || y < 0 ||
        x > kMaxCornerMm || y > kMaxCornerMm)
        return QCoreApplication::translate("pellimo",
                                           "--at takes X,Y in millimetres (0 to %1), not %2")
            .arg(kMaxCornerMm)
            .arg(v);
    o.atMm = QPointF(x, y);
    return QString();
}

QString takeSize(StampOptions &o, const QString &v)
{
    double mm = 0;
    // Below the smallest size the texts cannot be read, and far below it nothing is drawn.
    if (!parseNumber(v, mm) || mm < kMinStampDiameterMm || mm > kMaxStampMm)
        return QCoreApplication::translate(
                   "pellimo", "--size takes a diameter in millimetres from %1 to %2, not %3")
            .arg(kMinStampDiameterMm)
            .arg(kMaxStampMm)
            .arg(v);
    o.sizeMm = mm;
    return QString();
}

QString takeOutput(StampOptions &o, const QString &v)
{
    o.outPdf = v;
    return QString();
}

QString takeOutDir(StampOptions &o, const QString &v)
{
    o.outDir = v;
    return QString();
}

QString takeSuffix(StampOptions &o, const QString &v)
{
    if (v.contains(QLatin1Char('/')) || v.contains(QChar(0)))
        return QCoreApplication::translate(
                   "pellimo", "--suffix takes a part of a file name, without /, not %1")
            .arg(v);
    o.suffix = v;
    return QString();
}

QString takePages(StampOptions &o, const QString &v)
{
    o.pages = parsePageChoice(v);
    return o.pages ? QString()
                   : QCoreApplication::translate(
                         "pellimo",
                         "--pages takes first, last, all or page numbers such as 1,3-5, not %1")
                         .arg(v);
}

QString takeCornerName(StampOptions &o, const QString &v)
{
    o.corner = pageCornerNamed(v);
    return o.corner ? QString()
                    : QCoreApplication::translate(
                          "pellimo",
                          "--corner takes top-left, top-right, bottom-left or bottom-right, not %1")
                          .arg(v);
}

const std::vector<OptionEntry> &optionTable()
{
    const auto row = [](const char *names, const char *valueName, GoesWith goesWith, Apply apply,
                        const QString &description) {
        return OptionEntry{QString::fromLatin1(names).split(u','), QString::fromLatin1(valueName),
                           goesWith, std::move(apply), description};
    };
    using enum GoesWith;
    static const std::vector<OptionEntry> table = {
        row("user", "N", Any,
            wholeNumber(&StampOptions::user, 1, kUserCount,
                        QCoreApplication::translate("pellimo", "--user takes 1 to %1, not %2")
                            .arg(kUserCount)),
            QCoreApplication::translate("pellimo",
                                        "the stamp of user N (1 to %1); default: the start-up user")
                .arg(kUserCount)),
        row("date", "YYYY-MM-DD", Any, takeDate,
            QCoreApplication::translate(
                "pellimo", "the day in the date line, formatted by the user's date pattern;\n"
                           "default: today")),
        row("png", "FILE", Any, output(Output::Png),
            QCoreApplication::translate(
                "pellimo", "a PNG picture: the stamp as Set puts it on the clipboard")),
        row("scale", "K", Png,
            wholeNumber(&StampOptions::scale, 1, kMaxPngScale,
                        QCoreApplication::translate("pellimo", "--scale takes 1 to %1, not %2")
                            .arg(kMaxPngScale)),
            QCoreApplication::translate("pellimo",
                                        "the PNG K times as large (1 to %1), drawn smooth")
                .arg(kMaxPngScale)),
        row("transparent", "", Png, flag(&StampOptions::transparent),
            QCoreApplication::translate("pellimo", "the PNG without its white background")),
        row("svg", "FILE", Any, output(Output::Svg),
            QCoreApplication::translate("pellimo",
                                        "an SVG picture; texts stay text, no background")),
        row("pdf", "FILE", Any, output(Output::Pdf),
            QCoreApplication::translate("pellimo",
                                        "a one-page PDF file holding the stamp; texts stay text")),
        row("onto", "IN.pdf", Any, output(Output::Onto),
            QCoreApplication::translate(
                "pellimo", "stamp a copy of IN.pdf (IN.pdf itself is never changed): a stamp\n"
                           "annotation added as an incremental update, the file's bytes kept")),
        row("page", "P", Onto,
            wholeNumber(&StampOptions::page, 1, INT_MAX,
                        QCoreApplication::translate("pellimo",
                                                    "--page takes a page number from 1, not %1")),
            QCoreApplication::translate("pellimo", "the page to stamp, from 1; default: 1")),
        row("pages", "WHICH", Onto, takePages,
            QCoreApplication::translate(
                "pellimo", "the pages to stamp: first, last, all, or numbers such as 1,3-5;\n"
                           "one annotation on each, all in one update")),
        row("at", "X,Y", Onto, takeCorner,
            QCoreApplication::translate(
                "pellimo", "the top-left corner of the stamp's square, in millimetres from the\n"
                           "top-left corner of the page as a viewer shows it;\n"
                           "default: the top-right corner, 15 mm from the top and right edges")),
        row("corner", "CORNER", Onto, takeCornerName,
            QCoreApplication::translate(
                "pellimo", "top-left, top-right, bottom-left or bottom-right: --at measures\n"
                           "from this corner of the page to the same corner of the stamp's\n"
                           "square, on portrait and landscape pages alike; default: top-left\n"
                           "with --at, else 15 mm from the top and right edges")),
        row("size", "MM", Any, takeSize,
            QCoreApplication::translate(
                "pellimo", "the diameter of the stamp's circle in millimetres, %1 to %2 (under\n"
                           "%1 mm its texts cannot be read); default: its size on a 96-dpi\n"
                           "screen (radius 35 pixels: 18.5 mm)")
                .arg(kMinStampDiameterMm)
                .arg(kMaxStampMm)),
        row("o,output", "OUT.pdf", Onto, takeOutput,
            QCoreApplication::translate("pellimo",
                                        "the stamped copy; written whole or not at all")),
        row("sign", "", Onto, takeSign,
            QCoreApplication::translate(
                "pellimo", "sign the stamped copy: the stamp becomes the visible mark of a\n"
                           "digital signature made with a certificate of the NSS database")),
        row("cert", "NAME", Any, takeCert,
            QCoreApplication::translate(
                "pellimo", "with --sign: the certificate, by nickname or subject common name;\n"
                           "default: the only one in the database")),
        row("nssdb", "DIR", Any, takeNssdb,
            QCoreApplication::translate(
                "pellimo", "with --sign or --certs: the NSS database; default: ~/.pki/nssdb")),
        row("password-file", "FILE", Any, takePasswordFile,
            QCoreApplication::translate(
                "pellimo", "with --sign: the key's password is the file's first line; default:\n"
                           "asked on the terminal (three tries), never taken as an argument")),
        row("certs", "", Any, takeCerts,
            QCoreApplication::translate(
                "pellimo", "list the certificates that can sign: nickname, subject, issuer,\n"
                           "valid until")),
        row("outdir", "DIR", Onto, takeOutDir,
            QCoreApplication::translate(
                "pellimo", "stamp many files: --onto A.pdf B.pdf ... (a folder: its *.pdf files;\n"
                           "-: names read from standard input, one a line), each copy written\n"
                           "to DIR as NAME-stamped.pdf")),
        row("suffix", "SUF", Onto, takeSuffix,
            QCoreApplication::translate(
                "pellimo", "with --outdir: the copies are named NAME<SUF>.pdf; default: -stamped")),
        row("flatten", "", Onto, flag(&StampOptions::flatten),
            QCoreApplication::translate(
                "pellimo", "draw the stamp into the page's content and rewrite the file instead\n"
                           "of adding an annotation: it cannot be moved or removed, and a\n"
                           "signed IN.pdf is refused")),
        row("list", "IN.pdf", Any, output(Output::List),
            QCoreApplication::translate(
                "pellimo", "print one line for each stamp annotation in IN.pdf: page, place\n"
                           "and size in mm, date, who, when, and whether Pellimo added it")),
        row("h,help", "", Any, flag(&StampOptions::help),
            QCoreApplication::translate("pellimo", "this text")),
    };
    return table;
}

const OptionEntry *entryNamed(const QString &name)
{
    for (const OptionEntry &entry : optionTable())
        if (entry.names.contains(name))
            return &entry;
    return nullptr;
}

// "--page, --at and -o": the options that go only with `goesWith`.
QString optionsGoingWith(GoesWith goesWith)
{
    QStringList names;
    for (const OptionEntry &entry : optionTable())
        if (entry.goesWith == goesWith)
            names << dashed(entry.names.constFirst());
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

// What the parser could not take, in this program's words.
QString parseError(const QCommandLineParser &parser, const QStringList &arguments)
{
    if (!parser.unknownOptionNames().isEmpty())
        return QCoreApplication::translate("pellimo", "unknown argument: %1")
            .arg(dashed(parser.unknownOptionNames().constFirst()));
    // The parser takes the next argument as an option's value, whatever it is: only an option at
    // the end can lack its value.
    const QString last = arguments.isEmpty() ? QString() : arguments.constLast();
    const OptionEntry *entry = entryNamed(last.mid(last.startsWith(QStringLiteral("--")) ? 2 : 1));
    if (last.startsWith(QLatin1Char('-')) && entry && !entry->valueName.isEmpty())
        return QCoreApplication::translate("pellimo", "%1 needs a value").arg(last);
    return parser.errorText(); // "Unexpected value after '--transparent'."
}

} // namespace

StampOptions parseStampOptions(const QStringList &arguments, QString &error)
{
    StampOptions o;
    QCommandLineParser parser;
    for (const OptionEntry &entry : optionTable())
        parser.addOption(QCommandLineOption(entry.names, entry.description, entry.valueName));
    if (!parser.parse(QStringList{QStringLiteral("pellimo-stamp")} + arguments)) {
        error = parseError(parser, arguments);
        return o;
    }
    // In the order given, so that the first mistake is the one named; a repeated option's values
    // in their order.
    error.clear();
    QHash<const OptionEntry *, qsizetype> used;
    bool anyPngOnly = false, anyOntoOnly = false;
    QStringList others; // the options given beside --list
    for (const QString &name : parser.optionNames()) {
        const OptionEntry &entry = *entryNamed(name);
        const bool takesValue = !entry.valueName.isEmpty();
        const QString value = takesValue ? parser.values(name).at(used[&entry]++) : QString();
        if (used[&entry] > 1) // the last one silently winning would hide a mistake
            error = QCoreApplication::translate("pellimo", "give %1 only once").arg(dashed(name));
        else if (takesValue && value.isEmpty())
            error = QCoreApplication::translate("pellimo", "%1 needs a value").arg(dashed(name));
        else
            error = entry.apply(o, value);
        if (!error.isEmpty() || o.help)
            return o;
        anyPngOnly |= entry.goesWith == GoesWith::Png;
        anyOntoOnly |= entry.goesWith == GoesWith::Onto;
        if (entry.names.constFirst() != QStringLiteral("list"))
            others << dashed(name);
    }
    // With --outdir the names after --onto's first one are further inputs.
    if (o.output == Output::Onto && o.batch())
        o.moreInputs = parser.positionalArguments();
    if (o.output == Output::List && !others.isEmpty())
        error = QCoreApplication::translate("pellimo", "--list takes no other options (%1)")
                    .arg(others.join(QStringLiteral(", ")));
    else if (o.output == Output::Onto && o.batch() && !o.outPdf.isEmpty())
        error = QCoreApplication::translate(
            "pellimo", "give -o OUT.pdf for one file or --outdir DIR for many, not both");
    else if (o.output == Output::Onto && o.pages &&
             used.contains(entryNamed(QStringLiteral("page"))))
        error = QCoreApplication::translate("pellimo", "give --page or --pages, not both");
    else if (o.output == Output::Onto && o.flatten && o.pages)
        error = QCoreApplication::translate(
            "pellimo", "--flatten stamps one page: give --page P, not --pages");
    else if (o.output == Output::Onto && !o.batch() &&
             used.contains(entryNamed(QStringLiteral("suffix"))))
        error = QCoreApplication::translate("pellimo", "--suffix goes with --outdir");
    if (!error.isEmpty())
        return o;
    if (!o.batch() && !parser.positionalArguments().isEmpty())
        error = QCoreApplication::translate("pellimo", "unknown argument: %1")
                    .arg(parser.positionalArguments().constFirst());
    else if (o.output == Output::None)
        error = QCoreApplication::translate(
            "pellimo", "nothing to do: give --png, --svg, --pdf or --onto (see --help)");
    else if (const QString signing = checkSignOptions(o); !signing.isEmpty())
        error = signing;
    else if (o.output == Output::Onto && o.signing.sign && (o.batch() || o.pages || o.flatten))
        error = QCoreApplication::translate(
            "pellimo",
            "--sign stamps one page of one file: not with --outdir, --pages or --flatten");
    else if (o.output == Output::Onto && o.outPdf.isEmpty() && !o.batch())
        error = QCoreApplication::translate("pellimo", "--onto needs -o OUT.pdf");
    else if (o.output != Output::Onto && anyOntoOnly)
        error = QCoreApplication::translate("pellimo", "%1 go with --onto")
                    .arg(optionsGoingWith(GoesWith::Onto));
    else if (o.output != Output::Png && anyPngOnly)
        error = QCoreApplication::translate("pellimo", "%1 go with --png")
                    .arg(optionsGoingWith(GoesWith::Png));
    else if (o.output == Output::Png && o.sizeMm)
        error =
            QCoreApplication::translate("pellimo", "--size does not go with --png; use --scale");
    return o;
}

QString stampToolHelp()
{
    constexpr qsizetype kColumn = 20; // where the descriptions start
    QString options;
    for (const OptionEntry &entry : optionTable()) {
        QStringList names;
        for (const QString &name : entry.names)
            names << dashed(name);
        QString line = QStringLiteral("  ") + names.join(QStringLiteral(", "));
        if (!entry.valueName.isEmpty())
            line += u' ' + entry.valueName;
        line += line.size() < kColumn ? QString(kColumn - line.size(), u' ') : QStringLiteral("  ");
        options += line +
                   QString(entry.description).replace(u'\n', u'\n' + QString(kColumn, u' ')) +
                   u'\n';
    }
    return QCoreApplication::translate("pellimo", R"(Usage:
  pellimo-stamp [--user N] [--date YYYY-MM-DD] --png FILE [--scale K] [--transparent]
  pellimo-stamp [--user N] [--date YYYY-MM-DD] --svg FILE [--size MM]
  pellimo-stamp [--user N] [--date YYYY-MM-DD] --pdf FILE [--size MM]
  pellimo-stamp [--user N] [--date YYYY-MM-DD] --onto IN.pdf [--page P | --pages WHICH]
                [--corner CORNER] [--at X,Y] [--size MM] [--flatten] -o OUT.pdf
  pellimo-stamp [options as above] --onto IN.pdf [--page P] --sign [--cert NAME]
                [--nssdb DIR] [--password-file FILE] -o OUT.pdf
  pellimo-stamp --certs [--nssdb DIR]
  pellimo-stamp [options as above] --onto IN.pdf|DIR|- [IN2.pdf ...] --outdir DIR
                [--suffix SUF]
  pellimo-stamp --list IN.pdf

Draws a user's date stamp into a file, or onto a page of a PDF file. Needs no display
and never touches the clipboard.

)") + options +
           QCoreApplication::translate("pellimo", R"(
The stamp and the date pattern are read from Pellimo's data folder (the program folder
when it is writable or holds pellimo.ini, otherwise the user's data folder); nothing is
written there. The stamp is at least %1 mm across.

--onto copies IN.pdf byte for byte and appends one incremental update holding a Stamp
annotation (/Subtype /Stamp): a viewer shows and prints it, can move or delete it, and
reads who stamped (the stamp's name row, or the user's name when that row is empty), the
date line, the user number and the time of stamping. A signature already in IN.pdf stays
valid. --flatten draws the stamp into the page instead and rewrites the file; it refuses a
signed IN.pdf, naming the signature that would break.

A damaged PDF that can be repaired (a wrong cross-reference, a cut-off end) is stamped as a
repaired, rewritten copy, with one line on standard error saying so and status 0, unless it
is signed (then it is refused). A PDF encrypted with an owner password only, whose
permissions allow annotations, is stamped and stays encrypted; one that needs a password
to be opened, or whose permissions forbid annotations (or, with --flatten, changes), is
refused.

Refused with status 1 and no file written: a PDF that cannot be read, a page that does not
exist, a stamp that does not fit on the page, OUT.pdf equal to IN.pdf, a damaged data file,
a date before the first Japanese era when the date pattern writes the era, a stamp whose
design cannot be drawn, an output that is no regular file (a device, a FIFO) and a full
disk. A FILE or OUT.pdf of - is standard output. Refusals found in the options or the
data files come before any PDF is read.

With --sign the stamp is the visible mark of a digital signature made with a certificate
of the NSS database; import one first with: pk12util -i cert.p12 -d sql:$HOME/.pki/nssdb
An encrypted or damaged PDF, no database or certificate, an ambiguous --cert, a wrong
password, or a certificate that is expired, not yet valid or not for signatures is refused
the same way; so is -o - (the signature is made over the file as written).

With --outdir each file is stamped as one --onto would; a file that fails is named on
standard error and the others are still stamped; a summary line ends the run, and on a
terminal a progress line shows while it runs for more than a second.
Exit status: 0 done (every file stamped), 1 refused or failed.
)")
               .arg(kMinStampDiameterMm);
}

} // namespace pellimo
