// SPDX-License-Identifier: MIT
// The stamp preview's context menu and the "PDF に押印" dialog, on the offscreen platform.

#include "../stamptool/toolrun.h"
#include "japanesetexts.h"
#include "mainwindowfixture.h"
#include "model/stampprofile.h"
#include "render/stampgeometry.h"
#include "storage/settingsfile.h"
#include "testfiles.h"
#include "ui/common/windownote.h"
#include "ui/main/stampexport.h"
#include "ui/pdfdialog/pagepreview.h"
#include "ui/pdfdialog/pdfstampdialog.h"
#include "warningrecorder.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

// Takes the URLs QDesktopServices would hand to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl &url) { urls << url; }
};

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

using pellimo::test::installJapaneseTexts;

class TestPdfStampDialog : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_form; // three A4 pages, the second turned a quarter
    StampProfile m_profile = profileWithDate();
    StampGeometry m_geometry = stampGeometry(m_profile);
    double m_mm = naturalDiameterMm(m_geometry);

    std::unique_ptr<PdfStampDialog> openDialog(const QString &pdf,
                                               const QString &settingsFile = QString())
    {
        auto dialog = std::make_unique<PdfStampDialog>(m_geometry, m_mm, pdf);
        dialog->setRendererProgram(QStringLiteral(PELLIMO_PDFPAGE));
        dialog->setSettingsFile(settingsFile);
        dialog->setOutputQuestion([](const QString &proposed) { return proposed; });
        dialog->preview()->resize(420, 594);
        QString error;
        if (!dialog->load(error))
            qWarning("%s", qPrintable(error));
        return dialog;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(installJapaneseTexts()); // the texts a Japanese desktop shows
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
        // The PDF code's refusal in the dialog's language.
        QVERIFY2(error.contains(QStringLiteral(u"暗号化されていて、開くにはパスワードが必要です")),
                 qPrintable(error));
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
        exporter.setPdfDialogRunner([&](QWidget *, const QString &pdf) {
            opened << pdf;
            return QString();
        });
        exporter.stampPdf();
        QVERIFY(opened.isEmpty());
        answer = m_form;
        exporter.stampPdf();
        QCOMPARE(opened, QStringList{m_form});
    }

    // The commands of the preview's menu run once the menu is closed and gone, never inside its
    // `triggered` signal: a file dialog with an event loop of its own (GTK's) would otherwise
    // return into a menu deleted meanwhile.
    void menuIsGoneBeforeTheFileDialog_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("save as picture") << "mnuSaveImage";
        QTest::newRow("stamp a PDF") << "mnuStampPdf";
    }
    void menuIsGoneBeforeTheFileDialog()
    {
        QFETCH(QString, action);
        MainWindowFixture f;
        f.shownWindow();
        auto *preview = f.control(QStringLiteral("PicBase"));
        auto *exporter = preview->findChild<StampExport *>();
        QVERIFY(exporter);
        Q_EMIT preview->customContextMenuRequested(QPoint(20, 20));
        QPointer<QMenu> menu = preview->findChild<QMenu *>(QStringLiteral("mnuStamp"));
        QVERIFY(menu);
        const auto closeMenu = qScopeGuard([&] { delete menu.data(); }); // when a check fails
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        int asked = 0;
        bool menuAlive = true;
        const auto question = [&](QWidget *) {
            ++asked;
            menuAlive = !menu.isNull();
            // What a native dialog's loop does meanwhile.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return QString(); // cancelled
        };
        exporter->setFileQuestions(question, question);
        QAction *entry = menu->findChild<QAction *>(action);
        QVERIFY(entry);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
        QTRY_COMPARE(asked, 1);
        QVERIFY2(!menuAlive, "the file dialog opened while the menu was still there");
        QTRY_VERIFY(menu.isNull());
        QVERIFY(f.warnings.isEmpty());
    }

    // The name asked about is the name written; links and folders that cannot be written are
    // refused with a message, and nothing is written anywhere.
    void saveImageTargets_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("setUp");   // file, link, dangling, folder: what is there already
        QTest::addColumn<bool>("answer");     // to the overwrite question
        QTest::addColumn<QString>("asked");   // the name the question was about, "" for none
        QTest::addColumn<QString>("refusal"); // part of the message, "" for none
        QTest::addColumn<bool>("written");
        QTest::newRow("no type, report.png there: asked about it, no")
            << "report"
            << "file:report.png" << false << "report.png"
            << "" << false;
        QTest::newRow("no type, report.png there: yes") << "report"
                                                        << "file:report.png" << true << "report.png"
                                                        << "" << true;
        QTest::newRow("report there, report.png is new: not asked") << "report"
                                                                    << "file:report" << false << ""
                                                                    << "" << true;
        QTest::newRow("a link to a file")
            << "linked.png"
            << "link:linked.png" << true << "" << QStringLiteral(u"シンボリックリンク") << false;
        QTest::newRow("a dangling link") << "planted.png"
                                         << "dangling:planted.png" << true << ""
                                         << QStringLiteral(u"シンボリックリンク") << false;
        QTest::newRow("a folder of that name")
            << "folder.png"
            << "folder:folder.png" << true << "" << QStringLiteral(u"普通のファイル") << false;
    }
    void saveImageTargets()
    {
        QFETCH(QString, typed);
        QFETCH(QString, setUp);
        QFETCH(bool, answer);
        QFETCH(QString, asked);
        QFETCH(QString, refusal);
        QFETCH(bool, written);
        QTemporaryDir dir;
        QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath(QStringLiteral("target"));
        const QString kind = setUp.section(QLatin1Char(':'), 0, 0);
        const QString there = dir.filePath(setUp.section(QLatin1Char(':'), 1));
        if (kind == QLatin1String("file") || kind == QLatin1String("link"))
            QVERIFY(writeAll(kind == QLatin1String("file") ? there : target, "as it was"));
        if (kind == QLatin1String("link") || kind == QLatin1String("dangling"))
            QVERIFY(QFile::link(target, there));
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir(dir.path()).mkdir(QFileInfo(there).fileName()));

        QWidget preview;
        StampExport exporter(&preview, [this]() -> const StampProfile & { return m_profile; });
        exporter.setFileQuestions([&](QWidget *) { return dir.filePath(typed); },
                                  [](QWidget *) { return QString(); });
        QStringList questions;
        exporter.setOverwriteQuestion([&](const QString &path) {
            questions << QFileInfo(path).fileName();
            return answer;
        });
        WarningRecorder warnings;
        QCOMPARE(exporter.saveImage(), written);
        QCOMPARE(questions, asked.isEmpty() ? QStringList() : QStringList{asked});
        if (refusal.isEmpty()) {
            QVERIFY(warnings.texts().isEmpty());
        } else {
            QCOMPARE(warnings.texts().size(), 1);
            QVERIFY2(warnings.texts().first().contains(refusal),
                     qPrintable(warnings.texts().first()));
        }
        QString result = dir.filePath(typed);
        if (QFileInfo(typed).suffix().isEmpty())
            result += QStringLiteral(".png");
        if (written)
            QCOMPARE(head(result, 4), QByteArray("\x89PNG"));
        else if (kind == QLatin1String("file"))
            QCOMPARE(readAll(there), QByteArray("as it was"));
        // Nothing reached through a link.
        if (kind == QLatin1String("link"))
            QCOMPARE(readAll(target), QByteArray("as it was"));
        if (kind == QLatin1String("dangling"))
            QVERIFY(!QFileInfo::exists(target));
    }

    // The copy's name is asked for with name-stamped.pdf proposed; a planted link is never
    // written through; a folder that cannot be written is said so in Japanese and the dialog stays
    // open for another name.
    void stampedCopyTargets_data()
    {
        QTest::addColumn<QString>("chosen"); // "proposed", or a path under the test's folder
        QTest::addColumn<QString>("setUp");  // dangling, link, none
        QTest::addColumn<QString>("refusal");
        QTest::newRow("the proposal, a dangling link planted there")
            << "proposed"
            << "dangling" << QStringLiteral(u"シンボリックリンク");
        QTest::newRow("the proposal, a link to a file planted there")
            << "proposed"
            << "link" << QStringLiteral(u"シンボリックリンク");
        QTest::newRow("a folder nobody can write") << "/proc/self/x-stamped.pdf"
                                                   << "none" << QStringLiteral(u"書き込めません");
        QTest::newRow("a folder that does not exist") << "missing/x-stamped.pdf"
                                                      << "none" << QStringLiteral(u"フォルダー");
        QTest::newRow("another folder") << "other/x.pdf"
                                        << "none"
                                        << "";
    }
    void stampedCopyTargets()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, setUp);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("other")));
        const QString pdf = dir.filePath(QStringLiteral("x.pdf"));
        QVERIFY(QFile::copy(m_form, pdf));
        const QString proposed = dir.filePath(QStringLiteral("x-stamped.pdf"));
        const QString target = dir.filePath(QStringLiteral("target.pdf"));
        if (setUp == QLatin1String("link"))
            QVERIFY(writeAll(target, "as it was"));
        if (setUp != QLatin1String("none"))
            QVERIFY(QFile::link(target, proposed));

        auto dialog = openDialog(pdf);
        QStringList offered;
        const QString out = chosen == QLatin1String("proposed")   ? proposed
                            : chosen.startsWith(QLatin1Char('/')) ? chosen
                                                                  : dir.filePath(chosen);
        dialog->setOutputQuestion([&](const QString &p) {
            offered << p;
            return out;
        });
        dialog->setOverwriteQuestion([](const QString &) { return true; });
        WarningRecorder warnings;
        QCOMPARE(dialog->save(), refusal.isEmpty());
        QCOMPARE(offered, QStringList{proposed});
        if (refusal.isEmpty()) {
            QVERIFY(warnings.texts().isEmpty());
            QCOMPARE(dialog->savedPath(), out);
            QVERIFY(pageText(out, 1).contains(QStringLiteral("08.12.07")));
            return;
        }
        QCOMPARE(warnings.texts().size(), 1);
        QVERIFY2(warnings.texts().first().contains(refusal), qPrintable(warnings.texts().first()));
        QVERIFY(dialog->savedPath().isEmpty());
        if (setUp == QLatin1String("link"))
            QCOMPARE(readAll(target), QByteArray("as it was"));
        if (setUp == QLatin1String("dangling"))
            QVERIFY(!QFileInfo::exists(target));
    }

    // Beside the original when its folder can be written, else in the user's documents or home.
    void proposalLeavesAFolderThatCannotBeWritten()
    {
        PdfStampDialog dialog(m_geometry, m_mm, QStringLiteral("/proc/self/form.pdf"));
        const QString proposed = dialog.proposedPath();
        QCOMPARE(QFileInfo(proposed).fileName(), QStringLiteral("form-stamped.pdf"));
        QVERIFY2(!proposed.startsWith(QLatin1String("/proc/")), qPrintable(proposed));
        QVERIFY(QFileInfo(QFileInfo(proposed).absolutePath()).isWritable());
    }

    // The stamp opens where it was last saved on a page of the same size and orientation; the
    // place is kept in pellimo.ini beside the options, which keep it when they are saved.
    void remembersThePlacePerPageSize()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("pellimo.ini"));
        AppSettings settings;
        loadDefaultSettings(settings);
        QVERIFY(saveSettings(settings, ini).ok);
        const QString landscape = dir.filePath(QStringLiteral("landscape.pdf"));
        QCOMPARE(run(QStringLiteral("qpdf"), {QStringLiteral("--rotate=+90:1"), m_form, landscape})
                     .status,
                 0);
        const QPointF defaultPortrait = openDialog(m_form, ini)->stampCorner();
        const QPointF defaultLandscape = openDialog(landscape, ini)->stampCorner();

        {
            auto dialog = openDialog(m_form, ini);
            dialog->setOutputQuestion(
                [&](const QString &) { return dir.filePath(QStringLiteral("out.pdf")); });
            dialog->preview()->setStampCorner(QPointF(40, 60));
            QVERIFY(dialog->save());
        }
        QCOMPARE(openDialog(m_form, ini)->stampCorner(), QPointF(40, 60));
        QCOMPARE(openDialog(landscape, ini)->stampCorner(), defaultLandscape);
        QVERIFY(defaultPortrait != QPointF(40, 60));

        // The options' OK writes the file again: the place stays, and so do the options.
        settings.autoClose = !settings.autoClose;
        QVERIFY(saveSettings(settings, ini).ok);
        QCOMPARE(openDialog(m_form, ini)->stampCorner(), QPointF(40, 60));
        AppSettings reread;
        loadSettings(reread, ini);
        QCOMPARE(reread.autoClose, settings.autoClose);
    }

    // After a stamped copy is saved the window says where it went, with a link that opens its
    // folder; the note takes no focus and covers no control.
    void saysWhereTheCopyWent()
    {
        MainWindowFixture f;
        MainWindow &window = f.shownWindow();
        StampExport *exporter = window.stampExport();
        const QString saved = f.dir.filePath(QStringLiteral("out/申請書-stamped.pdf"));
        exporter->setPdfDialogRunner([&](QWidget *, const QString &) { return saved; });
        QWidget *focused = QApplication::focusWidget();
        exporter->stampPdfFile(m_form);
        WindowNote *note = WindowNote::shownIn(&window);
        QVERIFY(note);
        QVERIFY2(note->text().contains(QStringLiteral(u"申請書-stamped.pdf")),
                 qPrintable(note->text()));
        QCOMPARE(QApplication::focusWidget(), focused);
        QCOMPARE(window.windowTitle(), QStringLiteral("Pellimo"));
        for (QWidget *w : window.findChildren<QWidget *>()) {
            if (w != note && w->isVisible() && w->focusPolicy() != Qt::NoFocus)
                QVERIFY2(
                    !QRect(w->mapTo(&window, QPoint()), w->size()).intersects(note->geometry()),
                    qPrintable(w->objectName()));
        }
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        Q_EMIT note->linkActivated(QStringLiteral("open"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(catcher.urls,
                 QList<QUrl>{QUrl::fromLocalFile(f.dir.filePath(QStringLiteral("out")))});
        QVERIFY(f.warnings.isEmpty());
    }

    // A file from the command line or a second start that is no PDF: a message, no dialog.
    void refusesWhatIsNoPdf_data()
    {
        QTest::addColumn<QByteArray>("content"); // "-" for no file at all
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QByteArray("-") << QStringLiteral(u"開けません");
        QTest::newRow("text") << QByteArray("hello")
                              << QStringLiteral(u"PDF ファイルではありません");
        QTest::newRow("empty") << QByteArray() << QStringLiteral(u"PDF ファイルではありません");
    }
    void refusesWhatIsNoPdf()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.pdf"));
        if (content != "-")
            QVERIFY(writeAll(path, content));
        QWidget preview;
        StampExport exporter(&preview, [this]() -> const StampProfile & { return m_profile; });
        int opened = 0;
        exporter.setPdfDialogRunner([&](QWidget *, const QString &) {
            ++opened;
            return QString();
        });
        WarningRecorder warnings;
        exporter.stampPdfFile(path);
        QCOMPARE(opened, 0);
        QCOMPARE(warnings.texts().size(), 1);
        QVERIFY2(warnings.texts().first().contains(message), qPrintable(warnings.texts().first()));
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
