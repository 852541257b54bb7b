// SPDX-License-Identifier: MIT
// The "PDF に押印" dialog on PDFs that attack it, on the offscreen platform: the window handles
// events and repaints while a page is drawn, closes at once, says plainly which page cannot be
// shown and saves all the same, and pages through a file of 100,000 pages from one reading.

#include "../stamptool/toolrun.h"
#include "model/stampprofile.h"
#include "pdfpage/pageprotocol.h"
#include "rawpdf.h"
#include "render/stampgeometry.h"
#include "ui/pdfdialog/pagepreview.h"
#include "ui/pdfdialog/pdfstampdialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <csignal>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

bool gone(qint64 pid)
{
    return pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

qint64 rendererPid(const QDialog &dialog)
{
    const auto *process = dialog.findChild<QProcess *>(QStringLiteral("pdfPageProcess"));
    return process ? process->processId() : 0;
}

// Counts the times a widget is painted.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget *w) { w->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        paints += e->type() == QEvent::Paint;
        return false;
    }
};

// Pixels clearly blue: page 2 of nestedFormsPdf, never page 1's black text on white.
int bluePixels(const QImage &image)
{
    int n = 0;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            n += qBlue(image.pixel(x, y)) > qRed(image.pixel(x, y)) + 60;
    return n;
}

} // namespace

