// SPDX-License-Identifier: MIT
// What pellimo-pdfpage and the dialog say to each other: the dialog reads the renderer's answers
// as untrusted bytes, and every picture stays within its pixel budget.

#include "pdfpage/pageprotocol.h"

#include <QTest>
#include <cmath>
#include <limits>

using namespace pellimo::pdfpage;

namespace {

QImage gradient(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x + y) % 256));
    return image;
}

QByteArray header(quint8 type, quint32 length)
{
    QByteArray h(1, char(type));
    for (int shift = 24; shift >= 0; shift -= 8)
        h += char((length >> shift) & 0xff);
    return h;
}

} // namespace

class TestPageProtocol : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Frames cut anywhere by the pipe come out whole and in order.
    void framesSurviveAnyChunking_data()
    {
        QTest::addColumn<int>("chunk");
        QTest::newRow("a byte at a time") << 1;
        QTest::newRow("7 bytes") << 7;
        QTest::newRow("all at once") << (1 << 30);
    }

    void framesSurviveAnyChunking()
    {
        QFETCH(int, chunk);
        const QImage picture = gradient(37, 11);
        const QByteArray stream =
            frame(FrameType::Pages, encodePages(2, {QSizeF(595, 842), QSizeF(842, 595)})) +
            frame(FrameType::Located, encodePage(2)) +
            frame(FrameType::Picture, encodePicture(2, picture));
        FrameReader reader;
        QList<Frame> frames;
        for (qsizetype at = 0; at < stream.size(); at += chunk) {
            reader.append(stream.mid(at, chunk));
            while (std::optional<Frame> f = reader.next())
                frames << *f;
        }
        QVERIFY(!reader.failed());
        QCOMPARE(frames.size(), 3);
        int count = 0, page = 0;
        QList<QSizeF> sizes;
        QVERIFY(decodePages(frames[0].payload, count, sizes));
        QCOMPARE(count, 2);
        QCOMPARE(sizes, (QList<QSizeF>{QSizeF(595, 842), QSizeF(842, 595)}));
        QVERIFY(decodePage(frames[1].payload, page));
        QCOMPARE(page, 2);
        QImage back;
        QVERIFY(decodePicture(frames[2].payload, page, back));
        QCOMPARE(back, picture);
    }

    // A frame that no renderer of ours sends ends the reading for good.
    void malformedStreamsStop_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("unknown type") << header(9, 0);
        QTest::newRow("type 0") << header(0, 4) + QByteArray(4, 'x');
        QTest::newRow("longer than any frame") << header(3, quint32(kMaxFrameBytes + 1));
        QTest::newRow("4 GB") << header(3, 0xffffffffu);
    }

    void malformedStreamsStop()
    {
        QFETCH(QByteArray, bytes);
        FrameReader reader;
        reader.append(bytes);
        QVERIFY(!reader.next());
        QVERIFY(reader.failed());
        reader.append(frame(FrameType::Located, encodePage(1)));
        QVERIFY(!reader.next());
    }

    // Payloads that lie about their contents are refused, never read past their end.
    void lyingPayloadsAreRefused_data()
    {
        QTest::addColumn<int>("what"); // 0 pages, 1 picture, 2 page
        QTest::addColumn<QByteArray>("payload");
        const QByteArray picture = encodePicture(1, gradient(10, 10));
        QTest::newRow("no pages") << 0 << encodePages(0, {});
        QTest::newRow("more pages than any file") << 0 << encodePages(kMaxPages + 1, {});
        QTest::newRow("sizes for another count")
            << 0 << encodePages(3, {QSizeF(1, 1), QSizeF(1, 1)});
        QTest::newRow("sizes cut short")
            << 0 << encodePages(2, {QSizeF(1, 1), QSizeF(1, 1)}).left(20);
        QTest::newRow("picture cut short") << 1 << picture.left(picture.size() - 1);
        QTest::newRow("picture with a byte too many") << 1 << picture + 'x';
        QByteArray tooLarge = picture;
        tooLarge.replace(4, 8, QByteArray::fromHex("0000ffff0000ffff")); // 65535 x 65535
        QTest::newRow("picture larger than the budget") << 1 << tooLarge;
        QByteArray negative = picture;
        negative.replace(4, 4, QByteArray::fromHex("fffffff6")); // -10 wide
        QTest::newRow("picture of negative width") << 1 << negative;
        QTest::newRow("page 0") << 2 << encodePage(0);
        QTest::newRow("page number cut short") << 2 << encodePage(5).left(3);
    }

    void lyingPayloadsAreRefused()
    {
        QFETCH(int, what);
        QFETCH(QByteArray, payload);
        int count = -1, page = -1;
        QList<QSizeF> sizes;
        QImage picture;
        const bool accepted = what == 0   ? decodePages(payload, count, sizes)
                              : what == 1 ? decodePicture(payload, page, picture)
                                          : decodePage(payload, page);
        QVERIFY(!accepted);
        QVERIFY(picture.isNull());
    }

    // A size no page can have comes through as unknown, the others as they are.
    void unusableSizesBecomeUnknown()
    {
        const double inf = std::numeric_limits<double>::infinity();
        const double nan = std::numeric_limits<double>::quiet_NaN();
        int count = 0;
        QList<QSizeF> sizes;
        QVERIFY(decodePages(encodePages(5, {QSizeF(595, 842), QSizeF(inf, 10), QSizeF(nan, nan),
                                            QSizeF(-5, 10), QSizeF(0, 10)}),
                            count, sizes));
        QCOMPARE(sizes.size(), 5);
        QCOMPARE(sizes[0], QSizeF(595, 842));
        for (int i = 1; i < 5; ++i)
            QVERIFY2(!sizes[i].isValid(), qPrintable(QString::number(i)));
    }

    // The resolution a page is drawn at: it fits the box, and the picture stays within the
    // budget whatever the page's size.
    void fittingDpi_data()
    {
        QTest::addColumn<QSizeF>("pagePt");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QSize>("picture"); // at that resolution, rounded; empty: not drawn
        QTest::newRow("A4 in 1200") << QSizeF(595, 842) << QSize(1200, 1200) << QSize(848, 1200);
        QTest::newRow("A4 turned") << QSizeF(842, 595) << QSize(1200, 1200) << QSize(1200, 848);
        QTest::newRow("14,400 points square")
            << QSizeF(14400, 14400) << QSize(1200, 1200) << QSize(1200, 1200);
        QTest::newRow("a box past the budget: 95% of it, for the rounding")
            << QSizeF(1000, 1000) << QSize(100000, 100000) << QSize(1949, 1949);
        QTest::newRow("a strip 5 m long")
            << QSizeF(14400, 10) << QSize(1200, 1200) << QSize(1200, 1);
        QTest::newRow("a 1e30 page")
            << QSizeF(1e30, 1e30) << QSize(1200, 1200) << QSize(1200, 1200);
        QTest::newRow("no page") << QSizeF(0, 842) << QSize(1200, 1200) << QSize();
        QTest::newRow("no box") << QSizeF(595, 842) << QSize(0, 0) << QSize();
        QTest::newRow("infinite page")
            << QSizeF(std::numeric_limits<double>::infinity(), 10) << QSize(1200, 1200) << QSize();
    }

    void fittingDpi()
    {
        QFETCH(QSizeF, pagePt);
        QFETCH(QSize, box);
        QFETCH(QSize, picture);
        const double dpi = pellimo::pdfpage::fittingDpi(pagePt, box);
        if (!picture.isValid()) {
            QCOMPARE(dpi, 0.0);
            return;
        }
        const QSizeF drawn = pagePt * dpi / 72;
        QVERIFY2(std::abs(drawn.width() - picture.width()) <= 1 &&
                     std::abs(drawn.height() - picture.height()) <= 1,
                 qPrintable(QStringLiteral("%1 x %2").arg(drawn.width()).arg(drawn.height())));
        QVERIFY(drawn.width() <= box.width() + 0.5 && drawn.height() <= box.height() + 0.5);
        QVERIFY((std::ceil(drawn.width()) + 1) * (std::ceil(drawn.height()) + 1) <=
                kMaxImagePixels);
    }

    void requests_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("page"); // 0: refused
        QTest::newRow("as written") << requestLine(12, QSize(800, 600)) << 12;
        QTest::newRow("page 0") << QByteArray("0 800 600\n") << 0;
        QTest::newRow("negative box") << QByteArray("1 -800 600\n") << 0;
        QTest::newRow("huge box") << QByteArray("1 2000000 2000000\n") << 0;
        QTest::newRow("two numbers") << QByteArray("1 800\n") << 0;
        QTest::newRow("words") << QByteArray("one 800 600\n") << 0;
        QTest::newRow("past int") << QByteArray("99999999999 800 600\n") << 0;
    }

    void requests()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, page);
        int parsed = 0;
        QSize box;
        QCOMPARE(parseRequest(line, parsed, box), page != 0);
        if (page) {
            QCOMPARE(parsed, page);
            QCOMPARE(box, QSize(800, 600));
        }
    }
};

QTEST_GUILESS_MAIN(TestPageProtocol)
#include "test_pageprotocol.moc"
