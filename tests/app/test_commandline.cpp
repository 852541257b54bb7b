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
