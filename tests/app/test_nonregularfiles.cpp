// SPDX-License-Identifier: MIT
// Something other than a regular file where a data file belongs: a FIFO is refused the way a
// folder is, at once, and is left where it is. A FIFO that were opened like a file would hold
// start-up, with the lock taken, until some other process wrote to it.

#include "app/startupsequence.h"
#include "model/appsettings.h"
#include "model/appstate.h"
#include "storage/datafileio.h"
#include "storage/profilefile.h"
#include "storage/settingsfile.h"
#include "testfiles.h"
#include "warningrecorder.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace pellimo;

namespace {

enum class Kind { Fifo, Folder };

bool makeNode(const QString &path, Kind kind)
{
    if (kind == Kind::Folder)
        return QDir().mkdir(path);
    return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}

bool stillThere(const QString &path, Kind kind)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return kind == Kind::Folder ? S_ISDIR(st.st_mode) : S_ISFIFO(st.st_mode);
}

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestNonRegularFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Start-up over the whole folder: a profile that is not a file stops it with a message that
    // names the file; a settings file that is not a file leaves the defaults in memory.
    void startUp_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("starts");
        for (const Kind kind : {Kind::Fifo, Kind::Folder}) {
            const char *k = kind == Kind::Fifo ? "FIFO" : "folder";
            QTest::addRow("%s as the start-up user's profile", k)
                << kind << QStringLiteral("user01.dat") << false;
            QTest::addRow("%s as another user's profile", k)
                << kind << QStringLiteral("user04.dat") << false;
            QTest::addRow("%s as the settings file", k)
                << kind << QStringLiteral("pellimo.ini") << true;
        }
    }
    void startUp()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, name);
        QFETCH(bool, starts);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QVERIFY(makeNode(path, kind));

        AppState state;
        state.dataFolder = dir.path();
        WarningRecorder warnings;
        const SaveStatus status = runStartUpSequence(state, QStringLiteral("nogui"));
        QCOMPARE(bool(status), starts);
        if (!starts)
            QVERIFY2(status.error.contains(name), qPrintable(status.error));
        QVERIFY(stillThere(path, kind));
        AppSettings defaults;
        loadDefaultSettings(defaults);
        if (name == QLatin1String("pellimo.ini"))
            QCOMPARE(state.settings, defaults);
    }

    // The file functions on their own, each with a FIFO: reading is refused at once, writing is
    // refused and leaves the FIFO.
    void fileFunctions_data()
    {
        QTest::addColumn<int>("function");
        QTest::newRow("readFileStart") << 0;
        QTest::newRow("loadProfile") << 1;
        QTest::newRow("loadSettings") << 2;
        QTest::newRow("saveProfile") << 3;
        QTest::newRow("saveSettings") << 4;
        QTest::newRow("writeFileAtomically") << 5;
    }
    void fileFunctions()
    {
        QFETCH(int, function);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("user01.dat"));
        QVERIFY(makeNode(path, Kind::Fifo));
        WarningRecorder warnings;
        StampProfile profile;
        loadDefaultProfile(profile);
        AppSettings settings;
        loadDefaultSettings(settings);
        switch (function) {
        case 0: {
            bool readable = true;
            QCOMPARE(readFileStart(path, 1000, &readable), QByteArray());
            QVERIFY(!readable);
            break;
        }
        case 1:
            QVERIFY(!loadProfile(profile, path));
            QCOMPARE(warnings.texts().size(), 1);
            break;
        case 2:
            loadSettings(settings, path);
            break;
        case 3:
            QVERIFY(!saveProfile(profile, path));
            break;
        case 4: {
            const SaveStatus s = saveSettings(settings, path);
            QVERIFY(!s);
            QVERIFY2(s.error.contains(QStringLiteral("user01.dat")), qPrintable(s.error));
            break;
        }
        case 5:
            QVERIFY(!writeFileAtomically(path, "x"));
            break;
        }
        QVERIFY(stillThere(path, Kind::Fifo));
        QCOMPARE(
            QDir(dir.path())
                .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("user01.dat")});
    }
};

QTEST_GUILESS_MAIN(TestNonRegularFiles)
#include "test_nonregularfiles.moc"
