// SPDX-License-Identifier: MIT
#include "app/commandline.h"

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
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("nogui") << "nogui" << true << 0;
        QTest::newRow("nogui u1") << "nogui u1" << true << 1;
        QTest::newRow("nogui u5") << "nogui u5" << true << 5;
        QTest::newRow("upper case") << "NOGUI U4" << true << 4;
        QTest::newRow("mixed case") << "NoGui u3" << true << 3;
        QTest::newRow("extra tokens ignored") << "nogui u4 extra" << true << 4;
        QTest::newRow("two spaces: empty second token") << "nogui  u4" << true << 0;
        QTest::newRow("trailing space") << "nogui " << true << 0;
        QTest::newRow("u9") << "nogui u9" << true << 0;
        QTest::newRow("u0") << "nogui u0" << true << 0;
        QTest::newRow("u44") << "nogui u44" << true << 0;
        QTest::newRow("user alone") << "u4" << false << 0;
        QTest::newRow("slash") << "/nogui" << false << 0;
        QTest::newRow("comma") << "nogui," << false << 0;
        QTest::newRow("dash") << "-nogui" << false << 0;
        QTest::newRow("leading space") << " nogui u2" << false << 0;
        QTest::newRow("tab is no separator") << "nogui\tu2" << false << 0;
    }
    void parse()
    {
        QFETCH(QString, arguments);
        QFETCH(bool, noGui);
        QFETCH(int, user);
        const CommandLine line = parseCommandLine(arguments);
        QCOMPARE(line.noGui, noGui);
        QCOMPARE(line.user, int16_t(user));
    }

    void joinedArgumentsFollowTheGrammar()
    {
        QCOMPARE(joinArguments({}), QString());
        QCOMPARE(joinArguments({QStringLiteral("NOGUI"), QStringLiteral("u2")}),
                 QStringLiteral("NOGUI u2"));
        QCOMPARE(parseCommandLine(
                     joinArguments({QStringLiteral("nogui"), QString(), QStringLiteral("u2")})),
                 (CommandLine{true, 0}));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
