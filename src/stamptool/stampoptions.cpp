// SPDX-License-Identifier: MIT
#include "stampoptions.h"

#include "model/appsettings.h"

#include <QCommandLineParser>
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
struct OptionSpec {
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

// --png, --svg, --pdf and --onto: the one output, and the file it names.
Apply output(Output kind)
{
    return [kind](StampOptions &o, const QString &file) {
        if (o.output != Output::None)
            return QStringLiteral("give only one of --png, --svg, --pdf and --onto");
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
    return o.date->isValid() ? QString()
                             : QStringLiteral("--date takes a day as YYYY-MM-DD, not %1").arg(v);
}

QString takeCorner(StampOptions &o, const QString &v)
{
    const QStringList xy = v.split(QLatin1Char(','));
    double x = 0, y = 0;
    if (xy.size() != 2 || !parseNumber(xy[0], x) || !parseNumber(xy[1], y) || x < 0 || y < 0 ||
        x > kMaxCornerMm || y > kMaxCornerMm)
        return QStringLiteral("--at takes X,Y in millimetres (0 to %1), not %2")
            .arg(kMaxCornerMm)
            .arg(v);
    o.atMm = QPointF(x, y);
    return QString();
}

QString takeSize(StampOptions &o, const QString &v)
{
    double mm = 0;
    if (!parseNumber(v, mm) || mm <= 0 || mm > kMaxStampMm)
        return QStringLiteral("--size takes a diameter in millimetres, more than 0 and at most "
                              "%1, not %2")
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

const std::vector<OptionSpec> &optionTable()
{
    const auto row = [](const char *names, const char *valueName, GoesWith goesWith, Apply apply,
                        const QString &description) {
        return OptionSpec{QString::fromLatin1(names).split(u','), QString::fromLatin1(valueName),
                          goesWith, std::move(apply), description};
    };
    using enum GoesWith;
    static const std::vector<OptionSpec> table = {
        row("user", "N", Any,
            wholeNumber(&StampOptions::user, 1, kUserCount,
                        QStringLiteral("--user takes 1 to %1, not %2").arg(kUserCount)),
            QStringLiteral("the stamp of user N (1 to %1); default: the start-up user")
                .arg(kUserCount)),
        row("date", "YYYY-MM-DD", Any, takeDate,
            QStringLiteral("the day in the date line, formatted by the user's date pattern;\n"
                           "default: today")),
        row("png", "FILE", Any, output(Output::Png),
            QStringLiteral("a PNG picture: the stamp as Set puts it on the clipboard")),
        row("scale", "K", Png,
            wholeNumber(&StampOptions::scale, 1, kMaxPngScale,
                        QStringLiteral("--scale takes 1 to %1, not %2").arg(kMaxPngScale)),
            QStringLiteral("the PNG K times as large (1 to %1), drawn smooth").arg(kMaxPngScale)),
        row("transparent", "", Png, flag(&StampOptions::transparent),
            QStringLiteral("the PNG without its white background")),
        row("svg", "FILE", Any, output(Output::Svg),
            QStringLiteral("an SVG picture; texts stay text, no background")),
        row("pdf", "FILE", Any, output(Output::Pdf),
            QStringLiteral("a one-page PDF file holding the stamp; texts stay text")),
        row("onto", "IN.pdf", Any, output(Output::Onto),
            QStringLiteral("stamp a copy of IN.pdf (IN.pdf itself is never changed)")),
        row("page", "P", Onto,
            wholeNumber(&StampOptions::page, 1, INT_MAX,
                        QStringLiteral("--page takes a page number from 1, not %1")),
            QStringLiteral("the page to stamp, from 1; default: 1")),
        row("at", "X,Y", Onto, takeCorner,
            QStringLiteral("the top-left corner of the stamp's square, in millimetres from the\n"
                           "top-left corner of the page as a viewer shows it;\n"
                           "default: the top-right corner, 15 mm from the top and right edges")),
        row("size", "MM", Any, takeSize,
            QStringLiteral("the diameter of the stamp's circle in millimetres; default: its\n"
                           "size on a 96-dpi screen (radius 35 pixels: 18.5 mm)")),
        row("o,output", "OUT.pdf", Onto, takeOutput,
            QStringLiteral("the stamped copy; written whole or not at all")),
        row("sign", "", Onto, takeSign,
            QStringLiteral("sign the stamped copy: the stamp becomes the visible mark of a\n"
                           "digital signature made with a certificate of the NSS database")),
        row("cert", "NAME", Any, takeCert,
            QStringLiteral("with --sign: the certificate, by nickname or subject common name;\n"
                           "default: the only one in the database")),
        row("nssdb", "DIR", Any, takeNssdb,
            QStringLiteral("with --sign or --certs: the NSS database; default: ~/.pki/nssdb")),
        row("password-file", "FILE", Any, takePasswordFile,
            QStringLiteral("with --sign: the key's password is the file's first line; default:\n"
                           "asked on the terminal (three tries), never taken as an argument")),
        row("certs", "", Any, takeCerts,
            QStringLiteral("list the certificates that can sign: nickname, subject, issuer,\n"
                           "valid until")),
        row("h,help", "", Any, flag(&StampOptions::help), QStringLiteral("this text")),
    };
    return table;
}

const OptionSpec *specNamed(const QString &name)
{
    for (const OptionSpec &spec : optionTable())
        if (spec.names.contains(name))
            return &spec;
    return nullptr;
}

// "--page, --at and -o": the options that go only with `goesWith`.
QString optionsGoingWith(GoesWith goesWith)
{
    QStringList names;
    for (const OptionSpec &spec : optionTable())
        if (spec.goesWith == goesWith)
            names << dashed(spec.names.constFirst());
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

// What the parser could not take, in this program's words.
QString parseError(const QCommandLineParser &parser, const QStringList &arguments)
{
    if (!parser.unknownOptionNames().isEmpty())
        return QStringLiteral("unknown argument: %1")
            .arg(dashed(parser.unknownOptionNames().constFirst()));
    // The parser takes the next argument as an option's value, whatever it is: only an option at
    // the end can lack its value.
    const QString last = arguments.isEmpty() ? QString() : arguments.constLast();
    const OptionSpec *spec = specNamed(last.mid(last.startsWith(QStringLiteral("--")) ? 2 : 1));
    if (last.startsWith(QLatin1Char('-')) && spec && !spec->valueName.isEmpty())
        return QStringLiteral("%1 needs a value").arg(last);
    return parser.errorText(); // "Unexpected value after '--transparent'."
}

} // namespace

StampOptions parseStampOptions(const QStringList &arguments, QString &error)
{
    StampOptions o;
    QCommandLineParser parser;
    for (const OptionSpec &spec : optionTable())
        parser.addOption(QCommandLineOption(spec.names, spec.description, spec.valueName));
    if (!parser.parse(QStringList{QStringLiteral("pellimo-stamp")} + arguments)) {
        error = parseError(parser, arguments);
        return o;
    }
    // In the order given, so that the first mistake is the one named; a repeated option's values
    // in their order.
    error.clear();
    QHash<const OptionSpec *, qsizetype> used;
    bool anyPngOnly = false, anyOntoOnly = false;
    for (const QString &name : parser.optionNames()) {
        const OptionSpec &spec = *specNamed(name);
        const bool takesValue = !spec.valueName.isEmpty();
        const QString value = takesValue ? parser.values(name).at(used[&spec]++) : QString();
        if (used[&spec] > 1) // the last one silently winning would hide a mistake
            error = QStringLiteral("give %1 only once").arg(dashed(name));
        else if (takesValue && value.isEmpty())
            error = QStringLiteral("%1 needs a value").arg(dashed(name));
        else
            error = spec.apply(o, value);
        if (!error.isEmpty() || o.help)
            return o;
        anyPngOnly |= spec.goesWith == GoesWith::Png;
        anyOntoOnly |= spec.goesWith == GoesWith::Onto;
    }
    if (!parser.positionalArguments().isEmpty())
        error =
            QStringLiteral("unknown argument: %1").arg(parser.positionalArguments().constFirst());
    else if (o.output == Output::None)
        error = QStringLiteral("nothing to do: give --png, --svg, --pdf or --onto (see --help)");
    else if (const QString signing = checkSignOptions(o); !signing.isEmpty())
        error = signing;
    else if (o.output == Output::Onto && o.outPdf.isEmpty())
        error = QStringLiteral("--onto needs -o OUT.pdf");
    else if (o.output != Output::Onto && anyOntoOnly)
        error = QStringLiteral("%1 go with --onto").arg(optionsGoingWith(GoesWith::Onto));
    else if (o.output != Output::Png && anyPngOnly)
        error = QStringLiteral("%1 go with --png").arg(optionsGoingWith(GoesWith::Png));
    else if (o.output == Output::Png && o.sizeMm)
        error = QStringLiteral("--size does not go with --png; use --scale");
    return o;
}

QString stampToolHelp()
{
    constexpr qsizetype kColumn = 20; // where the descriptions start
    QString options;
    for (const OptionSpec &spec : optionTable()) {
        QStringList names;
        for (const QString &name : spec.names)
            names << dashed(name);
        QString line = QStringLiteral("  ") + names.join(QStringLiteral(", "));
        if (!spec.valueName.isEmpty())
            line += u' ' + spec.valueName;
        line += line.size() < kColumn ? QString(kColumn - line.size(), u' ') : QStringLiteral("  ");
        options +=
            line + QString(spec.description).replace(u'\n', u'\n' + QString(kColumn, u' ')) + u'\n';
    }
    return QStringLiteral(R"(Usage:
  pellimo-stamp [--user N] [--date YYYY-MM-DD] --png FILE [--scale K] [--transparent]
  pellimo-stamp [--user N] [--date YYYY-MM-DD] --svg FILE [--size MM]
  pellimo-stamp [--user N] [--date YYYY-MM-DD] --pdf FILE [--size MM]
  pellimo-stamp [--user N] [--date YYYY-MM-DD] --onto IN.pdf [--page P] [--at X,Y]
                [--size MM] [--sign [--cert NAME] [--nssdb DIR] [--password-file FILE]]
                -o OUT.pdf
  pellimo-stamp --certs [--nssdb DIR]

Draws a user's date stamp into a file, or onto a page of a PDF file. Needs no display
and never touches the clipboard.

)") + options +
           QStringLiteral(R"(
The stamp and the date pattern are read from Pellimo's data folder (the program folder
when it is writable or holds pellimo.ini, otherwise the user's data folder); nothing is
written there. An encrypted or damaged PDF, a page that does not exist, a stamp that does
not fit on the page, or OUT.pdf equal to IN.pdf is refused with status 1 and no file is
written; so are a stamp whose design cannot be drawn, an output that is no regular file (a
device, a FIFO) and a full disk. A FILE or OUT.pdf of - is standard output.

With --sign the stamp is the visible mark of a digital signature made with a certificate
of the NSS database; import one first with: pk12util -i cert.p12 -d sql:$HOME/.pki/nssdb
An encrypted PDF, no database or certificate, an ambiguous --cert, a wrong password, or a
certificate that is expired, not yet valid or not for signatures is refused the same way.
Exit status: 0 done, 1 refused or failed.
)");
}

} // namespace pellimo
