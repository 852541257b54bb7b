// SPDX-License-Identifier: MIT
// --help and --version: only as the first argument, so that nothing of the nogui grammar changes.

#include "app/commandlinehelp.h"

#include <QTest>

using namespace pellimo;

class TestCommandLineHelp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstArgumentOnly_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("starts"); // empty: no text, the program runs
        const QString help = QStringLiteral("Pellimo 1.00\nDraws");
        const QString version = QStringLiteral("Pellimo 1.00\n");
        QTest::newRow("--help") << QStringList{"--help"} << help;
        QTest::newRow("-h") << QStringList{"-h"} << help;
        QTest::newRow("--version") << QStringList{"--version"} << version;
        QTest::newRow("-v") << QStringList{"-v"} << version;
        QTest::newRow("--version, then more") << QStringList{"--version", "nogui"} << version;
        QTest::newRow("nothing") << QStringList{} << QString();
        QTest::newRow("nogui --help: a token of nogui")
            << QStringList{"nogui", "--help"} << QString();
        QTest::newRow("-hv asks for neither") << QStringList{"-hv"} << QString();
        QTest::newRow("--help=x") << QStringList{"--help=x"} << QString();
        QTest::newRow("an unknown option opens the window") << QStringList{"--bogus"} << QString();
        QTest::newRow("help without dashes") << QStringList{"help"} << QString();
    }
    void firstArgumentOnly()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, starts);
        QList<QByteArray> bytes{QByteArrayLiteral("pellimo")};
        for (const QString &a : arguments)
            bytes << a.toLocal8Bit();
        std::vector<char *> argv;
        for (QByteArray &b : bytes)
            argv.push_back(b.data());
        const std::optional<QString> text = commandLineInformation(int(argv.size()), argv.data());
        QCOMPARE(text.has_value(), !starts.isEmpty());
        if (text)
            QVERIFY2(text->startsWith(starts), qPrintable(*text));
    }
};

QTEST_GUILESS_MAIN(TestCommandLineHelp)
#include "test_commandlinehelp.moc"
