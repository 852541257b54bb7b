// SPDX-License-Identifier: MIT
#include "platform/clipboard.h"
#include "session/setcommand.h"
#include "stamppixels.h"
#include "storage/profilebackup.h"
#include "storage/profilefile.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

AppState stateIn(const QString &folder, int16_t user)
{
    AppState state;
    loadDefaultProfile(state.profile);
    state.profile.items[1].text = QStringLiteral("08.12.07");
    state.currentUser = user;
    state.dataFolder = folder;
    return state;
}

} // namespace

class TestSetCommand : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Set: the clipboard is cleared and holds exactly the cut-out; the profile file is written.
    void setPutsStampOnClipboardAndSaves()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        AppState state = stateIn(folder.path(), 3);
        state.profile.radius = 50;
        const QImage picBase = drawn(state.profile);
        QGuiApplication::clipboard()->setText(QStringLiteral("earlier text"));

        QImage picTemp;
        const SaveStatus status = runSetCommand(state, picBase, picTemp);
        QVERIFY2(status.ok, qPrintable(status.error));
        QCOMPARE(picTemp.size(), QSize(108, 108));

        const QMimeData *offered = QGuiApplication::clipboard()->mimeData();
        QVERIFY(offered != nullptr);
        QVERIFY(offered->hasImage());
        QVERIFY(!offered->hasText());
        QCOMPARE(QGuiApplication::clipboard()->image(), picTemp);

        const QString path = folder.filePath(QStringLiteral("user03.dat"));
        QVERIFY(QFile::exists(path));
        StampProfile read;
        QVERIFY(loadProfile(read, path));
        QCOMPARE(read, state.profile);
    }

    // Set twice writes the file twice and leaves the second cut-out on the clipboard.
    void setTwiceKeepsTheSecondCutOut()
    {
        QTemporaryDir folder;
        AppState state = stateIn(folder.path(), 1);
        QImage picTemp;
        QVERIFY(runSetCommand(state, drawn(state.profile), picTemp).ok);
        state.profile.radius = 20;
        QVERIFY(runSetCommand(state, drawn(state.profile), picTemp).ok);
        QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(48, 48));
        StampProfile read;
        QVERIFY(loadProfile(read, folder.filePath(QStringLiteral("user01.dat"))));
        QCOMPARE(read.radius, int16_t(20));
    }

    // Set over a file that failed to read in this run first keeps the file's bytes beside it, once;
    // a file that was read is saved over without a backup.
    void setKeepsUnreadFileFirst_data()
    {
        QTest::addColumn<bool>("unread");
        QTest::addColumn<QStringList>("earlier"); // backups already there
        QTest::addColumn<QString>("backup");      // expected new backup, empty for none
        QTest::newRow("read without fault") << false << QStringList{} << QString();
        QTest::newRow("unread") << true << QStringList{} << "user02.dat.damaged";
        QTest::newRow("unread, two earlier backups")
            << true << QStringList{"user02.dat.damaged", "user02.dat.damaged.1"}
            << "user02.dat.damaged.2";
    }
    void setKeepsUnreadFileFirst()
    {
        QFETCH(bool, unread);
        QFETCH(QStringList, earlier);
        QFETCH(QString, backup);
        QTemporaryDir folder;
        AppState state = stateIn(folder.path(), 2);
        if (unread)
            state.unreadProfiles.insert(2);
        const QByteArray damaged = QByteArrayLiteral("255,1,35,35,40000\r\n#FALSE#,");
        const QString path = folder.filePath(QStringLiteral("user02.dat"));
        auto write = [](const QString &name, const QByteArray &bytes) {
            QFile f(name);
            return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
        };
        QVERIFY(write(path, damaged));
        for (const QString &name : earlier)
            QVERIFY(write(folder.filePath(name), name.toUtf8()));

        QImage picTemp;
        QVERIFY(runSetCommand(state, drawn(state.profile), picTemp).ok);
        QVERIFY(runSetCommand(state, drawn(state.profile), picTemp).ok); // no second backup

        QStringList expected = earlier;
        if (!backup.isEmpty())
            expected << backup;
        expected << QStringLiteral("user02.dat");
        expected.sort();
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files, QDir::Name), expected);
        if (!backup.isEmpty()) {
            QFile kept(folder.filePath(backup));
            QVERIFY(kept.open(QIODevice::ReadOnly));
            QCOMPARE(kept.readAll(), damaged);
        }
        for (const QString &name : earlier) {
            QFile f(folder.filePath(name));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), name.toUtf8());
        }
        StampProfile read;
        QVERIFY(loadProfile(read, path));
        QCOMPARE(read, state.profile);
        QVERIFY(!state.unreadProfiles.contains(2));
    }

    // No backup can be made: the unread file is not saved over, and the failure says so.
    void noBackupNoSave()
    {
        QTemporaryDir folder;
        AppState state = stateIn(folder.path(), 2);
        state.unreadProfiles.insert(2);
        const QString path = folder.filePath(QStringLiteral("user02.dat"));
        QFile damaged(path);
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("damaged");
        damaged.close();
        for (int attempt = 0; attempt < kMaxProfileBackups; ++attempt) {
            QFile taken(backupCandidate(path, attempt));
            QVERIFY(taken.open(QIODevice::WriteOnly));
        }
        QImage picTemp;
        const SaveStatus status = runSetCommand(state, drawn(state.profile), picTemp);
        QVERIFY(!status.ok);
        QVERIFY(status.error.contains(QStringLiteral(u"プロファイルを保存できませんでした")));
        QVERIFY(damaged.open(QIODevice::ReadOnly));
        QCOMPARE(damaged.readAll(), QByteArray("damaged"));
        QVERIFY(state.unreadProfiles.contains(2));
    }

    // The profile cannot be written: the stamp is on the clipboard and the failure says so.
    void profileWriteFailureIsReported()
    {
        QTemporaryDir folder;
        const QString notAFolder = folder.filePath(QStringLiteral("plain-file"));
        QFile file(notAFolder);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        AppState state = stateIn(notAFolder, 2);
        const QImage picBase = drawn(state.profile);

        QImage picTemp;
        const SaveStatus status = runSetCommand(state, picBase, picTemp);
        QVERIFY(!status.ok);
        QVERIFY(status.error.contains(QStringLiteral(u"プロファイルを保存できませんでした")));
        QVERIFY(status.error.contains(QStringLiteral("user02.dat")));
        QCOMPARE(QGuiApplication::clipboard()->image(), picTemp);
    }

    // A cut-out that cannot be made touches neither the clipboard nor the file.
    void cutOutFailureChangesNothing()
    {
        QTemporaryDir folder;
        AppState state = stateIn(folder.path(), 4);
        const QImage picBase = drawn(state.profile);
        state.profile.radius = -35;
        QGuiApplication::clipboard()->setText(QStringLiteral("kept"));

        QImage picTemp;
        const SaveStatus status = runSetCommand(state, picBase, picTemp);
        QVERIFY(!status.ok);
        QVERIFY(status.error.contains(QStringLiteral(u"切り出せません")));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("user04.dat"))));
    }

    void emptyImageIsNotPutOnClipboard()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
        QVERIFY(!putStampOnClipboard(QImage()));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    }
};

QTEST_MAIN(TestSetCommand)
#include "test_setcommand.moc"