class TestPdfDialogPages : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    StampGeometry m_geometry;
    double m_mm = 0;

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() ? path : QString();
    }

    std::unique_ptr<PdfStampDialog> open(const QString &pdf, const RenderLimits &limits = {},
                                         const QString &renderer = QStringLiteral(PELLIMO_PDFPAGE))
    {
        auto dialog = std::make_unique<PdfStampDialog>(m_geometry, m_mm, pdf);
        dialog->setRendererProgram(renderer);
        dialog->setRenderLimits(limits);
        dialog->preview()->resize(420, 594);
        QString error;
        if (!dialog->load(error))
            qWarning("%s", qPrintable(error));
        return dialog;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        StampProfile profile;
        loadDefaultProfile(profile);
        m_geometry = stampGeometry(profile);
        m_mm = naturalDiameterMm(m_geometry);
    }

    // While page 2 is drawn the dialog handles its timers and repaints; then page 2 is shown.
    void staysResponsiveWhileAPageIsDrawn()
    {
        auto dialog = open(write(QStringLiteral("slow.pdf"), nestedFormsPdf(5)));
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        PagePreview *preview = dialog->preview();
        QTRY_VERIFY(preview->hasPicture());
        PaintCounter counter(preview);
        int ticks = 0, ticksBefore = -1, paintsBefore = -1;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&] {
            ++ticks;
            preview->update();
        });
        timer.start(20);
        dialog->setPage(2);
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                if (!preview->hasPicture())
                    return false;
                ticksBefore = ticks;
                paintsBefore = counter.paints;
                return true;
            }(),
            30000);
        QVERIFY2(
            ticksBefore >= 3 && paintsBefore >= 2,
            qPrintable(QStringLiteral("%1 ticks, %2 paints").arg(ticksBefore).arg(paintsBefore)));
        QVERIFY(bluePixels(preview->picture()) > 100);
    }

    // Closed while a page that never ends is drawn: at once, and its renderer ends with it.
    void closesWhileAPageIsDrawn()
    {
        auto dialog = open(write(QStringLiteral("endless.pdf"), nestedFormsPdf(8)));
        dialog->show();
        dialog->setPage(2);
        QTRY_VERIFY(dialog->preview()->notice().contains(QStringLiteral(u"読み込んでいます")));
        const qint64 pid = rendererPid(*dialog);
        QVERIFY(pid > 0);
        dialog->reject();
        dialog.reset();
        QVERIFY(gone(pid));
    }

    // A page of 14,400 points (5 m) is drawn to the preview's size, not to 100 dpi (2 GB).
    void hugePageIsDrawnSmall()
    {
        auto dialog = open(write(QStringLiteral("huge.pdf"), hugePagePdf()));
        QCOMPARE(dialog->preview()->pageSizeMm().toSize(), QSize(5080, 5080));
        QTRY_VERIFY_WITH_TIMEOUT(dialog->preview()->hasPicture(), 30000);
        const QImage picture = dialog->preview()->picture();
        QVERIFY2(qint64(picture.width()) * picture.height() <= pdfpage::kMaxImagePixels,
                 qPrintable(QStringLiteral("%1 x %2").arg(picture.width()).arg(picture.height())));
        QCOMPARE(picture.width(), picture.height());
    }

    void pagesThatCannotBeShown_data()
    {
        QTest::addColumn<QByteArray>("pdf");
        QTest::addColumn<int>("drawMs");
        QTest::addColumn<bool>("kill");       // the renderer, while it draws
        QTest::addColumn<bool>("noRenderer"); // not installed
        QTest::addColumn<QString>("why");
        QTest::newRow("a million saves") << millionSavesPdf() << 1500 << false << false
                                         << QStringLiteral(u"1.5 秒たっても描き終わりません");
        QTest::newRow("renderer killed")
            << nestedFormsPdf(8) << 60000 << true << false << QStringLiteral(u"異常終了");
        QTest::newRow("no renderer")
            << nestedFormsPdf(2) << 60000 << false << true << QStringLiteral(u"起動できません");
    }

    // The page says why it cannot be shown; the stamp is placed on its outline and saved; the
    // renderer that failed is gone, and the next page is drawn by a fresh one.
    void pagesThatCannotBeShown()
    {
        QFETCH(QByteArray, pdf);
        QFETCH(int, drawMs);
        QFETCH(bool, kill);
        QFETCH(bool, noRenderer);
        QFETCH(QString, why);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("attack.pdf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size());
        file.close();
        RenderLimits limits;
        limits.drawMs = drawMs;
        auto dialog = open(path, limits,
                           noRenderer ? dir.filePath(QStringLiteral("pellimo-pdfpage"))
                                      : QStringLiteral(PELLIMO_PDFPAGE));
        PagePreview *preview = dialog->preview();
        const qint64 pid = rendererPid(*dialog);
        if (!noRenderer) // page 1 drawn: the renderer is free for page 2
            QTRY_VERIFY_WITH_TIMEOUT(preview->hasPicture(), 30000);
        dialog->setPage(2);
        if (kill) {
            QTRY_VERIFY(preview->notice().contains(QStringLiteral(u"読み込んでいます")));
            QVERIFY(::kill(pid_t(pid), SIGKILL) == 0);
        }
        QTRY_VERIFY_WITH_TIMEOUT(preview->notice().contains(QStringLiteral(u"表示できません")),
                                 30000);
        QVERIFY2(preview->notice().contains(why), qPrintable(preview->notice()));
        QVERIFY(!preview->hasPicture());
        QTRY_VERIFY(noRenderer || gone(pid));

        // The outline is the page's: the stamp goes anywhere on it, and is saved there.
        QCOMPARE(preview->pageSizeMm().toSize(), QSize(210, 297));
        preview->setStampCorner(QPointF(20, 250));
        QCOMPARE(dialog->stampCorner(), QPointF(20, 250));
        dialog->setOutputQuestion([](const QString &proposed) { return proposed; });
        dialog->setOverwriteQuestion([](const QString &) { return true; });
        QVERIFY(dialog->save());
        const Ran check =
            run(QStringLiteral("qpdf"), {QStringLiteral("--check"), dialog->savedPath()});
        QVERIFY2(check.status == 0, qPrintable(check.out + check.err));

        dialog->setPage(1);
        if (noRenderer) {
            QVERIFY(preview->notice().contains(why));
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(preview->hasPicture(), 30000);
            QVERIFY(preview->notice().isEmpty());
            QVERIFY(gone(pid));
        }
    }

    // The outline is the page as the stamp is placed on it, /UserUnit applied (which Poppler's
    // sizes leave out), on every page.
    void userUnitIsTheDocuments()
    {
        RawPdfPage page;
        page.userUnit = 2;
        auto dialog = open(write(QStringLiteral("unit.pdf"),
                                 rawPdf({textContent("twice")}, {page, page, page})));
        QCOMPARE(dialog->preview()->pageSizeMm().toSize(), QSize(420, 594));
        dialog->setPage(3);
        QCOMPARE(dialog->preview()->pageSizeMm().toSize(), QSize(420, 594));
        QTRY_VERIFY_WITH_TIMEOUT(dialog->preview()->hasPicture(), 30000);
    }

    // Page steps on a file of 100,000 pages ask the renderer, which read the file once: the file
    // replaced after opening changes nothing, and the page typed in is shown.
    void pageStepsReadTheFileOnce()
    {
        QList<RawPdfPage> pages(100000);
        pages[49999].rotate = 90;
        const QString path =
            write(QStringLiteral("many.pdf"), rawPdf({textContent("page")}, pages));
        auto dialog = open(path);
        auto *box = dialog->findChild<QSpinBox *>(QStringLiteral("spnPage"));
        QCOMPARE(box->maximum(), 100000);
        QVERIFY(QFile::rename(path, m_dir.filePath(QStringLiteral("moved.pdf"))));
        QVERIFY(!write(QStringLiteral("many.pdf"), rawPdf({textContent("other")}, {{}})).isEmpty());

        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("50000"));
        QCOMPARE(dialog->page(), 50000);
        QCOMPARE(dialog->preview()->pageSizeMm().toSize(), QSize(297, 210));
        QTRY_VERIFY_WITH_TIMEOUT(dialog->preview()->hasPicture(), 60000);
        QVERIFY(dialog->preview()->picture().width() > dialog->preview()->picture().height());

        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(dialog->page(), 50001);
        QCOMPARE(dialog->preview()->pageSizeMm().toSize(), QSize(210, 297));
        QTRY_VERIFY_WITH_TIMEOUT(dialog->preview()->hasPicture(), 60000);
        QVERIFY(dialog->preview()->picture().width() < dialog->preview()->picture().height());
    }
};

QTEST_MAIN(TestPdfDialogPages)
#include "test_pdfdialogpages.moc"
