// SPDX-License-Identifier: MIT
#include "stampoptions.h"

#include "model/appsettings.h"

#include <QCommandLineParser>
#include <QHash>
#include <QLocale>
#include <cmath>
#include <functional>
#include <vector>

namespace pellimo {

namespace {

using Output = StampOptions::Output;

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

// The outputs an option belongs to.
enum class GoesWith { Any, Png, Onto };

// One option of pellimo-stamp: its names, the name of its value (none for a switch), its line in
// --help, and how its value goes into the options. A new option is one more row of the table.
struct OptionSpec {
    QStringList names;   // short and long, without dashes: {"o", "output"}
    QString valueName;   // empty: a switch
    QString description; // lines after the first start with "\n"
    GoesWith goesWith = GoesWith::Any;
    // Takes the value into the options; returns what is wrong with it, or nothing.
    std::function<QString(StampOptions &, const QString &value)> apply;

    static QString dashed(const QString &name)
    {
        return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    }
};

// --png, --svg, --pdf and --onto: the one output, and the file it names.
std::function<QString(StampOptions &, const QString &)> output(Output kind)
{
    return [kind](StampOptions &o, const QString &file) {
        if (o.output != Output::None)
            return QStringLiteral("give only one of --png, --svg, --pdf and --onto");
        o.output = kind;
        o.file = file;
        return QString();
    };
}

const std::vector<OptionSpec> &optionTable()
{
    static const std::vector<OptionSpec> table = {
        {{QStringLiteral("user")},
         QStringLiteral("N"),
         QStringLiteral("the stamp of user N (1 to %1); default: the start-up user")
             .arg(kUserCount),
         GoesWith::Any,
         [](StampOptions &o, const QString &v) {
             if (!parseInt(v, o.user) || o.user < 1 || o.user > kUserCount)
                 return QStringLiteral("--user takes 1 to %1, not %2").arg(kUserCount).arg(v);
             return QString();
         }},
        {{QStringLiteral("date")},
         QStringLiteral("YYYY-MM-DD"),
         QStringLiteral("the day in the date line, formatted by the user's date pattern;\n"
                        "default: today"),
         GoesWith::Any,
         [](StampOptions &o, const QString &v) {
             o.date = QDate::fromString(v, QStringLiteral("yyyy-MM-dd"));
             if (!o.date->isValid())
                 return QStringLiteral("--date takes a day as YYYY-MM-DD, not %1").arg(v);
             return QString();
         }},
        {{QStringLiteral("png")},
         QStringLiteral("FILE"),
         QStringLiteral("a PNG picture: the stamp as Set puts it on the clipboard"),
         GoesWith::Any,
         output(Output::Png)},
        {{QStringLiteral("scale")},
         QStringLiteral("K"),
         QStringLiteral("the PNG K times as large (1 to %1), drawn smooth").arg(kMaxPngScale),
         GoesWith::Png,
         [](StampOptions &o, const QString &v) {
             if (!parseInt(v, o.scale) || o.scale < 1 || o.scale > kMaxPngScale)
                 return QStringLiteral("--scale takes 1 to %1, not %2").arg(kMaxPngScale).arg(v);
             return QString();
         }},
        {{QStringLiteral("transparent")},
         QString(),
         QStringLiteral("the PNG without its white background"),
         GoesWith::Png,
         [](StampOptions &o, const QString &) {
             o.transparent = true;
             return QString();
         }},
        {{QStringLiteral("svg")},
         QStringLiteral("FILE"),
         QStringLiteral("an SVG picture; texts stay text, no background"),
         GoesWith::Any,
         output(Output::Svg)},
        {{QStringLiteral("pdf")},
         QStringLiteral("FILE"),
         QStringLiteral("a one-page PDF file holding the stamp; texts stay text"),
         GoesWith::Any,
         output(Output::Pdf)},
        {{QStringLiteral("onto")},
         QStringLiteral("IN.pdf"),
         QStringLiteral("stamp a copy of IN.pdf (IN.pdf itself is never changed)"),
         GoesWith::Any,
         output(Output::Onto)},
        {{QStringLiteral("page")},
         QStringLiteral("P"),
         QStringLiteral("the page to stamp, from 1; default: 1"),
         GoesWith::Onto,
         [](StampOptions &o, const QString &v) {
             if (!parseInt(v, o.page) || o.page < 1)
                 return QStringLiteral("--page takes a page number from 1, not %1").arg(v);
             return QString();
         }},
        {{QStringLiteral("at")},
         QStringLiteral("X,Y"),
         QStringLiteral("the top-left corner of the stamp's square, in millimetres from the\n"
                        "top-left corner of the page as a viewer shows it;\n"
                        "default: the top-right corner, 15 mm from the top and right edges"),
         GoesWith::Onto,
         [](StampOptions &o, const QString &v) {
             const QStringList xy = v.split(QLatin1Char(','));
             double x = 0, y = 0;
             if (xy.size() != 2 || !parseNumber(xy[0], x) || !parseNumber(xy[1], y) || x < 0 ||
                 y < 0)
                 return QStringLiteral("--at takes X,Y in millimetres (0 or more), not %1").arg(v);
             o.atMm = QPointF(x, y);
             return QString();
         }},
        {{QStringLiteral("size")},
         QStringLiteral("MM"),
         QStringLiteral("the diameter of the stamp's circle in millimetres; default: its\n"
                        "size on a 96-dpi screen (radius 35 pixels: 18.5 mm)"),
         GoesWith::Any,
         [](StampOptions &o, const QString &v) {
             double mm = 0;
             if (!parseNumber(v, mm) || mm <= 0 || mm > kMaxStampMm)
                 return QStringLiteral("--size takes a diameter in millimetres, more than 0 and "
                                       "at most %1, not %2")
                     .arg(kMaxStampMm)
                     .arg(v);
             o.sizeMm = mm;
             return QString();
         }},
        {{QStringLiteral("o"), QStringLiteral("output")},
         QStringLiteral("OUT.pdf"),
         QStringLiteral("the stamped copy; written whole or not at all"),
         GoesWith::Onto,
         [](StampOptions &o, const QString &v) {
             o.outPdf = v;
             return QString();
         }},
        {{QStringLiteral("h"), QStringLiteral("help")},
         QString(),
         QStringLiteral("this text"),
         GoesWith::Any,
         [](StampOptions &o, const QString &) {
             o.help = true;
             return QString();
         }},
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
            names << OptionSpec::dashed(spec.names.constFirst());
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

// What the parser could not take, in this program's words.
QString parseError(const QCommandLineParser &parser, const QStringList &arguments)
{
    if (!parser.unknownOptionNames().isEmpty())
        return QStringLiteral("unknown argument: %1")
            .arg(OptionSpec::dashed(parser.unknownOptionNames().constFirst()));
    // The parser takes the next argument as an option's value, whatever it is: only an option at
    // the end can lack its value.
    const QString last = arguments.isEmpty() ? QString() : arguments.constLast();
    const OptionSpec *spec = specNamed(last.mid(last.startsWith(QStringLiteral("--")) ? 2 : 1));
    if (last.startsWith(QLatin1Char('-')) && spec && !spec->valueName.isEmpty())
        return QStringLiteral("%1 needs a value").arg(last);
    for (const QString &argument : arguments) { // "--transparent=yes"
        const QString name = argument.section(QLatin1Char('='), 0, 0);
        const OptionSpec *given = specNamed(name.mid(2));
        if (name.startsWith(QStringLiteral("--")) && name != argument && given &&
            given->valueName.isEmpty())
            return QStringLiteral("%1 takes no value").arg(name);
    }
    return parser.errorText();
}

} // namespace

StampOptions parseStampOptions(const QStringList &arguments, QString &error)
{
    StampOptions o;
    error.clear();
    QCommandLineParser parser;
    for (const OptionSpec &spec : optionTable())
        parser.addOption(QCommandLineOption(spec.names, spec.description, spec.valueName));
    if (!parser.parse(QStringList{QStringLiteral("pellimo-stamp")} + arguments)) {
        error = parseError(parser, arguments);
        return o;
    }

    // In the order given, so that the first mistake is the one named; a repeated option's values
    // in their order.
    QHash<const OptionSpec *, qsizetype> used;
    bool anyPngOnly = false, anyOntoOnly = false;
    for (const QString &name : parser.optionNames()) {
        const OptionSpec &spec = *specNamed(name);
        const QString value =
            spec.valueName.isEmpty() ? QString() : parser.values(name).at(used[&spec]++);
        if (!spec.valueName.isEmpty() && value.isEmpty())
            error = QStringLiteral("%1 needs a value").arg(OptionSpec::dashed(name));
        else
            error = spec.apply(o, value);
        if (!error.isEmpty() || o.help)
            return o;
        anyPngOnly |= spec.goesWith == GoesWith::Png;
        anyOntoOnly |= spec.goesWith == GoesWith::Onto;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error =
            QStringLiteral("unknown argument: %1").arg(parser.positionalArguments().constFirst());
        return o;
    }

    if (o.output == Output::None)
        error = QStringLiteral("nothing to do: give --png, --svg, --pdf or --onto (see --help)");
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
    QString options;
    for (const OptionSpec &spec : optionTable()) {
        QStringList names;
        for (const QString &name : spec.names)
            names << OptionSpec::dashed(name);
        QString line = QStringLiteral("  ") + names.join(QStringLiteral(", "));
        if (!spec.valueName.isEmpty())
            line += u' ' + spec.valueName;
        constexpr qsizetype kColumn = 20; // where the descriptions start
        line += line.size() < kColumn ? QString(kColumn - line.size(), u' ') : QStringLiteral("  ");
        QString description = spec.description;
        options += line + description.replace(u'\n', u'\n' + QString(kColumn, u' ')) + u'\n';
    }
    return QStringLiteral(
               u"Usage:\n"
               u"  pellimo-stamp [--user N] [--date YYYY-MM-DD] --png FILE [--scale K] "
               u"[--transparent]\n"
               u"  pellimo-stamp [--user N] [--date YYYY-MM-DD] --svg FILE [--size MM]\n"
               u"  pellimo-stamp [--user N] [--date YYYY-MM-DD] --pdf FILE [--size MM]\n"
               u"  pellimo-stamp [--user N] [--date YYYY-MM-DD] --onto IN.pdf [--page P] [--at "
               u"X,Y]\n"
               u"                [--size MM] -o OUT.pdf\n"
               u"\n"
               u"Draws a user's date stamp into a file, or onto a page of a PDF file. Needs no "
               u"display\n"
               u"and never touches the clipboard.\n"
               u"\n") +
           options +
           QStringLiteral(
               u"\n"
               u"The stamp and the date pattern are read from Pellimo's data folder (the program "
               u"folder\n"
               u"when it is writable or holds pellimo.ini, otherwise the user's data folder); "
               u"nothing is\n"
               u"written there. An encrypted or damaged PDF, a page that does not exist, a stamp "
               u"that does\n"
               u"not fit on the page, or OUT.pdf equal to IN.pdf is refused with status 1 and no "
               u"file is\n"
               u"written. Exit status: 0 done, 1 refused or failed.\n");
}

} // namespace pellimo
