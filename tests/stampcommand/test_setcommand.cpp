// SPDX-License-Identifier: MIT
#include "platform/clipboard.h"
#include "stampcommand/setcommand.h"
#include "stamppixels.h"
#include "storage/profilefile.h"

#include <QClipboard>
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
    state.programFolder = folder;
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

    // The profile cannot be written: the stamp is on the clipboard and the failure says so.
    void profileWriteFailureIsReported()
    {
        QTemporaryDir folder;
        const QString notAFolder = folder.filePath(QStringLiteral("plain-file"));
        QFile file(notAFolder);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const AppState state = stateIn(notAFolder, 2);
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
