// SPDX-License-Identifier: MIT
#include "storage/cp932.h"
#include "storage/settingsfile.h"
#include "testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace pellimo;

namespace {

AppSettings defaults()
{
    AppSettings s;
    loadDefaultSettings(s);
    return s;
}

QString describe(const AppSettings &s)
{
    return QStringLiteral("%1|%2|%3|%4")
        .arg(s.defaultUser)
        .arg(QStringList(s.userNames.begin(), s.userNames.end()).join(u','), s.dateFormat)
        .arg(s.autoClose);
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path() const { return settingsFilePath(m_dir.path()); }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QFile::remove(path());
    }

    void filePath()
    {
        QCOMPARE(settingsFilePath(QStringLiteral("/opt/p")), QStringLiteral("/opt/p/pellimo.ini"));
        QCOMPARE(settingsFilePath(QStringLiteral("/opt/p/")), QStringLiteral("/opt/p/pellimo.ini"));
    }

    void defaultsWrittenWithoutFileMatchGolden()
    {
        QVERIFY(saveSettings(defaults(), path()));
        QCOMPARE(readAll(path()),
                 readAll(QStringLiteral(PELLIMO_TEST_DATA "/default-settings.ini")));
        AppSettings back;
        back.defaultUser = 4;
        loadSettings(back, path());
        QCOMPARE(describe(back), describe(defaults()));
    }

