// SPDX-License-Identifier: MIT
// "画像として保存…" on a disk that cannot take the picture: nothing is committed, the picture that
// was there stays whole, and the message says why.

#include "fullfolder.h"
#include "testfiles.h"
#include "ui/main/stampexport.h"

#include <QDir>
#include <QTest>

using namespace pellimo;
using namespace pellimo::testing;

class TestSavePicture : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fullDiskLeavesTheOldFileWhole_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("png") << "stamp.png";
        QTest::newRow("svg") << "stamp.svg";
        QTest::newRow("pdf") << "stamp.pdf";
    }
    void fullDiskLeavesTheOldFileWhole()
    {
        QFETCH(QString, name);
        StampProfile profile;
        loadDefaultProfile(profile);
        const FullFolder full;
        const QString target = full.filePath(name);
        QVERIFY(writeAll(target, "the picture as it was"));
        QVERIFY(full.fill());
        const QStringList before = QDir(full.path()).entryList(QDir::Files | QDir::Hidden);
        if (!full.isDisk())
            FullFolder::limitFileSize();
        QString error;
        const bool written = StampExport::writePicture(profile, target, error);
        FullFolder::restoreFileSize();
        QVERIFY(!written);
        QVERIFY2(error.contains(full.expectedReason()), qPrintable(error));
        QCOMPARE(readAll(target), QByteArray("the picture as it was"));
        QCOMPARE(QDir(full.path()).entryList(QDir::Files | QDir::Hidden), before);
    }
};

QTEST_MAIN(TestSavePicture)
#include "test_savepicture.moc"
