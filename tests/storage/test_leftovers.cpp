// SPDX-License-Identifier: MIT
// Leftovers of interrupted saves: the temporary files of our own data files go, everything else
// in the program folder stays, a copy the user named like one included.

#include "storage/leftovers.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace pellimo;

class TestLeftovers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void removesOnlyOurTemporaryFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("removed");
        QTest::newRow("profile 1") << QStringLiteral("user01.dat.HnnTMv") << true;
        QTest::newRow("profile 5") << QStringLiteral("user05.dat.qWeRtY") << true;
        QTest::newRow("settings") << QStringLiteral("pellimo.ini.aBcDeF") << true;
        QTest::newRow("first letter lower, rest upper")
            << QStringLiteral("user02.dat.xKQZWP") << true;
        QTest::newRow("no such user") << QStringLiteral("user06.dat.HnnTMv") << false;
        QTest::newRow("user 0") << QStringLiteral("user00.dat.HnnTMv") << false;
        QTest::newRow("other case") << QStringLiteral("USER01.DAT.HnnTMv") << false;
        QTest::newRow("prefixed") << QStringLiteral("xuser01.dat.HnnTMv") << false;
        QTest::newRow("five letters") << QStringLiteral("user01.dat.HnnTM") << false;
        QTest::newRow("seven letters") << QStringLiteral("user01.dat.HnnTMvv") << false;
        QTest::newRow("a digit") << QStringLiteral("user01.dat.Hn1TMv") << false;
        QTest::newRow("no dot") << QStringLiteral("user01.datHnnTMvx") << false;
        QTest::newRow("a word: backup") << QStringLiteral("user01.dat.backup") << false;
        QTest::newRow("a word: Backup") << QStringLiteral("user01.dat.Backup") << false;
        QTest::newRow("a word: BACKUP") << QStringLiteral("pellimo.ini.BACKUP") << false;
        QTest::newRow("the backup of a damaged file")
            << QStringLiteral("user02.dat.damaged") << false;
        QTest::newRow("the data file itself") << QStringLiteral("user01.dat") << false;
        QTest::newRow("the lock file") << QStringLiteral(".pellimo.lock") << false;
    }
    void removesOnlyOurTemporaryFiles()
    {
        QFETCH(QString, name);
        QFETCH(bool, removed);
        QTemporaryDir dir;
        QVERIFY(writeAll(dir.filePath(name), "255,1,35,35,40\r\n"));
        QVERIFY(writeAll(dir.filePath(QStringLiteral("user01.dat")), "kept"));

        const QStringList gone = removeLeftoverSaveFiles(dir.path());
        QCOMPARE(gone, removed ? QStringList{name} : QStringList());
        QCOMPARE(QFile::exists(dir.filePath(name)), !removed || name == u"user01.dat");
        QCOMPARE(readAll(dir.filePath(QStringLiteral("user01.dat"))), QByteArray("kept"));
    }

    // A link or a folder with a leftover's name is not a file a save left: it stays, and so does
    // what a link points to.
    void keepsLinksAndFolders()
    {
        QTemporaryDir dir;
        QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath(QStringLiteral("precious"));
        QVERIFY(writeAll(target, "precious"));
        QVERIFY(QFile::link(target, dir.filePath(QStringLiteral("user01.dat.HnnTMv"))));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("user02.dat.HnnTMv")));

        QCOMPARE(removeLeftoverSaveFiles(dir.path()), QStringList());
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("user01.dat.HnnTMv"))).isSymLink());
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("user02.dat.HnnTMv"))).isDir());
        QCOMPARE(readAll(target), QByteArray("precious"));
    }
};

QTEST_GUILESS_MAIN(TestLeftovers)
#include "test_leftovers.moc"
