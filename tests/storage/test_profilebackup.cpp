// SPDX-License-Identifier: MIT
// A profile file that failed to read is remembered for the run, and its bytes are copied beside it
// before anything saves over it: never over an earlier backup.
#include "storage/profilebackup.h"
#include "storage/profilefile.h"
#include "testfiles.h"
#include "warningrecorder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace pellimo;

namespace {

// Names in the folder with what each holds: a file's bytes, "<dir>" or "-> target".
QMap<QString, QByteArray> contentsOf(const QString &folder)
{
    QMap<QString, QByteArray> out;
    const QDir dir(folder);
    for (const QFileInfo &info :
         dir.entryInfoList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (info.isSymLink())
            out[info.fileName()] = "-> " + info.symLinkTarget().toUtf8();
        else if (info.isDir())
            out[info.fileName()] = "<dir>";
        else
            out[info.fileName()] = readAll(info.filePath());
    }
    return out;
}

const QByteArray kDamaged = QByteArrayLiteral("\xEF\xBB\xBF"
                                              "255,1,35,35,35\r\n#FALSE#,");

} // namespace

class TestProfileBackup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void backupTakesTheFirstFreeName_data()
    {
        QTest::addColumn<QStringList>("present"); // suffixes after user02.dat; "dir:", "link:"
        QTest::addColumn<QString>("expected");
        QTest::newRow("none yet") << QStringList{} << ".damaged";
        QTest::newRow("one earlier") << QStringList{".damaged"} << ".damaged.1";
        QTest::newRow("two earlier") << QStringList{".damaged", ".damaged.1"} << ".damaged.2";
        QTest::newRow("a gap is filled") << QStringList{".damaged.1"} << ".damaged";
        QTest::newRow("a folder in the way") << QStringList{"dir:.damaged"} << ".damaged.1";
        QTest::newRow("a dangling link in the way")
            << QStringList{"link:.damaged", ".damaged.1"} << ".damaged.2";
    }
    void backupTakesTheFirstFreeName()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("user02.dat"));
        QVERIFY(writeAll(path, kDamaged));
        for (const QString &entry : present) {
            if (entry.startsWith(QLatin1String("dir:")))
                QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("user02.dat") + entry.mid(4)));
            else if (entry.startsWith(QLatin1String("link:")))
                QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowhere")), path + entry.mid(5)));
            else
                QVERIFY(writeAll(path + entry, "earlier " + entry.toUtf8()));
        }
        const auto before = contentsOf(dir.path());

        const ProfileBackup kept = keepDamagedProfile(path);

        QVERIFY2(kept.status.ok, qPrintable(kept.status.error));
        QCOMPARE(kept.path, path + expected);
        auto after = contentsOf(dir.path());
        QCOMPARE(after.take(QStringLiteral("user02.dat") + expected), kDamaged);
        QCOMPARE(after, before); // the file itself and every earlier entry as they were
    }

    // Every backup name in use: nothing is written and the failure says why.
    void everyNameTakenIsAFailure()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("user02.dat"));
        QVERIFY(writeAll(path, kDamaged));
        for (int attempt = 0; attempt < kMaxProfileBackups; ++attempt)
            QVERIFY(writeAll(backupCandidate(path, attempt), "x"));
        const auto before = contentsOf(dir.path());
        const ProfileBackup kept = keepDamagedProfile(path);
        QVERIFY(!kept.status.ok);
        QVERIFY(kept.status.error.contains(QStringLiteral("user02.dat.damaged")));
        QCOMPARE(kept.path, QString());
        QCOMPARE(contentsOf(dir.path()), before);
    }

    // A file that is not there, or is no regular file, has no bytes to keep: nothing is written.
    void nothingToKeep_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("folder") << "folder";
    }
    void nothingToKeep()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("user03.dat"));
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("user03.dat")));
        const auto before = contentsOf(dir.path());
        const ProfileBackup kept = keepDamagedProfile(path);
        QVERIFY(kept.status.ok);
        QCOMPARE(kept.path, QString());
        QCOMPARE(contentsOf(dir.path()), before);
    }

    // Which users the run could not read: a damaged or missing file is noted and gives the
    // defaults; a file read later in the run without fault clears the note.
    void unreadProfilesAreNoted_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file
        QTest::addColumn<bool>("notedBefore");
        QTest::addColumn<bool>("noted");
        QTest::addColumn<int>("warnings");
        const QByteArray good = readAll(QStringLiteral(PELLIMO_TEST_DATA "/default-profile.dat"));
        QTest::newRow("read") << good << false << false << 0;
        QTest::newRow("damaged") << kDamaged << false << true << 1;
        QTest::newRow("missing") << QByteArray() << false << true << 0;
        QTest::newRow("mended since the last read") << good << true << false << 0;
        QTest::newRow("damaged again") << kDamaged << true << true << 1;
    }
    void unreadProfilesAreNoted()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, notedBefore);
        QFETCH(bool, noted);
        QFETCH(int, warnings);
        QTemporaryDir dir;
        AppState state;
        state.dataFolder = dir.path();
        state.currentUser = 4;
        if (notedBefore)
            state.unreadProfiles.insert(4);
        state.unreadProfiles.insert(2); // another user's note stays
        state.profile.radius = 44;
        if (!content.isEmpty())
            QVERIFY(writeAll(profileFilePath(dir.path(), 4), content));

        WarningRecorder recorder;
        loadCurrentProfile(state);

        QCOMPARE(state.unreadProfiles.contains(4), noted);
        QVERIFY(state.unreadProfiles.contains(2));
        QCOMPARE(recorder.texts().size(), warnings);
        QCOMPARE(state.profile.radius, int16_t(35)); // the file's or the default
    }
};

QTEST_GUILESS_MAIN(TestProfileBackup)
#include "test_profilebackup.moc"
