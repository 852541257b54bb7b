// SPDX-License-Identifier: MIT
// The lexer that measures objects before qpdf parses them, whole and fed a byte at a time, and the
// q/Q count of page content built on it.

#include "pdfstamp/contentbalance.h"
#include "pdfstamp/pdflexer.h"

#include <QTest>
#include <qpdf/QPDF.hh>

using namespace pellimo::pdf;

namespace {

QString kindName(TokenKind k)
{
    switch (k) {
    case TokenKind::Word:
        return QStringLiteral("W");
    case TokenKind::Name:
        return QStringLiteral("N");
    case TokenKind::String:
        return QStringLiteral("S");
    case TokenKind::HexString:
        return QStringLiteral("H");
    case TokenKind::ArrayOpen:
    case TokenKind::ArrayClose:
        return QStringLiteral("A");
    case TokenKind::DictOpen:
    case TokenKind::DictClose:
        return QStringLiteral("D");
    }
    return {};
}

QStringList lex(const QByteArray &input, qsizetype chunk)
{
    QStringList tokens;
    Lexer lexer([&](const Token &t) {
        tokens << kindName(t.kind) + QLatin1Char(':') +
                      QString::fromLatin1(t.text.data(), qsizetype(t.text.size())) +
                      QLatin1Char('@') + QString::number(t.offset);
        return true;
    });
    for (qsizetype i = 0; i < input.size(); i += chunk)
        lexer.feed(input.constData() + i, size_t(std::min(chunk, input.size() - i)));
    lexer.finish();
    return tokens;
}

} // namespace

class TestPdfLexer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tokens_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QStringList>("tokens");
        QTest::newRow("object header and dictionary")
            << QByteArray("1 0 obj<</Type /Page>>endobj")
            << QStringList{"W:1@0",     "W:0@2",      "W:obj@4", "D:<<@7",
                           "N:/Type@9", "N:/Page@15", "D:>>@20", "W:endobj@22"};
        QTest::newRow("literal string with nesting and escapes")
            << QByteArray("(a (b) \\) c)x") << QStringList{"S:(a (b) \\) c)@0", "W:x@12"};
        QTest::newRow("hexadecimal string beside a dictionary")
            << QByteArray("<41 42><</A 1>>")
            << QStringList{"H:<41 42>@0", "D:<<@7", "N:/A@9", "W:1@12", "D:>>@13"};
        QTest::newRow("comments and arrays")
            << QByteArray("% a comment (\n/N%c\n[1 2]")
            << QStringList{"N:/N@14", "A:[@19", "W:1@20", "W:2@22", "A:]@23"};
        QTest::newRow("names and strings without white space")
            << QByteArray("/A/B(c)<d>") << QStringList{"N:/A@0", "N:/B@2", "S:(c)@4", "H:<d>@7"};
        QTest::newRow("unterminated string at the end")
            << QByteArray("(abc") << QStringList{"S:(abc@0"};
        QTest::newRow("stray closing brackets")
            << QByteArray(") > }") << QStringList{"W:)@0", "W:>@2", "W:}@4"};
    }

    // The same tokens, at the same offsets, however the bytes are split.
    void tokens()
    {
        QFETCH(QByteArray, input);
        QFETCH(QStringList, tokens);
        QCOMPARE(lex(input, input.size()), tokens);
        QCOMPARE(lex(input, 1), tokens);
        QCOMPARE(lex(input, 3), tokens);
    }

    void longTokenIsCut()
    {
        const QByteArray name = '/' + QByteArray(200, 'x');
        bool truncated = false;
        size_t length = 0;
        Lexer lexer([&](const Token &t) {
            truncated = t.truncated;
            length = t.text.size();
            return true;
        });
        lexer.feed(name.constData(), size_t(name.size()));
        lexer.finish();
        QVERIFY(truncated);
        QCOMPARE(length, Lexer::kTokenTextMax);
    }

    void balance_data()
    {
        QTest::addColumn<QList<QByteArray>>("streams");
        QTest::addColumn<int>("lowest");
        QTest::addColumn<int>("end");
        QTest::newRow("balanced") << QList<QByteArray>{"q 1 0 0 1 5 5 cm Q"} << 0 << 0;
        QTest::newRow("two left open") << QList<QByteArray>{"q q 2 0 0 2 0 0 cm"} << 0 << 2;
        QTest::newRow("restores more than it saved") << QList<QByteArray>{"Q Q q"} << -2 << -1;
        QTest::newRow("q and Q in strings and names")
            << QList<QByteArray>{"BT (q Q Q) Tj /Q 1 Tf ET"} << 0 << 0;
        QTest::newRow("q and Q in an inline image's data")
            << QList<QByteArray>{QByteArray("q BI /W 4 /H 1 /BPC 8 /CS /G ID ") +
                                 QByteArray("\0Q q\xffQ", 6) + " EI Q q"}
            << 0 << 1;
        QTest::newRow("over several streams") << QList<QByteArray>{"q q", "Q", "Q Q"} << -1 << -1;
    }

    void balance()
    {
        QFETCH(QList<QByteArray>, streams);
        QFETCH(int, lowest);
        QFETCH(int, end);
        QPDF pdf;
        pdf.emptyPDF();
        QPDFObjectHandle contents = QPDFObjectHandle::newArray();
        for (const QByteArray &s : streams)
            contents.appendItem(pdf.newStream(s.toStdString()));
        QPDFObjectHandle page = QPDFObjectHandle::newDictionary();
        page.replaceKey("/Contents", contents);
        const ContentBalance b = contentBalance(page, 1 << 20);
        QVERIFY(b.readable && !b.tooLarge);
        QCOMPARE(int(b.lowest), lowest);
        QCOMPARE(int(b.end), end);
        QVERIFY(contentBalance(page, 2).tooLarge);
    }
};

QTEST_MAIN(TestPdfLexer)
#include "test_pdflexer.moc"
