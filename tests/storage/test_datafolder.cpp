// SPDX-License-Identifier: MIT
// Where the data files live: beside a portable program, or in the user's data folder.

#include "storage/datafolder.h"
#include "storage/settingsfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace pellimo;

class TestDataFolder : public QObject {
    Q_OBJECT

    QTemporaryDir m_dataHome; // stands in for ~/.local/share
    QTemporaryDir m_writable;

private Q_SLOTS:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Pellimo"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dataHome.path()));
        QVERIFY(m_writable.isValid());
    }

    void choice_data()
    {
        QTest::addColumn<QString>("programFolder");
        QTest::addColumn<bool>("portable");
        QTest::newRow("a folder this process can write") << m_writable.path() << true;
        QTest::newRow("a folder that does not exist")
            << m_writable.filePath(QStringLiteral("gone")) << false;
        // Root can write these, yet the data files must not land among the system's programs.
        QTest::newRow("/usr/bin") << QStringLiteral("/usr/bin") << false;
        QTest::newRow("/usr/local/bin/") << QStringLiteral("/usr/local/bin/") << false;
        QTest::newRow("/bin") << QStringLiteral("/bin") << false;
    }
    void choice()
    {
        QFETCH(QString, programFolder);
        QFETCH(bool, portable);
        const DataFolder folder = chooseDataFolder(programFolder);
        if (portable) {
            QCOMPARE(folder.mode, DataFolder::Mode::Portable);
            QCOMPARE(folder.path, programFolder);
        } else {
            QCOMPARE(folder.mode, DataFolder::Mode::Installed);
            QCOMPARE(folder.path, m_dataHome.filePath(QStringLiteral("Pellimo")));
        }
    }

    // A settings file beside the program keeps it portable, even where it could not write.
    void settingsFileMakesItPortable()
    {
        QTemporaryDir folder;
        QFile ini(settingsFilePath(folder.path()));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.close();
        const QString missing = folder.filePath(QStringLiteral("gone"));
        QCOMPARE(chooseDataFolder(folder.path()).mode, DataFolder::Mode::Portable);
        QCOMPARE(chooseDataFolder(missing).mode, DataFolder::Mode::Installed);
    }

    void installedFolderIsMadeOnce()
    {
        const DataFolder folder = chooseDataFolder(QStringLiteral("/usr/bin"));
        QVERIFY(!QFile::exists(folder.path)); // choosing makes nothing
        QVERIFY(prepareDataFolder(folder).ok);
        QVERIFY(QFileInfo(folder.path).isDir());
        QVERIFY(prepareDataFolder(folder).ok); // already there
    }
};

QTEST_GUILESS_MAIN(TestDataFolder)
#include "test_datafolder.moc"