    void valueRules_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("defaultUser");
        QTest::addColumn<bool>("autoClose");
        QTest::newRow("no entries") << "" << 1 << false;
        QTest::newRow("Default=5, AutoClose=1")
            << "[User]\nDefault=5\n[Setting]\nAutoClose=1" << 5 << true;
        QTest::newRow("first character counts")
            << "[User]\nDefault=3abc\n[Setting]\nAutoClose=1x" << 3 << true;
        QTest::newRow("12") << "[User]\nDefault=12" << 1 << false;
        QTest::newRow("0 and -1") << "[User]\nDefault=0\n[Setting]\nAutoClose=-1" << 1 << false;
        QTest::newRow("6 and 0") << "[User]\nDefault=6\n[Setting]\nAutoClose=0" << 1 << false;
        QTest::newRow("x and true") << "[User]\nDefault=x\n[Setting]\nAutoClose=true" << 1 << false;
        QTest::newRow("empty values") << "[User]\nDefault=\n[Setting]\nAutoClose=" << 1 << false;
        QTest::newRow("full-width digit") << QStringLiteral(u"[User]\nDefault=２") << 1 << false;
        QTest::newRow("NUL before the digit") << QStringLiteral("[User]\nDefault=\0004\n[Setting]\n"
                                                                "AutoClose=\0001")
                                              << 4 << true;
    }
    void valueRules()
    {
        QFETCH(QString, file);
        QFETCH(int, defaultUser);
        QFETCH(bool, autoClose);
        QVERIFY(writeAll(path(), cp932(file)));
        AppSettings s;
        s.defaultUser = 3;
        s.autoClose = !autoClose;
        loadSettings(s, path());
        QCOMPARE(s.defaultUser, int16_t(defaultUser));
        QCOMPARE(s.autoClose, autoClose);
    }

    void reading_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("expected");
        auto with = [](auto change) {
            AppSettings s = defaults();
            change(s);
            return describe(s);
        };
        QTest::newRow("only [User] Default=2") << "[User]\r\nDefault=2\r\n"
                                               << with([](AppSettings &s) { s.defaultUser = 2; });
        QTest::newRow("present but empty") << "[User]\r\nUser3=\r\n[Setting]\r\nDateFormat=\r\n"
                                           << with([](AppSettings &s) {
                                                  s.userNames[2] = QString();
                                                  s.dateFormat = QString();
                                              });
        QTest::newRow("names matched without case")
            << "[user]\r\nUSER1=a\r\n[SETTING]\r\ndateformat=yy" << with([](AppSettings &s) {
                   s.userNames[0] = QStringLiteral("a");
                   s.dateFormat = QStringLiteral("yy");
               });
        QTest::newRow("blanks from Windows")
            << QStringLiteral(u"  [ User ]  \r\n User2 =  山田 太郎 \t\r\n Default = 4\r\n")
            << with([](AppSettings &s) {
                   s.userNames[1] = QStringLiteral(u"山田 太郎");
                   s.defaultUser = 4;
               });
        QTest::newRow("comments, other sections, keys outside sections")
            << "Default=3\r\n[User]\r\n;Default=4\r\n[Other]\r\nDefault=5\r\n"
            << with([](AppSettings &) {});
        QTest::newRow("first of duplicates; LF only")
            << "[User]\nUser1=first\nUser1=second\n[User]\nUser1=third\nUser5=five"
            << with([](AppSettings &s) {
                   s.userNames[0] = QStringLiteral("first");
                   s.userNames[4] = QStringLiteral("five");
               });
        QTest::newRow("NUL removed, quotes kept")
            << QStringLiteral("[User]\r\nUser1=a\000b\r\nUser2=\"q\"") << with([](AppSettings &s) {
                   s.userNames[0] = QStringLiteral("ab");
                   s.userNames[1] = QStringLiteral("\"q\"");
               });
    }
    void reading()
    {
        QFETCH(QString, file);
        QFETCH(QString, expected);
        QVERIFY(writeAll(path(), cp932(file)));
        AppSettings s;
        loadSettings(s, path());
        QCOMPARE(describe(s), expected);
    }

    void missingFileGivesDefaults()
    {
        AppSettings s;
        s.dateFormat = QStringLiteral("x");
        loadSettings(s, path());
        QCOMPARE(describe(s), describe(defaults()));
    }

    void longValueCutAt255Bytes_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        const QString a = QStringLiteral(u"あ");
        QTest::newRow("300 ASCII") << QString(300, u'n') << QString(255, u'n');
        QTest::newRow("exactly 255") << QString(255, u'n') << QString(255, u'n');
        QTest::newRow("128 double-byte") << a.repeated(128) << a.repeated(127);
        QTest::newRow("odd start") << u'n' + a.repeated(128) << u'n' + a.repeated(127);
        QTest::newRow("254 ASCII then double-byte") << QString(254, u'n') + a << QString(254, u'n');
        QTest::newRow("half-width kana")
            << QStringLiteral(u"ｶ").repeated(300) << QStringLiteral(u"ｶ").repeated(255);
    }
    void longValueCutAt255Bytes()
    {
        QFETCH(QString, value);
        QFETCH(QString, expected);
        writeAll(path(),
                 cp932(QStringLiteral("[User]\r\nUser2=") + value + QStringLiteral("\r\n")));
        AppSettings s;
        loadSettings(s, path());
        QCOMPARE(s.userNames[1], expected);
    }

    void editsInPlace_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        const QString names =
            QStringLiteral(u"User1=ユーザー1\r\nUser2=ユーザー2\r\nUser3=ユーザー3"
                           u"\r\nUser4=ユーザー4\r\nUser5=ユーザー5\r\n");
        QTest::newRow("existing keys rewritten where they are, unknown lines kept")
            << QStringLiteral("; mine\r\n[Setting]\r\nAutoClose=1\r\nColour=red\r\n\r\n[User]\r\n"
                              "User5=old\r\nDefault=3\r\n[Extra]\r\nk=v\r\n")
            << QStringLiteral(u"; mine\r\n[Setting]\r\nAutoClose=0\r\nColour=red\r\n"
                              u"DateFormat=ee.mm.dd\r\n\r\n[User]\r\nUser5=ユーザー5\r\n"
                              u"Default=1\r\nUser1=ユーザー1\r\nUser2=ユーザー2\r\nUser3=ユーザー3"
                              u"\r\nUser4=ユーザー4\r\n[Extra]\r\nk=v\r\n");
        QTest::newRow("missing section added at the end, no final line end")
            << QStringLiteral("[user]\r\ndefault = 2 \r\n") + names.chopped(2)
            << QStringLiteral("[user]\r\nDefault=1\r\n") + names +
                   QStringLiteral("[Setting]\r\nDateFormat=ee.mm.dd\r\nAutoClose=0\r\n");
        QTest::newRow("LF lines keep their ends")
            << QStringLiteral("[Other]\nx=1\n\n")
            << QStringLiteral("[Other]\nx=1\n\n[User]\r\nDefault=1\r\n") + names +
                   QStringLiteral("[Setting]\r\nDateFormat=ee.mm.dd\r\nAutoClose=0\r\n");
    }
    void editsInPlace()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QVERIFY(writeAll(path(), cp932(before)));
        QVERIFY(saveSettings(defaults(), path()));
        QCOMPARE(decodeCp932(readAll(path())), after);
    }

    void roundTrip()
    {
        AppSettings s;
        s.defaultUser = 5;
        s.userNames = {QStringLiteral(u"髙橋①"), QString(), QStringLiteral(u"ﾀﾅｶ"),
                       QStringLiteral("a=b;c"), QStringLiteral("[x]")};
        s.dateFormat = QStringLiteral(u"gggee年mm月dd日");
        s.autoClose = true;
        QVERIFY(saveSettings(s, path()));
        QVERIFY(saveSettings(s, path())); // a second save changes nothing
        AppSettings back;
        loadSettings(back, path());
        QCOMPARE(describe(back), describe(s));
        QCOMPARE(readAll(path()).count('\n'), 10);
    }

    void refusesUnstorableValues_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("named");
        QTest::newRow("emoji") << QStringLiteral(u"a😀") << QStringLiteral(u"「😀」");
        QTest::newRow("line break") << QStringLiteral("a\nDefault=5") << QStringLiteral("U+000A");
        QTest::newRow("wave dash") << QStringLiteral(u"〜") << QStringLiteral(u"「〜」");
    }
    void refusesUnstorableValues()
    {
        QFETCH(QString, name);
        QFETCH(QString, named);
        QVERIFY(writeAll(path(), "[User]\r\nUser4=old\r\n"));
        AppSettings s = defaults();
        s.userNames[3] = name;
        const SaveStatus status = saveSettings(s, path());
        QVERIFY(!status.ok);
        QVERIFY2(status.error.contains(path()) && status.error.contains(QStringLiteral("User4")) &&
                     status.error.contains(named),
                 qPrintable(status.error));
        QCOMPARE(readAll(path()), QByteArray("[User]\r\nUser4=old\r\n"));
    }

    void failedWriteNamesFile()
    {
        const QString target = m_dir.filePath(QStringLiteral("missing/pellimo.ini"));
        const SaveStatus status = saveSettings(defaults(), target);
        QVERIFY(!status.ok);
        QVERIFY2(status.error.contains(target), qPrintable(status.error));
        QVERIFY(!QFile::exists(target));
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settingsfile.moc"
