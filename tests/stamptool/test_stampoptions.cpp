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
        for (const char *option : {"--user", "--date", "--png", "--scale", "--transparent", "--svg",
                                   "--pdf", "--onto", "--page", "--at", "--size", "-o"})
            QVERIFY2(help.contains(QLatin1String(option)), option);
    }
};

QTEST_MAIN(TestStampOptions)
#include "test_stampoptions.moc"
