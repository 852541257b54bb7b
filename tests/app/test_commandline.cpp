// SPDX-License-Identifier: MIT
#include "app/commandline.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace pellimo;

class TestCommandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<bool>("noGui");
        QTest::addColumn<int>("user");
        QTest::addColumn<QString>("unknownUser"); // "-" for none
        const QString none = QStringLiteral("-");
        QTest::newRow("empty") << "" << false << 0 << none;
        QTest::newRow("nogui") << "nogui" << true << 0 << none;
        QTest::newRow("nogui u1") << "nogui u1" << true << 1 << none;
        QTest::newRow("nogui u5") << "nogui u5" << true << 5 << none;
        QTest::newRow("upper case") << "NOGUI U4" << true << 4 << none;
        QTest::newRow("mixed case") << "NoGui u3" << true << 3 << none;
        QTest::newRow("extra tokens ignored") << "nogui u4 extra" << true << 4 << none;
        QTest::newRow("two spaces: empty second token") << "nogui  u4" << true << 0 << "";
        QTest::newRow("trailing space") << "nogui " << true << 0 << "";
        QTest::newRow("u6") << "nogui u6" << true << 0 << "u6";
        QTest::newRow("U9 named as given") << "nogui U9 u2" << true << 0 << "U9";
        QTest::newRow("u0") << "nogui u0" << true << 0 << "u0";
        QTest::newRow("u44") << "nogui u44" << true << 0 << "u44";
        QTest::newRow("user alone") << "u4" << false << 0 << none;
        QTest::newRow("slash") << "/nogui" << false << 0 << none;
        QTest::newRow("comma") << "nogui," << false << 0 << none;
        QTest::newRow("dash") << "-nogui" << false << 0 << none;
        QTest::newRow("leading space") << " nogui u2" << false << 0 << none;
        QTest::newRow("tab is no separator") << "nogui\tu2" << false << 0 << none;
    }
    void parse()
    {
        QFETCH(QString, arguments);
        QFETCH(bool, noGui);
        QFETCH(int, user);
        QFETCH(QString, unknownUser);
        const CommandLine line = parseCommandLine(arguments);
        QCOMPARE(line.noGui, noGui);
        QCOMPARE(line.user, int16_t(user));
        QCOMPARE(line.unknownUser.value_or(QStringLiteral("-")), unknownUser);
    }

    // Only a PDF (or a file a file manager hands over) given alone opens the dialog; every other
    // command line keeps its meaning.
    void fileToOpen_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected"); // relative to the working folder; "" for none
        const auto list = [](std::initializer_list<const char *> words) {
            QStringList l;
            for (const char *w : words)
                l << QString::fromUtf8(w);
            return l;
        };
        QTest::newRow("none") << QStringList() << "";
        QTest::newRow("a pdf") << list({"申請書.pdf"}) << QStringLiteral(u"申請書.pdf");
        QTest::newRow("a PDF in capitals, not there yet") << list({"A.PDF"}) << "A.PDF";
        QTest::newRow("a path with spaces") << list({"sub dir/a b.pdf"}) << "sub dir/a b.pdf";
        QTest::newRow("an absolute path") << list({"/tmp/x/../y.pdf"}) << "/tmp/y.pdf";
        QTest::newRow("an existing file without the type") << list({"scan"}) << "scan";
        QTest::newRow("an existing folder") << list({"folder"}) << "";
        QTest::newRow("a word that names nothing") << list({"u4"}) << "";
        QTest::newRow("nogui") << list({"nogui"}) << "";
        QTest::newRow("nogui with a pdf") << list({"nogui", "a.pdf"}) << "";
        QTest::newRow("nogui named like a pdf") << list({"nogui a.pdf"}) << "";
        QTest::newRow("two pdfs") << list({"a.pdf", "b.pdf"}) << "";
        QTest::newRow("empty") << list({""}) << "";
    }
    void fileToOpen()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("folder")));
        QFile scan(dir.filePath(QStringLiteral("scan")));
        QVERIFY(scan.open(QIODevice::WriteOnly));
        const QString got = pellimo::fileToOpen(arguments, dir.path());
        if (expected.isEmpty())
            QCOMPARE(got, QString());
        else if (expected.startsWith(QLatin1Char('/')))
            QCOMPARE(got, expected);
        else
            QCOMPARE(got, dir.filePath(expected));
    }

    void joinedArgumentsFollowTheGrammar()
    {
        QCOMPARE(joinArguments({}), QString());
        QCOMPARE(joinArguments({QStringLiteral("NOGUI"), QStringLiteral("u2")}),
                 QStringLiteral("NOGUI u2"));
        QCOMPARE(parseCommandLine(
                     joinArguments({QStringLiteral("nogui"), QString(), QStringLiteral("u2")})),
                 (CommandLine{true, 0, QString()}));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
