// SPDX-License-Identifier: MIT
#include "storage/filenames.h"

#include <QTest>

using namespace pellimo;

class TestFileNames : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void bytesComeBack_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name"); // as the program spells it
        QTest::newRow("ASCII") << QByteArray("report.pdf") << u"report.pdf"_qs;
        QTest::newRow("UTF-8") << QByteArray("\xe5\xa0\xb1\xe5\x91\x8a.pdf") << u"報告.pdf"_qs;
        QTest::newRow("four bytes") << QByteArray("\xf0\x9f\x98\x80") << u"😀"_qs;
        QTest::newRow("the replacement character itself")
            << QByteArray("\xef\xbf\xbd") << u"\uFFFD"_qs;
        QTest::newRow("Latin-1") << QByteArray("r\xe9sum\xe9") << u"r\xDCE9sum\xDCE9"_qs;
        QTest::newRow("CP932") << QByteArray("\x93\xfa") << u"\xDC93\xDCFA"_qs;
        QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << u"\xDCC0\xDCAF"_qs;
        QTest::newRow("encoded surrogate")
            << QByteArray("\xed\xa0\x80") << u"\xDCED\xDCA0\xDC80"_qs;
        QTest::newRow("cut off at the end") << QByteArray("a\xe5\xa0") << u"a\xDCE5\xDCA0"_qs;
        QTest::newRow("past U+10FFFF")
            << QByteArray("\xf4\x90\x80\x80") << u"\xDCF4\xDC90\xDC80\xDC80"_qs;
    }
    void bytesComeBack()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QCOMPARE(fileNameFromBytes(bytes), name);
        QCOMPARE(fileNameBytes(name), bytes);
    }

    // A pair of surrogates that happens to end in U+DC80..U+DCFF is a character, not a byte.
    void pairedSurrogateIsACharacter()
    {
        const QString name = QString::fromUcs4(U"\U00010C80"); // D803 DC80
        QCOMPARE(fileNameBytes(name), name.toUtf8());
        QCOMPARE(fileNameFromBytes(name.toUtf8()), name);
    }
};

QTEST_GUILESS_MAIN(TestFileNames)
#include "test_filenames.moc"
