// SPDX-License-Identifier: MIT
// PageRenderer with the real pellimo-pdfpage: pages drawn by one process that read the file once;
// a renderer that crashes, runs out of memory or time, or draws a page nobody wants any more is
// ended, with all it held, and the next page gets a fresh one.

#include "../stamptool/toolrun.h"
#include "rawpdf.h"
#include "ui/pdfdialog/pagerenderer.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <csignal>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

const QString kRenderer = QStringLiteral(PELLIMO_PDFPAGE);

bool gone(qint64 pid)
{
    return pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

} // namespace

class TestPageRenderer : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_mixed;   // A4, A4 turned, 14,400 points square
    QString m_endless; // page 2: a hundred million squares
    QString m_saves;   // page 2: a million `q`
    QString m_slow;    // page 2: a hundred thousand squares

    QString write(const char *name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() ? path : QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_mixed = write("mixed.pdf", rawPdf({textContent("x")}, {{QSizeF(595, 842), 0, 0},
                                                                 {QSizeF(595, 842), 0, 90},
                                                                 {QSizeF(14400, 14400), 0, 0}}));
        m_endless = write("endless.pdf", nestedFormsPdf(8));
        m_saves = write("saves.pdf", millionSavesPdf());
        m_slow = write("slow.pdf", nestedFormsPdf(5));
        // Sound files by a reader of other hands: what fails below is the drawing.
        for (const QString &pdf : {m_mixed, m_endless, m_saves, m_slow}) {
            QVERIFY(!pdf.isEmpty());
            const Ran check = run(QStringLiteral("qpdf"), {QStringLiteral("--check"), pdf});
            QVERIFY2(check.status == 0, qPrintable(check.out + check.err));
        }
    }

    // One renderer reads the file once and draws every page asked for, each within its box.
    void drawsEveryPageFromOneReading()
    {
        PageRenderer renderer(kRenderer, m_mixed, {});
        QList<QSizeF> sizes;
        QVERIFY(renderer.waitForPages(3, sizes));
        QCOMPARE(sizes, (QList<QSizeF>{{595, 842}, {842, 595}, {14400, 14400}}));
        const qint64 pid = renderer.processId();
        QVERIFY(pid > 0);
        QSignalSpy ready(&renderer, &PageRenderer::pageReady);
        const QList<QSize> expected{{848, 1200}, {1200, 848}, {1200, 1200}};
        for (int page = 1; page <= 3; ++page) {
            renderer.request(page, QSize(1200, 1200));
            QTRY_COMPARE(ready.size(), page);
            QCOMPARE(ready.last().at(0).toInt(), page);
            QCOMPARE(ready.last().at(1).value<QImage>().size(), expected[page - 1]);
        }
        QCOMPARE(renderer.processId(), pid);
    }

    void failedPages_data()
    {
        QTest::addColumn<int>("which");    // 0 endless page, 1 a million saves
        QTest::addColumn<int>("memoryMb"); // the renderer's address space
        QTest::addColumn<int>("drawMs");   // time to draw a page
        QTest::addColumn<int>("signal");   // sent to the renderer while it draws; 0: none
        QTest::addColumn<QString>("why");
        QTest::newRow("a million saves against the memory limit")
            << 1 << 300 << 60000 << 0 << QStringLiteral(u"異常終了");
        QTest::newRow("a million saves against the time limit")
            << 1 << 1024 << 1000 << 0 << QStringLiteral(u"1 秒たっても描き終わりません");
        QTest::newRow("an endless page against the time limit")
            << 0 << 1024 << 1000 << 0 << QStringLiteral(u"1 秒たっても描き終わりません");
        QTest::newRow("killed while drawing")
            << 0 << 1024 << 60000 << SIGKILL << QStringLiteral(u"異常終了");
        QTest::newRow("crashed while drawing")
            << 0 << 1024 << 60000 << SIGSEGV << QStringLiteral(u"異常終了");
    }

    // The page fails with its reason, the renderer is gone with what it held, and the next page
    // is drawn by a fresh one.
    void failedPages()
    {
        QFETCH(int, which);
        QFETCH(int, memoryMb);
        QFETCH(int, drawMs);
        QFETCH(int, signal);
        QFETCH(QString, why);
        RenderLimits limits;
        limits.memoryBytes = qint64(memoryMb) << 20;
        limits.drawMs = drawMs;
        PageRenderer renderer(kRenderer, which ? m_saves : m_endless, limits);
        QList<QSizeF> sizes;
        QVERIFY(renderer.waitForPages(2, sizes));
        QSignalSpy ready(&renderer, &PageRenderer::pageReady);
        QSignalSpy failed(&renderer, &PageRenderer::pageFailed);
        const qint64 pid = renderer.processId();
        renderer.request(2, QSize(1200, 1200));
        if (signal) {
            QTest::qWait(300);
            QVERIFY(::kill(pid_t(pid), signal) == 0);
        }
        QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 30000);
        QCOMPARE(failed[0].at(0).toInt(), 2);
        QVERIFY2(failed[0].at(1).toString().contains(why), qPrintable(failed[0].at(1).toString()));
        QCOMPARE(renderer.processId(), 0);
        QTRY_VERIFY(gone(pid));

        renderer.request(1, QSize(600, 600));
        QTRY_COMPARE(ready.size(), 1);
        QCOMPARE(ready[0].at(0).toInt(), 1);
        QVERIFY(renderer.processId() != pid);
        QCOMPARE(failed.size(), 1);
    }

    // A page drawn for a while that is no longer wanted is given up for the page wanted now,
    // without a word about it.
    void newerRequestsWin()
    {
        PageRenderer renderer(kRenderer, m_endless, {});
        QList<QSizeF> sizes;
        QVERIFY(renderer.waitForPages(2, sizes));
        QSignalSpy ready(&renderer, &PageRenderer::pageReady);
        QSignalSpy failed(&renderer, &PageRenderer::pageFailed);
        const qint64 pid = renderer.processId();
        renderer.request(2, QSize(1200, 1200));
        renderer.request(1, QSize(1200, 1200));
        QTRY_COMPARE_WITH_TIMEOUT(ready.size(), 1, 10000);
        QCOMPARE(ready[0].at(0).toInt(), 1);
        QVERIFY(failed.isEmpty());
        QTRY_VERIFY(gone(pid));
        // Asked twice in a row, a page is drawn once.
        renderer.request(1, QSize(600, 600));
        renderer.request(1, QSize(600, 600));
        QTRY_COMPARE(ready.size(), 2);
        QTest::qWait(200);
        QCOMPARE(ready.size(), 2);
    }

    // A renderer retires after a quarter of its CPU time, after its answer: the page asked for
    // as the answer came (as the dialog asks for a page waiting its turn) is not lost.
    void retiredRenderersAreReplaced()
    {
        RenderLimits limits;
        limits.cpuSeconds = 4; // retires after 1 s
        PageRenderer renderer(kRenderer, m_slow, limits);
        QList<QSizeF> sizes;
        QVERIFY(renderer.waitForPages(2, sizes));
        QSignalSpy failed(&renderer, &PageRenderer::pageFailed);
        QSet<qint64> renderers{renderer.processId()};
        int answers = 0;
        connect(&renderer, &PageRenderer::pageReady, this, [&](int page) {
            ++answers;
            if (renderers.size() < 3 && answers < 40)
                renderer.request(3 - page, QSize(1200, 1200));
            renderers << renderer.processId();
        });
        renderer.request(2, QSize(1200, 1200));
        QTRY_VERIFY_WITH_TIMEOUT(!failed.isEmpty() || renderers.size() >= 3 || answers >= 40,
                                 60000);
        QVERIFY2(failed.isEmpty(), qPrintable(failed.value(0).value(1).toString()));
        QVERIFY(renderers.size() >= 3);
    }

    void unusableRenderers_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("pdf");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("why");
        QTest::newRow("no renderer") << m_dir.filePath(QStringLiteral("pellimo-pdfpage")) << m_mixed
                                     << 3 << QStringLiteral(u"起動できません");
        QTest::newRow("a renderer that is not one")
            << QStringLiteral("/bin/true") << m_mixed << 3 << QStringLiteral(u"途中で終わりました");
        QTest::newRow("a file it cannot open") << kRenderer << write("text.pdf", "not a PDF") << 1
                                               << QStringLiteral(u"この PDF を開けませんでした");
        QTest::newRow("another page count than the stamp's")
            << kRenderer << m_mixed << 4 << QStringLiteral(u"ページ数が 3 です");
    }

    // Every page then fails with the reason, at once.
    void unusableRenderers()
    {
        QFETCH(QString, program);
        QFETCH(QString, pdf);
        QFETCH(int, pages);
        QFETCH(QString, why);
        PageRenderer renderer(program, pdf, {});
        QList<QSizeF> sizes;
        QVERIFY(!renderer.waitForPages(pages, sizes));
        QVERIFY2(renderer.failure().contains(why), qPrintable(renderer.failure()));
        QVERIFY(sizes.isEmpty());
        QSignalSpy failed(&renderer, &PageRenderer::pageFailed);
        renderer.request(1, QSize(600, 600));
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed[0].at(1).toString(), renderer.failure());
        QCOMPARE(renderer.processId(), 0);
    }
};

QTEST_GUILESS_MAIN(TestPageRenderer)
#include "test_pagerenderer.moc"
