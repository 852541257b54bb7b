// SPDX-License-Identifier: MIT
#include "app/startupsequence.h"
#include "model/appstate.h"
#include "model/stampprofile.h"
#include "model/warning.h"
#include "storage/profilefile.h"
#include "storage/settingsfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace pellimo;

namespace {

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray golden(const char *name)
{
    return readBytes(QStringLiteral(PELLIMO_TEST_DATA "/") + QLatin1String(name));
}

// A profile file that differs from the default one in its radius only.
QByteArray profileWithRadius(int radius)
{
    QByteArray bytes = golden("default-profile.dat");
    bytes.replace("255,1,35,35,35\r\n", "255,1,35,35," + QByteArray::number(radius) + "\r\n");
    return bytes;
}

QByteArray settingsWithDefaultUser(int user)
{
    QByteArray bytes = golden("default-settings.ini");
    bytes.replace("Default=1\r\n", "Default=" + QByteArray::number(user) + "\r\n");
    return bytes;
}

QString userFile(const QTemporaryDir &dir, int user)
{
    return profileFilePath(dir.path(), int16_t(user));
}

// Records the warnings shown while it lives.
struct Warnings {
    QStringList texts;
    WarningHandler previous = setWarningHandler([this](const QString &t) { texts << t; });
    ~Warnings() { setWarningHandler(previous); }
};

const QDateTime kLongAgo = QDateTime(QDate(2001, 6, 4), QTime(12, 0));

void ageFile(const QString &path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(kLongAgo, QFileDevice::FileModificationTime));
}

} // namespace

