// SPDX-License-Identifier: MIT
// Kills a process that saves without pause at random moments: each data file must always hold one
// whole version, the old or the new, never a mix or a truncation.
#include "savedesigns.h"
#include "storage/profilefile.h"
#include "storage/settingsfile.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <csignal>

using namespace pellimo;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

template <typename Save> QByteArray savedBytes(Save save)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("file"));
    if (!save(path))
        return {};
    return bytesOf(path);
}

} // namespace

class TestCrashSafe : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void killedMidSaveLeavesAWholeFile()
    {
        const QByteArray profileA =
            savedBytes([](const QString &p) { return bool(saveProfile(designA(), p)); });
        const QByteArray profileB =
            savedBytes([](const QString &p) { return bool(saveProfile(designB(), p)); });
        const QByteArray settingsBytesA =
            savedBytes([](const QString &p) { return bool(saveSettings(settingsA(), p)); });
        const QByteArray settingsBytesB = savedBytes([](const QString &p) {
            return saveSettings(settingsA(), p) && saveSettings(settingsB(), p);
        });
        QVERIFY(!profileA.isEmpty() && !profileB.isEmpty() && profileA != profileB);
        QVERIFY(!settingsBytesA.isEmpty() && !settingsBytesB.isEmpty());
        QVERIFY(settingsBytesA.size() != settingsBytesB.size());

        const QString stress =
            QCoreApplication::applicationDirPath() + QStringLiteral("/savestress");
        const int kills = qEnvironmentVariableIntValue("PELLIMO_KILLS") > 0
                              ? qEnvironmentVariableIntValue("PELLIMO_KILLS")
                              : 150;
        int sawProfileA = 0, sawProfileB = 0, sawSettingsA = 0, sawSettingsB = 0;
        for (int round = 0; round < kills; ++round) {
            QTemporaryDir dir;
            QVERIFY(dir.isValid());
            QVERIFY(saveProfile(designA(), profileFilePath(dir.path(), 1)));
            QVERIFY(saveSettings(settingsA(), settingsFilePath(dir.path())));

            QProcess child;
            child.start(stress, {dir.path()});
            QVERIFY2(child.waitForReadyRead(10000), "the saving process did not start");
            // A random moment within the first few dozen saves (one takes a few milliseconds).
            QThread::usleep(QRandomGenerator::global()->bounded(60000u));
            ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
            QVERIFY(child.waitForFinished(10000));
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);

            const QByteArray profile = bytesOf(profileFilePath(dir.path(), 1));
            const QByteArray settings = bytesOf(settingsFilePath(dir.path()));
            QVERIFY2(profile == profileA || profile == profileB,
                     qPrintable(QStringLiteral("round %1: profile of %2 bytes is neither version")
                                    .arg(round)
                                    .arg(profile.size())));
            QVERIFY2(settings == settingsBytesA || settings == settingsBytesB,
                     qPrintable(QStringLiteral("round %1: settings of %2 bytes is neither version")
                                    .arg(round)
                                    .arg(settings.size())));
            (profile == profileA ? sawProfileA : sawProfileB)++;
            (settings == settingsBytesA ? sawSettingsA : sawSettingsB)++;
        }
        qInfo("%d kills: profile old/new %d/%d, settings old/new %d/%d", kills, sawProfileA,
              sawProfileB, sawSettingsA, sawSettingsB);
        // Both versions must have been seen, or the kills never landed during the saving.
        QVERIFY(sawProfileA > 0 && sawProfileB > 0);
    }
};

QTEST_GUILESS_MAIN(TestCrashSafe)
#include "test_crashsafe.moc"
