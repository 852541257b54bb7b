// SPDX-License-Identifier: MIT
// Look-alikes: characters that input methods type where CP932 has a character that looks the
// same, replaced so that the text can be saved as typed.

#include "storage/cp932.h"

#include <QTest>

using namespace pellimo;

class TestCp932 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lookAlikesBecomeStorable_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("wave dash")
            << QStringLiteral(u"営業〜東京") << QStringLiteral(u"営業～東京");
        QTest::newRow("minus sign") << QStringLiteral(u"−5") << QStringLiteral(u"－5");
        QTest::newRow("double vertical line") << QStringLiteral(u"A‖B") << QStringLiteral(u"A∥B");
        QTest::newRow("em dash") << QStringLiteral(u"東京—大阪") << QStringLiteral(u"東京―大阪");
        QTest::newRow("cent, pound, not") << QStringLiteral(u"¢£¬") << QStringLiteral(u"￠￡￢");
        QTest::newRow("every one, twice")
            << QStringLiteral(u"〜−‖—¢£¬〜−‖—¢£¬") << QStringLiteral(u"～－∥―￠￡￢～－∥―￠￡￢");
    }

    void lookAlikesBecomeStorable()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QVERIFY(!encodeCp932(typed)); // as typed, the file cannot hold it
        const QString replaced = replaceCp932LookAlikes(typed);
        QCOMPARE(replaced, stored);
        QCOMPARE(replaced.size(), typed.size()); // the cursor stays where it was
        const std::optional<QByteArray> bytes = encodeCp932(replaced);
        QVERIFY(bytes);
        QCOMPARE(decodeCp932(*bytes), stored); // and it reads back as it was saved
    }

    // Text without look-alikes stays as it is, storable or not: the others are refused elsewhere.
    void otherTextUntouched_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("CP932 already") << QStringLiteral(u"髙①～－∥―￠ｱ㍻");
        QTest::newRow("ASCII") << QStringLiteral("R8.12.24 -~|");
        QTest::newRow("outside CP932") << QStringLiteral(u"é😀☃");
    }

    void otherTextUntouched()
    {
        QFETCH(QString, text);
        QCOMPARE(replaceCp932LookAlikes(text), text);
    }
};

QTEST_GUILESS_MAIN(TestCp932)
#include "test_cp932.moc"