class TestStartUpSequence : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!golden("default-profile.dat").isEmpty(), "golden default profile missing");
        QVERIFY2(!golden("default-settings.ini").isEmpty(), "golden default settings missing");
    }

    void firstStartCreatesEverything()
    {
        QTemporaryDir dir;
        AppState state;
        state.dataFolder = dir.path();
        Warnings warnings;
        QVERIFY(runStartUpSequence(state, QString()));
        QCOMPARE(readBytes(settingsFilePath(dir.path())), golden("default-settings.ini"));
        for (int user = 1; user <= 5; ++user)
            QCOMPARE(readBytes(userFile(dir, user)), golden("default-profile.dat"));
        StampProfile defaults;
        loadDefaultProfile(defaults);
        QCOMPARE(state.profile, defaults);
        QCOMPARE(state.currentUser, int16_t(1));
        QCOMPARE(state.noGuiMode, false);
        QVERIFY(warnings.texts.isEmpty());
    }

    // Only missing files are written; existing ones are neither changed nor rewritten.
    void onlyMissingFilesCreated_data()
    {
        QTest::addColumn<QList<int>>("missingUsers");
        QTest::addColumn<bool>("settingsMissing");
        QTest::newRow("only user03.dat") << QList<int>{3} << false;
        QTest::newRow("user01 and user05") << QList<int>{1, 5} << false;
        QTest::newRow("only the settings") << QList<int>{} << true;
        QTest::newRow("settings and user02") << QList<int>{2} << true;
    }
    void onlyMissingFilesCreated()
    {
        QFETCH(QList<int>, missingUsers);
        QFETCH(bool, settingsMissing);
        QTemporaryDir dir;
        if (!settingsMissing) {
            writeBytes(settingsFilePath(dir.path()), settingsWithDefaultUser(4));
            ageFile(settingsFilePath(dir.path()));
        }
        for (int user = 1; user <= 5; ++user) {
            if (!missingUsers.contains(user)) {
                writeBytes(userFile(dir, user), profileWithRadius(20 + user));
                ageFile(userFile(dir, user));
            }
        }

        AppState state;
        state.dataFolder = dir.path();
        QVERIFY(runStartUpSequence(state, QString()));

        for (int user = 1; user <= 5; ++user) {
            const QString path = userFile(dir, user);
            if (missingUsers.contains(user)) {
                QCOMPARE(readBytes(path), golden("default-profile.dat"));
            } else {
                QCOMPARE(readBytes(path), profileWithRadius(20 + user));
                QCOMPARE(QFileInfo(path).lastModified(), kLongAgo);
            }
        }
        const QString ini = settingsFilePath(dir.path());
        if (settingsMissing) {
            QCOMPARE(readBytes(ini), golden("default-settings.ini"));
        } else {
            QCOMPARE(readBytes(ini), settingsWithDefaultUser(4));
            QCOMPARE(QFileInfo(ini).lastModified(), kLongAgo);
        }
        // The start-up user's profile is read after the files exist.
        const int startUser = settingsMissing ? 1 : 4;
        QCOMPARE(state.currentUser, int16_t(startUser));
        QCOMPARE(state.profile.radius,
                 int16_t(missingUsers.contains(startUser) ? 35 : 20 + startUser));
    }

    // The command line over users whose radius tells them apart (user N has radius 20 + N);
    // the start-up user is 2.
    void commandLine_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<bool>("noGui");
        QTest::addColumn<int>("user");
        QTest::newRow("none") << QString() << false << 2;
        QTest::newRow("nogui") << QStringLiteral("nogui") << true << 2;
        QTest::newRow("NOGUI U4") << QStringLiteral("NOGUI U4") << true << 4;
        QTest::newRow("nogui u4 extra") << QStringLiteral("nogui u4 extra") << true << 4;
        QTest::newRow("nogui, two spaces, u4") << QStringLiteral("nogui  u4") << true << 2;
        QTest::newRow("nogui u9") << QStringLiteral("nogui u9") << true << 2;
        QTest::newRow("nogui u1") << QStringLiteral("nogui u1") << true << 1;
        QTest::newRow("NoGui u5") << QStringLiteral("NoGui u5") << true << 5;
        QTest::newRow("nogui, trailing space") << QStringLiteral("nogui ") << true << 2;
        QTest::newRow("nogui u0") << QStringLiteral("nogui u0") << true << 2;
        QTest::newRow("u4 alone") << QStringLiteral("u4") << false << 2;
        QTest::newRow("/nogui") << QStringLiteral("/nogui") << false << 2;
        QTest::newRow("-nogui") << QStringLiteral("-nogui") << false << 2;
        QTest::newRow("nogui,") << QStringLiteral("nogui, u4") << false << 2;
        QTest::newRow("leading space") << QStringLiteral(" nogui u4") << false << 2;
        QTest::newRow("u4 then nogui") << QStringLiteral("u4 nogui") << false << 2;
    }
    void commandLine()
    {
        QFETCH(QString, arguments);
        QFETCH(bool, noGui);
        QFETCH(int, user);
        QTemporaryDir dir;
        const QByteArray settings = settingsWithDefaultUser(2);
        writeBytes(settingsFilePath(dir.path()), settings);
        for (int n = 1; n <= 5; ++n)
            writeBytes(userFile(dir, n), profileWithRadius(20 + n));

        AppState state;
        state.dataFolder = dir.path();
        Warnings warnings;
        QVERIFY(runStartUpSequence(state, arguments));
        QCOMPARE(state.noGuiMode, noGui);
        QCOMPARE(state.currentUser, int16_t(user));
        QCOMPARE(state.profile.radius, int16_t(20 + user));
        // The choice holds for this run only.
        QCOMPARE(state.settings.defaultUser, int16_t(2));
        QCOMPARE(readBytes(settingsFilePath(dir.path())), settings);
        for (int n = 1; n <= 5; ++n)
            QCOMPARE(readBytes(userFile(dir, n)), profileWithRadius(20 + n));
        QVERIFY(warnings.texts.isEmpty());
    }

    // A damaged profile of the user that is finally chosen: one warning, the defaults in memory,
    // the damaged file left as it is.
    void damagedProfile_data()
    {
        QTest::addColumn<int>("damagedUser");
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("user");
        QTest::addColumn<int>("expectedWarnings");
        QTest::addColumn<int>("radius");
        QTest::newRow("start-up user, normal mode") << 3 << QString() << 3 << 1 << 35;
        QTest::newRow("start-up user, nogui") << 3 << QStringLiteral("nogui") << 3 << 1 << 35;
        QTest::newRow("start-up user again by name")
            << 3 << QStringLiteral("nogui u3") << 3 << 1 << 35;
        QTest::newRow("start-up user, empty user token")
            << 3 << QStringLiteral("nogui  u3") << 3 << 1 << 35;
        QTest::newRow("user chosen on the command line")
            << 4 << QStringLiteral("nogui u4") << 4 << 1 << 35;
        QTest::newRow("start-up user damaged, another chosen")
            << 3 << QStringLiteral("nogui u5") << 5 << 1 << 25;
        QTest::newRow("another user damaged, not chosen")
            << 4 << QStringLiteral("nogui") << 3 << 0 << 23;
    }
    void damagedProfile()
    {
        QFETCH(int, damagedUser);
        QFETCH(QString, arguments);
        QFETCH(int, user);
        QFETCH(int, expectedWarnings);
        QFETCH(int, radius);
        QTemporaryDir dir;
        writeBytes(settingsFilePath(dir.path()), settingsWithDefaultUser(3));
        for (int n = 1; n <= 5; ++n)
            writeBytes(userFile(dir, n), profileWithRadius(20 + n));
        const QByteArray damaged = "255,1,35,35,40000\r\n#FALSE#,";
        writeBytes(userFile(dir, damagedUser), damaged);

        AppState state;
        state.dataFolder = dir.path();
        Warnings warnings;
        QVERIFY(runStartUpSequence(state, arguments));
        QCOMPARE(state.currentUser, int16_t(user));
        QCOMPARE(state.profile.radius, int16_t(radius));
        QCOMPARE(warnings.texts.size(), expectedWarnings);
        for (const QString &text : warnings.texts)
            QCOMPARE(text, profileReadWarningText());
        if (radius == 35) { // fell back: every field is the default, nothing half-read remains
            StampProfile defaults;
            loadDefaultProfile(defaults);
            QCOMPARE(state.profile, defaults);
        }
        QCOMPARE(readBytes(userFile(dir, damagedUser)), damaged);
    }

    // A profile file that cannot be created stops start-up with a message naming the file and
    // the reason; the files before it are made, none after it.
    void profileCannotBeCreated()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("user03.dat")));
        AppState state;
        state.dataFolder = dir.path();
        const SaveStatus status = runStartUpSequence(state, QStringLiteral("nogui"));
        QVERIFY(!status);
        QVERIFY2(status.error.contains(QStringLiteral("user03.dat")), qPrintable(status.error));
        QVERIFY(status.error.size() > userFile(dir, 3).size() + 8); // a reason follows the name
        QVERIFY(QFile::exists(userFile(dir, 1)));
        QVERIFY(QFile::exists(userFile(dir, 2)));
        QVERIFY(!QFile::exists(userFile(dir, 4)));
        QVERIFY(!QFile::exists(userFile(dir, 5)));
        QCOMPARE(state.noGuiMode, false); // the command line was not reached
    }

    // A folder that cannot be written at all: the settings fail silently (defaults in memory),
    // the first profile fails loudly.
    void unwritableFolder()
    {
        QTemporaryDir dir;
        writeBytes(dir.filePath(QStringLiteral("plain")), "x");
        AppState state;
        state.dataFolder = dir.filePath(QStringLiteral("plain/folder"));
        const SaveStatus status = runStartUpSequence(state, QString());
        QVERIFY(!status);
        QVERIFY2(status.error.contains(QStringLiteral("user01.dat")), qPrintable(status.error));
        AppSettings defaults;
        loadDefaultSettings(defaults);
        QCOMPARE(state.settings, defaults);
    }
};

QTEST_GUILESS_MAIN(TestStartUpSequence)
#include "test_startupsequence.moc"
