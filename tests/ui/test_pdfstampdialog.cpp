// SPDX-License-Identifier: MIT
// The stamp preview's context menu and the "PDF に押印" dialog, on the offscreen platform.

#include "../stamptool/toolrun.h"
#include "mainwindowfixture.h"
#include "model/stampprofile.h"
#include "render/stampgeometry.h"
#include "ui/main/stampexport.h"
#include "ui/pdfdialog/pagepreview.h"
#include "ui/pdfdialog/pdfstampdialog.h"
#include "warningrecorder.h"

#include <QFile>
#include <QMenu>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

StampProfile profileWithDate()
{
    StampProfile p;
    loadDefaultProfile(p);
    p.items[1].text = QStringLiteral("08.12.07");
    return p;
}

QByteArray head(const QString &path, int n)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(n) : QByteArray();
}

} // namespace

class TestPdfStampDialog : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_form; // three A4 pages, the second turned a quarter
    StampProfile m_profile = profileWithDate();
    StampGeometry m_geometry = stampGeometry(m_profile);
    double m_mm = naturalDiameterMm(m_geometry);

    std::unique_ptr<PdfStampDialog> openDialog(const QString &pdf)
    {
        auto dialog = std::make_unique<PdfStampDialog>(m_geometry, m_mm, pdf);
        dialog->setRendererProgram(QStringLiteral(PELLIMO_PDFPAGE));
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
        const QString plain = m_dir.filePath(QStringLiteral("plain.pdf"));
        m_form = m_dir.filePath(QStringLiteral("form.pdf"));
        QVERIFY(writeFormPdf(plain, 3));
        QCOMPARE(
            run(QStringLiteral("qpdf"), {QStringLiteral("--rotate=+90:2"), plain, m_form}).status,
            0);
    }

    // The first page, the stamp in the top-right corner 15 mm in, the page count.
    void opensOnTheFirstPage()
    {
        auto dialog = openDialog(m_form);
        QCOMPARE(dialog->page(), 1);
        auto *pages = dialog->findChild<QSpinBox *>(QStringLiteral("spnPage"));
        QVERIFY(pages);
        QCOMPARE(pages->maximum(), 3);
        // QPdfWriter's A4 is 595 x 842 points: 209.9 x 297.0 mm
        QVERIFY(std::abs(dialog->stampCorner().x() - (209.9 - 15 - m_mm)) < 0.05);
        QCOMPARE(dialog->stampCorner().y(), 15.0);
        QVERIFY(dialog->findChild<QWidget *>(QStringLiteral("cmdSave")));
    }

    void dragging_data()
    {
        QTest::addColumn<QPoint>("grab"); // from the stamp's centre, widget pixels
        QTest::addColumn<QPoint>("move");
        QTest::addColumn<QPointF>("cornerMm"); // expected, -1: the page edge
        // 594 pixels for 297 mm: two pixels a millimetre
        QTest::newRow("by the centre, 40 px left and 60 down")
            << QPoint(0, 0) << QPoint(-40, 60) << QPointF(210 - 15 - m_mm - 20, 45);
        QTest::newRow("by the edge, 10 px right: stops at the page's edge")
            << QPoint(15, 0) << QPoint(100, 0) << QPointF(210 - m_mm, 15);
        QTest::newRow("far above the page: stops at the top")
            << QPoint(0, 0) << QPoint(0, -500) << QPointF(210 - 15 - m_mm, 0);
    }

    // The stamp follows the mouse and stays on the page.
    void dragging()
    {
        QFETCH(QPoint, grab);
        QFETCH(QPoint, move);
        QFETCH(QPointF, cornerMm);
        auto dialog = openDialog(m_form);
        PagePreview *preview = dialog->preview();
        const QPoint start = preview->stampRect().center().toPoint() + grab;
        QTest::mousePress(preview, Qt::LeftButton, {}, start);
        QMouseEvent moveEvent(QEvent::MouseMove, start + move, preview->mapToGlobal(start + move),
                              Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(preview, &moveEvent);
        QTest::mouseRelease(preview, Qt::LeftButton, {}, start + move);
        QVERIFY2(std::abs(dialog->stampCorner().x() - cornerMm.x()) < 0.6 &&
                     std::abs(dialog->stampCorner().y() - cornerMm.y()) < 0.6,
                 qPrintable(QStringLiteral("%1,%2")
                                .arg(dialog->stampCorner().x())
                                .arg(dialog->stampCorner().y())));
    }

    // A turned page is shown turned: the stamp keeps within its width, now 297 mm.
    void turnedPage()
    {
        auto dialog = openDialog(m_form);
        dialog->setPage(2);
        QCOMPARE(dialog->preview()->pageSizeMm().toSize(), QSize(297, 210));
        dialog->preview()->setStampCorner(QPointF(280, 0));
        QVERIFY(std::abs(dialog->stampCorner().x() - (297.04 - m_mm)) < 0.05);
    }

    // Saved beside the original as name-stamped.pdf, on the chosen page and place; an existing
    // copy is replaced only after a yes.
    void savesBesideTheOriginal()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("申請書.pdf"));
        QVERIFY(QFile::copy(m_form, pdf));
        const QString stamped = dir.filePath(QStringLiteral("申請書-stamped.pdf"));
        QCOMPARE(PdfStampDialog::stampedPath(pdf), stamped);

        auto dialog = openDialog(pdf);
        QStringList asked;
        bool answer = false;
        dialog->setOverwriteQuestion([&](const QString &path) {
            asked << path;
            return answer;
        });
        dialog->setPage(3);
        QVERIFY(dialog->save());
        QVERIFY(asked.isEmpty());
        QVERIFY(pageText(stamped, 3).contains(QStringLiteral("08.12.07")));
        QVERIFY(!pageText(stamped, 1).contains(QStringLiteral("08.12.07")));

        // There now: "no" keeps it, "yes" replaces it.
        QVERIFY(QFile::resize(stamped, 10));
        QVERIFY(!dialog->save());
        QCOMPARE(asked, QStringList{stamped});
        QCOMPARE(QFileInfo(stamped).size(), 10);
        answer = true;
        dialog->setPage(1);
        QVERIFY(dialog->save());
        QVERIFY(pageText(stamped, 1).contains(QStringLiteral("08.12.07")));
        QCOMPARE(dialog->savedPath(), stamped);
    }

    void refusesWhatCannotBeStamped()
    {
        QTemporaryDir dir;
        const QString locked = dir.filePath(QStringLiteral("locked.pdf"));
        QCOMPARE(run(QStringLiteral("qpdf"),
                     {QStringLiteral("--encrypt"), QStringLiteral("u"), QStringLiteral("o"),
                      QStringLiteral("256"), QStringLiteral("--"), m_form, locked})
                     .status,
                 0);
        PdfStampDialog dialog(m_geometry, m_mm, locked);
        QString error;
        QVERIFY(!dialog.load(error));
        QVERIFY2(error.contains(QStringLiteral("encrypted")), qPrintable(error));
    }

    void menuOffersBothCommands()
    {
        QWidget preview;
        StampExport exporter(&preview, [this]() -> const StampProfile & { return m_profile; });
        QCOMPARE(preview.contextMenuPolicy(), Qt::CustomContextMenu);
        std::unique_ptr<QMenu> menu(exporter.buildMenu());
        QStringList texts;
        for (QAction *a : menu->actions())
            texts << a->text();
        QCOMPARE(texts,
                 (QStringList{QStringLiteral(u"画像として保存…"), QStringLiteral(u"PDF に押印…")}));
    }

    void saveImageByType_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("starts");
        QTest::newRow("png") << "stamp.png" << QByteArray("\x89PNG");
        QTest::newRow("PNG in capitals") << "stamp.PNG" << QByteArray("\x89PNG");
        QTest::newRow("no type: png") << "stamp" << QByteArray("\x89PNG");
        QTest::newRow("svg") << "stamp.svg" << QByteArray("<?xml");
        QTest::newRow("pdf") << "stamp.pdf" << QByteArray("%PDF-");
        QTest::newRow("other type refused") << "stamp.jpg" << QByteArray();
    }

    void saveImageByType()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, starts);
        QTemporaryDir dir;
        QWidget preview;
        StampExport exporter(&preview, [this]() -> const StampProfile & { return m_profile; });
        exporter.setFileQuestions([&](QWidget *) { return dir.filePath(name); },
                                  [](QWidget *) { return QString(); });
        WarningRecorder warnings;
        const bool saved = exporter.saveImage();
        QCOMPARE(saved, !starts.isEmpty());
        QString written = dir.filePath(name);
        if (QFileInfo(name).suffix().isEmpty())
            written += QStringLiteral(".png");
        if (starts.isEmpty()) {
            QCOMPARE(warnings.texts().size(), 1);
            QVERIFY(!QFile::exists(written));
            return;
        }
        QVERIFY(warnings.texts().isEmpty());
        QCOMPARE(head(written, starts.size()), starts);
        if (starts.startsWith("\x89PNG")) {
            const QImage png(written);
            QCOMPARE(png.width(), StampExport::kPngScale * m_geometry.side());
            QVERIFY(png.hasAlphaChannel());
        }
    }

    // "PDF に押印…" asks for a PDF and hands it to the dialog; cancelling asks nothing more.
    void stampPdfAsksForTheFile()
    {
        QWidget preview;
        StampExport exporter(&preview, [this]() -> const StampProfile & { return m_profile; });
        QString answer;
        QStringList opened;
        exporter.setFileQuestions([](QWidget *) { return QString(); },
                                  [&](QWidget *) { return answer; });
        exporter.setPdfDialogRunner([&](QWidget *, const QString &pdf) { opened << pdf; });
        exporter.stampPdf();
        QVERIFY(opened.isEmpty());
        answer = m_form;
        exporter.stampPdf();
        QCOMPARE(opened, QStringList{m_form});
    }

    // The main window's preview carries the menu, and it draws what the preview shows: the
    // current design with today's date.
    void mainWindowPreviewHasTheMenu()
    {
        MainWindowFixture f;
        f.state.profile.radius = 41;
        MainWindow &window = f.shownWindow();
        auto *preview = f.control(QStringLiteral("PicBase"));
        QVERIFY(preview);
        QCOMPARE(preview->contextMenuPolicy(), Qt::CustomContextMenu);
        auto *exporter = preview->findChild<StampExport *>();
        QVERIFY(exporter);
        const QString svg = f.dir.filePath(QStringLiteral("shown.svg"));
        exporter->setFileQuestions(
            [&](QWidget *parent) { return parent == &window ? svg : QString(); },
            [](QWidget *) { return QString(); });
        QVERIFY(exporter->saveImage());
        const QByteArray text = head(svg, 100000);
        QVERIFY(text.contains(f.todaysDate().toUtf8()));
        // radius 41: 82 + 8 pixels at 96 dpi
        QVERIFY(text.contains("viewBox=\"0 0 90 90\""));
        QVERIFY(f.warnings.isEmpty());
    }
};

QTEST_MAIN(TestPdfStampDialog)
#include "test_pdfstampdialog.moc"
