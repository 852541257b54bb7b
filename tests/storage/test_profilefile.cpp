// SPDX-License-Identifier: MIT
#include "storage/cp932.h"
#include "storage/profilefile.h"
#include "testfiles.h"
#include "warningrecorder.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

using namespace pellimo;

namespace {

const QStringList kLines = referenceProfileLines();

QByteArray fileOf(QStringList lines, const QString &end = QStringLiteral("\r\n"))
{
    return cp932(lines.join(end) + end);
}

QStringList replaced(int line, const QString &text)
{
    QStringList lines = kLines;
    lines[line] = text;
    return lines;
}

} // namespace

class TestProfileFile : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString &name = QStringLiteral("user01.dat"))
    {
        return m_dir.filePath(name);
    }

private Q_SLOTS:
    void filePath_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("user");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "/opt/p" << 3 << "/opt/p/user03.dat";
        QTest::newRow("trailing slash") << "/opt/p/" << 5 << "/opt/p/user05.dat";
        QTest::newRow("not checked") << "/opt/p" << 12 << "/opt/p/user012.dat";
    }
    void filePath()
    {
        QFETCH(QString, folder);
        QFETCH(int, user);
        QFETCH(QString, expected);
        QCOMPARE(profileFilePath(folder, int16_t(user)), expected);
    }

    void savedBytesMatchGoldenFiles()
    {
        StampProfile p;
        loadDefaultProfile(p);
        QVERIFY(saveProfile(p, path()));
        QCOMPARE(readAll(path()),
                 readAll(QStringLiteral(PELLIMO_TEST_DATA "/default-profile.dat")));

        p.items[0].bold = true;
        p.items[0].offsetX = -3;
        p.items[1].text = QStringLiteral("08.12.06");
        QVERIFY(saveProfile(p, path()));
        QCOMPARE(readAll(path()),
                 readAll(QStringLiteral(PELLIMO_TEST_DATA "/bold-organisation-profile.dat")));
    }

    void cp932OnlyCharactersSurvive()
    {
        const QString golden = QStringLiteral(PELLIMO_TEST_DATA "/cp932-only.dat");
        WarningRecorder warnings;
        StampProfile p;
        QVERIFY(loadProfile(p, golden));
        QCOMPARE(p.items[0].text, QStringLiteral(u"髙橋①\uFF5E㈱"));
        QCOMPARE(p.items[1].text, QStringLiteral(u"㍻20.12.06"));
        QCOMPARE(p.items[2].text, QStringLiteral(u"ｱｲｳｴｵﾀﾞｲ"));
        QCOMPARE(p.items[3].fontSize, int16_t(-32768));
        QVERIFY(saveProfile(p, path()));
        QCOMPARE(readAll(path()), readAll(golden));
        QVERIFY(warnings.texts().isEmpty());
    }

    void readsLenientForms_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        const QString ref = describe(referenceProfile());
        QTest::newRow("five lines") << fileOf(kLines) << ref;
        QTest::newRow("33 fields on one line") << fileOf({kLines.join(u',')}) << ref;
        QTest::newRow("LF line ends") << fileOf(kLines, QStringLiteral("\n")) << ref;
        QTest::newRow("no final line end") << cp932(kLines.join(QStringLiteral("\r\n"))) << ref;
        QTest::newRow("blank lines, blanks, lower-case Booleans")
            << fileOf({QStringLiteral(" 16711680 , 3,20,30,45 "), QString(),
                       QStringLiteral(u"#true#, \"ＭＳ 明朝\" ,#False#,12,\"組織名\",-3,2"),
                       kLines[2], kLines[3], kLines[4]})
            << ref;
        QTest::newRow("unquoted strings, leading zeros")
            << fileOf(replaced(3, QStringLiteral(u"#TRUE#,ＭＳ 明朝,#TRUE#,009,名字,4,-0"))) << ref;
        QTest::newRow("anything after the 33rd field ignored")
            << fileOf(kLines + QStringList{QStringLiteral("garbage,\"x")}) << ref;
        StampProfile bands = referenceProfile();
        bands.bottomAreaPercent = 10;
        bands.topAreaPercent = 40;
        bands.radius = 35;
        bands.colour = 255;
        QTest::newRow("third field is the bottom band")
            << fileOf(replaced(0, QStringLiteral("255,1,10,40,35"))) << [&] {
                   bands.lineWidth = 1;
                   return describe(bands);
               }();
        StampProfile extremes = referenceProfile();
        extremes.colour = -2147483647 - 1;
        extremes.lineWidth = -32768;
        extremes.radius = 32767;
        QTest::newRow("widest numbers")
            << fileOf(replaced(0, QStringLiteral("-2147483648,-32768,20,30,32767")))
            << describe(extremes);
        QTest::newRow("blanks after a closing quote")
            << fileOf(replaced(
                   2, QStringLiteral("#FALSE#,\"Arial\" \t,#TRUE#,10,\"08.12.06\"  ,0,-1")))
            << ref;
        StampProfile invalid = referenceProfile();
        invalid.items[1].text = QStringLiteral(u"A\uFFFDB\uFFFD\uFFFD");
        QByteArray invalidBytes = fileOf(kLines);
        invalidBytes.replace("08.12.06", "A\x80"
                                         "B\xFD\x85\x40");
        QTest::newRow("invalid CP932 becomes U+FFFD") << invalidBytes << describe(invalid);
    }
    void readsLenientForms()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QVERIFY(writeAll(path(), content));
        WarningRecorder warnings;
        StampProfile p = sentinelProfile();
        QVERIFY(loadProfile(p, path()));
        QCOMPARE(describe(p), expected);
        QCOMPARE(warnings.texts(), QStringList());
    }

    void damagedFileKeepsEarlierSteps_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("stepsStored"); // line 1 is step 1, item n is step n + 2
        QTest::newRow("empty file") << QByteArray() << 0;
        QTest::newRow("only blank lines") << QByteArray("\r\n \r\n") << 0;
        QTest::newRow("ends after line 4") << fileOf(kLines.mid(0, 4)) << 4;
        QTest::newRow("last field missing")
            << fileOf(replaced(4, QStringLiteral(u"#FALSE#,\"ＭＳ ゴシック\",#FALSE#,8,\"\",-10")))
            << 4;
        QTest::newRow("radius 40000")
            << fileOf(replaced(0, QStringLiteral("255,1,35,35,40000"))) << 0;
        QTest::newRow("offset -32769")
            << fileOf(replaced(2, QStringLiteral("#FALSE#,\"Arial\",#TRUE#,10,\"x\",-32769,0")))
            << 2;
        QTest::newRow("colour past 32 bits")
            << fileOf(replaced(0, QStringLiteral("4294967551,1,35,35,35"))) << 0;
        QTest::newRow("colour 2^31")
            << fileOf(replaced(0, QStringLiteral("2147483648,1,35,35,35"))) << 0;
        QTest::newRow("text where number due")
            << fileOf(replaced(2, QStringLiteral("#FALSE#,\"Arial\",#TRUE#,big,\"x\",0,0"))) << 2;
        QTest::newRow("quoted number")
            << fileOf(replaced(2, QStringLiteral("#FALSE#,\"Arial\",#TRUE#,\"10\",\"x\",0,0")))
            << 2;
        QTest::newRow("fraction") << fileOf(replaced(0, QStringLiteral("255,1.5,35,35,35"))) << 0;
        QTest::newRow("#MAYBE# for a Boolean")
            << fileOf(replaced(3, QStringLiteral("#MAYBE#,\"a\",#TRUE#,9,\"b\",4,0"))) << 3;
        QTest::newRow("empty field") << fileOf(replaced(0, QStringLiteral("255,,35,35,35,1"))) << 0;
        QTest::newRow("comma at line end")
            << fileOf(replaced(0, QStringLiteral("16711680,3,20,30,"))) << 0;
        QTest::newRow("double quote inside a text")
            << fileOf(replaced(
                   1,
                   QStringLiteral("#FALSE#,\"MS Mincho\",#FALSE#,9,\"He said \"hi\" there\",0,0")))
            << 1;
        QTest::newRow("text after the closing quote of a font name")
            << fileOf(replaced(2, QStringLiteral("#FALSE#,\"Arial\"x,#TRUE#,10,\"y\",0,-1"))) << 2;
        QTest::newRow("quote closed just before the line end, then text")
            << fileOf(replaced(3, QStringLiteral("#TRUE#,\"a\",#TRUE#,9,\"b\" c\",4,0"))) << 3;
        QTest::newRow("quote never closed")
            << fileOf(replaced(4, QStringLiteral("#FALSE#,\"x,#FALSE#,8,\"\",-10,10")).mid(0, 4) +
                      QStringList{QStringLiteral("#FALSE#,\"never closed,0,0")})
            << 4;
    }
    void damagedFileKeepsEarlierSteps()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, stepsStored);
        QVERIFY(writeAll(path(), content));
        StampProfile expected = sentinelProfile();
        const StampProfile ref = referenceProfile();
        if (stepsStored >= 1) {
            expected = ref;
            expected.items = sentinelProfile().items;
        }
        for (int i = 0; i + 1 < stepsStored; ++i)
            expected.items[i] = ref.items[i];

        WarningRecorder warnings;
        StampProfile p = sentinelProfile();
        QVERIFY(!loadProfile(p, path()));
        QCOMPARE(describe(p), describe(expected));
        QCOMPARE(warnings.texts(),
                 QStringList{QStringLiteral(u"データファイル読み出し時にエラーが発生しました。\r\n"
                                            u"ファイルが破損している可能性があります。\r\n"
                                            u"ファイルの設定を破棄して標準設定で起動します。")});
        QCOMPARE(readAll(path()), content); // the reader never writes
    }

    void missingFileIsSilent()
    {
        WarningRecorder warnings;
        StampProfile p = sentinelProfile();
        QVERIFY(!loadProfile(p, path(QStringLiteral("absent.dat"))));
        QCOMPARE(describe(p), describe(sentinelProfile()));
        QVERIFY(warnings.texts().isEmpty());
        QVERIFY(!loadProfile(p, m_dir.path())); // a folder is not a profile
        QCOMPARE(warnings.texts().size(), 1);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fontName");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("comma and blanks") << " a, b " << QStringLiteral(u"ＭＳ Ｐゴシック");
        QTest::newRow("line break") << "two\r\nlines"
                                    << "Noto";
        QTest::newRow("CP932-only") << QStringLiteral(u"～①髙㍻ｶﾞ∵") << QStringLiteral(u"髙");
        QTest::newRow("Boolean-looking") << "#TRUE#"
                                         << "-1";
    }
    void roundTrip()
    {
        QFETCH(QString, text);
        QFETCH(QString, fontName);
        StampProfile p = referenceProfile();
        p.colour = -5;
        p.items[2].text = text;
        p.items[3].fontName = fontName;
        p.items[3].offsetY = -32768;
        QVERIFY(saveProfile(p, path()));
        StampProfile back = sentinelProfile();
        QVERIFY(loadProfile(back, path()));
        QCOMPARE(describe(back), describe(p));
    }

    void refusesUnstorableCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("named");
        QTest::newRow("double quote") << "say \"hi\""
                                      << "\"";
        QTest::newRow("emoji") << QStringLiteral(u"a😀b😀") << QStringLiteral(u"😀");
        QTest::newRow("wave dash and yen") << QStringLiteral(u"〜¥") << QStringLiteral(u"〜¥");
        QTest::newRow("replacement character") << QStringLiteral(u"A\uFFFD") << "\uFFFD";
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QString(QChar(0xD800));
    }
    void refusesUnstorableCharacters()
    {
        QFETCH(QString, text);
        QFETCH(QString, named);
        QCOMPARE(unstorableCharacters(text), named);
        QVERIFY(writeAll(path(), "previous"));
        StampProfile p = referenceProfile();
        p.items[1].text = text;
        SaveStatus status = saveProfile(p, path());
        QVERIFY(!status.ok);
        QVERIFY2(status.error.contains(path()), qPrintable(status.error));
        QCOMPARE(readAll(path()), QByteArray("previous"));
        p.items[1].text = QString();
        p.items[3].fontName = text;
        QVERIFY(!saveProfile(p, path()).ok);
        QCOMPARE(readAll(path()), QByteArray("previous"));
    }

    void errorNamesVisibleCharacters()
    {
        StampProfile p = referenceProfile();
        p.items[0].text = QStringLiteral(u"x😀\"");
        const SaveStatus status = saveProfile(p, path());
        QVERIFY(status.error.contains(QStringLiteral(u"「😀」")));
        QVERIFY(status.error.contains(QStringLiteral(u"「\"」")));
    }

    void failedWriteNamesFileAndKeepsPrevious_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("missing folder") << QStringLiteral("missing/user01.dat");
        QTest::newRow("parent is a file") << QStringLiteral("plain/user01.dat");
        QTest::newRow("target is a folder") << QStringLiteral("folder");
    }
    void failedWriteNamesFileAndKeepsPrevious()
    {
        QFETCH(QString, target);
        QVERIFY(writeAll(path(QStringLiteral("plain")), "not a folder"));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder")));
        StampProfile p;
        loadDefaultProfile(p);
        const SaveStatus status = saveProfile(p, path(target));
        QVERIFY(!status.ok);
        QVERIFY2(status.error.contains(path(target)), qPrintable(status.error));
        QCOMPARE(readAll(path(QStringLiteral("plain"))), QByteArray("not a folder"));
    }

    void writeFailingMidwayKeepsPreviousFile()
    {
        // A file-size limit makes the write itself fail, as a full disk would.
        QTemporaryDir own;
        const QString target = own.filePath(QStringLiteral("user02.dat"));
        QVERIFY(writeAll(target, fileOf(kLines)));
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit tiny = saved;
        tiny.rlim_cur = 16;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &tiny), 0);
        StampProfile p;
        loadDefaultProfile(p);
        const SaveStatus status = saveProfile(p, target);
        setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY(!status.ok);
        QVERIFY2(status.error.contains(target), qPrintable(status.error));
        QCOMPARE(readAll(target), fileOf(kLines));
        QCOMPARE(QDir(own.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"user02.dat"});
    }

    void largeAndRandomFilesEndCleanly()
    {
        WarningRecorder warnings;
        StampProfile p;
        QVERIFY(writeAll(path(), QByteArray(10 * 1024 * 1024, 'x')));
        QVERIFY(!loadProfile(p, path()));
        QString big(5 * 1024 * 1024, QChar(u'字'));
        writeAll(path(), fileOf(replaced(2, QStringLiteral("#FALSE#,\"A\",#TRUE#,10,\"") + big +
                                                QStringLiteral("\",0,-1"))));
        QVERIFY(loadProfile(p, path()));
        QCOMPARE(p.items[1].text.size(), big.size());
        // A field that runs past what the reader looks at is damage; trailing bulk is not.
        QVERIFY(writeAll(path(), fileOf(kLines) + QByteArray(17 * 1024 * 1024, '9')));
        QVERIFY(loadProfile(p, path()));
        QVERIFY(writeAll(path(), "255,1,35,35," + QByteArray(17 * 1024 * 1024, '9')));
        QVERIFY(!loadProfile(p, path()));
        QCOMPARE(warnings.texts().size(), 2);

        QRandomGenerator random(20081206);
        const QByteArray valid = fileOf(kLines);
        for (int round = 0; round < 400; ++round) {
            QByteArray bytes = valid;
            if (round % 2) {
                bytes.resize(random.bounded(600));
                for (char &c : bytes)
                    c = char(random.bounded(256));
            } else {
                for (int n = random.bounded(1, 4); n > 0; --n)
                    bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
            }
            QVERIFY(writeAll(path(), bytes));
            const qsizetype before = warnings.texts().size();
            const bool read = loadProfile(p, path());
            QCOMPARE(warnings.texts().size() - before, qsizetype(read ? 0 : 1));
        }
    }

    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void cleanup() { QFile::remove(path()); }
};

QTEST_GUILESS_MAIN(TestProfileFile)
#include "test_profilefile.moc"
