// SPDX-License-Identifier: MIT
#include "stamptool/stampoptions.h"

#include <QTest>

using namespace pellimo;
using Output = StampOptions::Output;

class TestStampOptions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void accepted_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<int>("output");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("user");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("scale");
        QTest::addColumn<bool>("transparent");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("at");
        QTest::addColumn<double>("size");
        QTest::addColumn<QString>("out");

        const QDate none;
        QTest::newRow("png alone") << "--png s.png" << int(Output::Png) << "s.png" << 0 << none << 1
                                   << false << 1 << "" << 0.0 << "";
        QTest::newRow("png, everything")
            << "--user 3 --date 2019-05-01 --png s.png --scale 8 --transparent" << int(Output::Png)
            << "s.png" << 3 << QDate(2019, 5, 1) << 8 << true << 1 << "" << 0.0 << "";
        QTest::newRow("svg with size") << "--svg s.svg --size 21" << int(Output::Svg) << "s.svg"
                                       << 0 << none << 1 << false << 1 << "" << 21.0 << "";
        QTest::newRow("pdf, user 5") << "--pdf s.pdf --user 5" << int(Output::Pdf) << "s.pdf" << 5
                                     << none << 1 << false << 1 << "" << 0.0 << "";
        QTest::newRow("onto, defaults")
            << "--onto in.pdf -o out.pdf" << int(Output::Onto) << "in.pdf" << 0 << none << 1
            << false << 1 << "" << 0.0 << "out.pdf";
        QTest::newRow("onto, everything")
            << "--onto in.pdf --page 12 --at 10.5,0 --size 30 --output out.pdf --date 2026-02-28"
            << int(Output::Onto) << "in.pdf" << 0 << QDate(2026, 2, 28) << 1 << false << 12
            << "10.5,0" << 30.0 << "out.pdf";
        QTest::newRow("values after =")
            << "--svg=s.svg --size=21 --user=2" << int(Output::Svg) << "s.svg" << 2 << none << 1
            << false << 1 << "" << 21.0 << "";
        QTest::newRow("at the far end of a large sheet")
            << "--onto in.pdf -o o.pdf --at 99999.5,0" << int(Output::Onto) << "in.pdf" << 0 << none
            << 1 << false << 1 << "99999.5,0" << 0.0 << "o.pdf";
        QTest::newRow("a value that starts with a dash")
            << "--onto -in.pdf -o -" << int(Output::Onto) << "-in.pdf" << 0 << none << 1 << false
            << 1 << "" << 0.0 << "-";
    }

    void accepted()
    {
        QFETCH(QString, args);
        QString error;
        const StampOptions o = parseStampOptions(args.split(u' '), error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QTEST(int(o.output), "output");
        QTEST(o.file, "file");
        QTEST(o.user, "user");
        QTEST(o.date.value_or(QDate()), "date");
        QTEST(o.scale, "scale");
        QTEST(o.transparent, "transparent");
        QTEST(o.page, "page");
        QTEST(o.atMm ? QStringLiteral("%1,%2").arg(o.atMm->x()).arg(o.atMm->y()) : QString(), "at");
        QTEST(o.sizeMm.value_or(0.0), "size");
        QTEST(o.outPdf, "out");
    }

    void manyFilesAndPlaces_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<int>("output");
        QTest::addColumn<QStringList>("more"); // inputs after the first
        QTest::addColumn<QString>("outDir");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("pages"); // kind, then the ranges
        QTest::addColumn<int>("corner");    // -1: none
        QTest::addColumn<bool>("flatten");

        using Kind = PageChoice::Kind;
        const auto kind = [](Kind k, const QString &ranges = {}) {
            return QString::number(int(k)) + ranges;
        };
        QTest::newRow("one file into a folder")
            << "--onto a.pdf --outdir d" << int(Output::Onto) << QStringList() << "d"
            << "-stamped" << QString() << -1 << false;
        QTest::newRow("files, a folder and stdin, a suffix")
            << "--onto a.pdf b.pdf dir - --outdir d --suffix _ok" << int(Output::Onto)
            << QStringList{"b.pdf", "dir", "-"} << "d"
            << "_ok" << QString() << -1 << false;
        QTest::newRow("pages last, bottom-right")
            << "--onto a.pdf -o o.pdf --pages last --corner bottom-right --at 10,10"
            << int(Output::Onto) << QStringList() << ""
            << "-stamped" << kind(Kind::Last) << 3 << false;
        QTest::newRow("pages all")
            << "--onto a.pdf --outdir d --pages all" << int(Output::Onto) << QStringList() << "d"
            << "-stamped" << kind(Kind::All) << -1 << false;
        QTest::newRow("pages listed")
            << "--onto a.pdf -o o.pdf --pages 1,3-5,7" << int(Output::Onto) << QStringList() << ""
            << "-stamped" << kind(Kind::Numbers, QStringLiteral(" 1-1 3-5 7-7")) << -1 << false;
        QTest::newRow("flatten from the top-left corner")
            << "--onto a.pdf -o o.pdf --flatten --corner top-left" << int(Output::Onto)
            << QStringList() << ""
            << "-stamped" << QString() << 0 << true;
        QTest::newRow("list") << "--list a.pdf" << int(Output::List) << QStringList() << ""
                              << "-stamped" << QString() << -1 << false;
    }

    void manyFilesAndPlaces()
    {
        QFETCH(QString, args);
        QString error;
        const StampOptions o = parseStampOptions(args.split(u' '), error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QTEST(int(o.output), "output");
        QCOMPARE(o.file, QStringLiteral("a.pdf"));
        QTEST(o.moreInputs, "more");
        QTEST(o.outDir, "outDir");
        QTEST(o.suffix, "suffix");
        QString pages;
        if (o.pages) {
            pages = QString::number(int(o.pages->kind));
            for (const auto &[from, to] : o.pages->ranges)
                pages += QStringLiteral(" %1-%2").arg(from).arg(to);
        }
        QTEST(pages, "pages");
        QTEST(o.corner ? int(*o.corner) : -1, "corner");
        QTEST(o.flatten, "flatten");
    }

    void refused_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<QString>("says");

        QTest::newRow("nothing to do") << "--user 2"
                                       << "nothing to do";
        QTest::newRow("two outputs") << "--png a.png --svg a.svg"
                                     << "only one";
        QTest::newRow("unknown option") << "--png a.png --dpi 300"
                                        << "unknown argument: --dpi";
        QTest::newRow("missing value") << "--png"
                                       << "--png needs a value";
        QTest::newRow("missing value after another") << "--png a.png --user"
                                                     << "--user needs a value";
        QTest::newRow("a word that is no option") << "--png a.png stray"
                                                  << "unknown argument: stray";
        QTest::newRow("a switch given a value") << "--png a.png --transparent=yes"
                                                << "Unexpected value after '--transparent'";
        QTest::newRow("user 0") << "--png a.png --user 0"
                                << "--user takes 1 to 5";
        QTest::newRow("user 6") << "--png a.png --user 6"
                                << "--user takes 1 to 5";
        QTest::newRow("user word") << "--png a.png --user two"
                                   << "--user takes 1 to 5";
        QTest::newRow("date 30 February") << "--png a.png --date 2026-02-30"
                                          << "YYYY-MM-DD";
        QTest::newRow("date in another form") << "--png a.png --date 07.12.2026"
                                              << "YYYY-MM-DD";
        QTest::newRow("scale 0") << "--png a.png --scale 0"
                                 << "--scale takes 1 to 32";
        QTest::newRow("scale 33") << "--png a.png --scale 33"
                                  << "--scale takes 1 to 32";
        QTest::newRow("onto without -o") << "--onto in.pdf"
                                         << "-o OUT.pdf";
        QTest::newRow("page 0") << "--onto in.pdf -o o.pdf --page 0"
                                << "--page takes";
        QTest::newRow("page -1") << "--onto in.pdf -o o.pdf --page -1"
                                 << "--page takes";
        QTest::newRow("at one number") << "--onto in.pdf -o o.pdf --at 10"
                                       << "--at takes X,Y";
        QTest::newRow("at negative") << "--onto in.pdf -o o.pdf --at -1,5"
                                     << "--at takes X,Y";
        QTest::newRow("at not a number") << "--onto in.pdf -o o.pdf --at 1,x"
                                         << "--at takes";
        QTest::newRow("size 0") << "--onto in.pdf -o o.pdf --size 0"
                                << "--size takes";
        QTest::newRow("size nan") << "--onto in.pdf -o o.pdf --size nan"
                                  << "--size takes";
        QTest::newRow("size 501") << "--pdf a.pdf --size 501"
                                  << "--size takes";
        QTest::newRow("page with png") << "--png a.png --page 2"
                                       << "go with --onto";
        QTest::newRow("-o with pdf") << "--pdf a.pdf -o b.pdf"
                                     << "go with --onto";
        QTest::newRow("scale with svg") << "--svg a.svg --scale 2"
                                        << "go with --png";
        QTest::newRow("transparent with onto") << "--onto in.pdf -o o.pdf --transparent"
                                               << "go with --png";
        QTest::newRow("size with png") << "--png a.png --size 20"
                                       << "use --scale";
        QTest::newRow("-o twice") << "--onto in.pdf -o a.pdf -o b.pdf"
                                  << "give -o only once";
        QTest::newRow("--output, then -o") << "--onto in.pdf --output a.pdf -o b.pdf"
                                           << "only once";
        QTest::newRow("--page twice") << "--onto in.pdf -o o.pdf --page 1 --page 2"
                                      << "give --page only once";
        QTest::newRow("--user twice") << "--png a.png --user 1 --user 2"
                                      << "give --user only once";
        QTest::newRow("--png twice") << "--png a.png --png b.png"
                                     << "only once";
        QTest::newRow("at a point no page has") << "--onto in.pdf -o o.pdf --at 1e308,1e308"
                                                << "--at takes X,Y in millimetres (0 to 100000)";
        QTest::newRow("size under the smallest readable")
            << "--svg a.svg --size 4.99"
            << "--size takes a diameter in millimetres from 5 to 500";
        QTest::newRow("size 0.0001 for a PDF picture") << "--pdf a.pdf --size 0.0001"
                                                       << "from 5 to 500";
        QTest::newRow("pages 0") << "--onto in.pdf -o o.pdf --pages 0"
                                 << "--pages takes first, last, all or page numbers";
        QTest::newRow("pages backwards") << "--onto in.pdf -o o.pdf --pages 3-1"
                                         << "--pages takes";
        QTest::newRow("pages open range") << "--onto in.pdf -o o.pdf --pages 3-"
                                          << "--pages takes";
        QTest::newRow("pages word") << "--onto in.pdf -o o.pdf --pages middle"
                                    << "--pages takes";
        QTest::newRow("page and pages") << "--onto in.pdf -o o.pdf --page 2 --pages all"
                                        << "give --page or --pages, not both";
        QTest::newRow("corner word") << "--onto in.pdf -o o.pdf --corner centre"
                                     << "--corner takes top-left";
        QTest::newRow("corner with svg") << "--svg a.svg --corner top-left"
                                         << "go with --onto";
        QTest::newRow("-o and --outdir") << "--onto in.pdf -o o.pdf --outdir d"
                                         << "not both";
        QTest::newRow("a second file without --outdir") << "--onto a.pdf b.pdf -o o.pdf"
                                                        << "unknown argument: b.pdf";
        QTest::newRow("suffix without --outdir") << "--onto a.pdf -o o.pdf --suffix _x"
                                                 << "--suffix goes with --outdir";
        QTest::newRow("suffix with a folder") << "--onto a.pdf --outdir d --suffix x/y"
                                              << "without /";
        QTest::newRow("flatten with pages") << "--onto a.pdf -o o.pdf --flatten --pages all"
                                            << "--flatten stamps one page";
        QTest::newRow("sign with outdir") << "--onto a.pdf --outdir d --sign"
                                          << "--sign stamps one page of one file";
        QTest::newRow("sign with pages") << "--onto a.pdf -o o.pdf --sign --pages all"
                                         << "--sign stamps one page of one file";
        QTest::newRow("sign with flatten") << "--onto a.pdf -o o.pdf --sign --flatten"
                                           << "--sign stamps one page of one file";
        QTest::newRow("list with a user") << "--list a.pdf --user 2"
                                          << "--list takes no other options (--user)";
        QTest::newRow("list and onto") << "--list a.pdf --onto b.pdf -o c.pdf"
                                       << "only one of --png, --svg, --pdf, --onto and --list";
        QTest::newRow("onto, then list") << "--onto b.pdf -o c.pdf --list a.pdf"
                                         << "only one of";
        QTest::newRow("at 100 m and a bit") << "--onto in.pdf -o o.pdf --at 0,100000.1"
                                            << "--at takes";
    }

    void refused()
    {
        QFETCH(QString, args);
        QFETCH(QString, says);
        QString error;
        parseStampOptions(args.split(u' '), error);
        QVERIFY2(error.contains(says), qPrintable(error));
        QVERIFY2(error.size() < 120, qPrintable(error)); // a line a reader takes in at a glance
    }

    void helpWins()
    {
        QString error;
        QVERIFY(
            parseStampOptions(
                {QStringLiteral("--png"), QStringLiteral("a.png"), QStringLiteral("--help")}, error)
                .help);
        QVERIFY(error.isEmpty());
        const QString help = stampToolHelp();
        for (const char *option : {"--user",        "--date",  "--png",         "--scale",
                                   "--transparent", "--svg",   "--pdf",         "--onto",
                                   "--page",        "--pages", "--corner",      "--at",
                                   "--size",        "-o",      "--outdir",      "--suffix",
                                   "--flatten",     "--list",  "at least 5 mm", "owner password",
                                   "repaired",      "signed"})
            QVERIFY2(help.contains(QLatin1String(option)), option);
    }
};

QTEST_MAIN(TestStampOptions)
#include "test_stampoptions.moc"
