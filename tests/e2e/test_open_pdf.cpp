// SPDX-License-Identifier: MIT
// The real program under Xvfb as a file manager and a desktop start it: `pellimo FILE.pdf` opens
// the window with "PDF に押印…" on the file, a second `pellimo FILE.pdf` hands the file to the
// window that runs, a file that is no PDF gets a message before the window as usual, and the file
// dialogs of the preview's menu under GNOME's platform theme (GTK's dialogs) can be cancelled
// again and again. PELLIMO_E2E_SHOTS=DIR keeps the screen with the dialog as DIR/open-pdf.png.

#include "../stamptool/toolrun.h"
#include "desktop.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <xcb/xcb.h>

using namespace e2e;

namespace {

const QString kExe = QStringLiteral(PELLIMO_EXE);
// The preview's place in the window, and the exit status of a second start.
constexpr QPoint kPreview(60, 80);
constexpr int kExitAlreadyRunning = 2;

qulonglong waitForWindowNamed(const Desktop &desktop, const QString &pattern, int timeoutMs = 30000)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (const QList<qulonglong> ids = desktop.windowsNamed(pattern); !ids.isEmpty())
            return ids.first();
        QThread::msleep(100);
    }
    return 0;
}

qulonglong waitForMainWindow(const Desktop &desktop)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 30000) {
        for (qulonglong id : desktop.pellimoWindows()) {
            if (desktop.windowSize(id) == kMainWindowSize)
                return id;
        }
        QThread::msleep(100);
    }
    return 0;
}

// The whole screen as the X server has it; a null image when it cannot be read.
QImage rootPicture(const QString &display)
{
    xcb_connection_t *c = xcb_connect(display.toLatin1().constData(), nullptr);
    QImage image;
    if (!xcb_connection_has_error(c)) {
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        xcb_get_image_reply_t *picture = xcb_get_image_reply(
            c,
            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, 0, 0, screen->width_in_pixels,
                          screen->height_in_pixels, ~0u),
            nullptr);
        if (picture && picture->depth == 24 &&
            xcb_get_image_data_length(picture) ==
                int(screen->width_in_pixels) * screen->height_in_pixels * 4)
            image = QImage(xcb_get_image_data(picture), screen->width_in_pixels,
                           screen->height_in_pixels, QImage::Format_RGB32)
                        .copy();
        free(picture);
    }
    xcb_disconnect(c);
    return image;
}

QString dialogName(const QString &file)
{
    return QStringLiteral(u"^PDF に押印 - %1$").arg(QRegularExpression::escape(file));
}

} // namespace

class TestOpenPdf : public QObject {
    Q_OBJECT

    std::unique_ptr<XServer> m_x;
    std::unique_ptr<Desktop> m_desktop;
    std::unique_ptr<ProgramFolder> m_folder;
    QList<QProcess *> m_runs;
    QTemporaryDir m_files;

    // A program folder with the dialog's module and renderer beside the program.
    void prepareFolder()
    {
        m_folder = std::make_unique<ProgramFolder>(kExe);
        QVERIFY(m_folder->isValid());
        const QString built = QFileInfo(kExe).absolutePath();
        for (const char *name : {"pellimo-pdfdialog.so", "pellimo-pdfpage"}) {
            const QString to = m_folder->file(QString::fromLatin1(name));
            QVERIFY2(QFile::copy(QDir(built).filePath(QString::fromLatin1(name)), to), name);
            QFile(to).setPermissions(QFile(to).permissions() | QFile::ExeOwner);
        }
    }

    QString pdf(const QString &name)
    {
        const QString path = m_files.filePath(name);
        if (!QFile::exists(path) && !pellimo::testing::writeFormPdf(path, 2))
            return QString();
        return path;
    }

    void shoot(const QString &name)
    {
        const QString shots = qEnvironmentVariable("PELLIMO_E2E_SHOTS");
        if (shots.isEmpty())
            return;
        QThread::msleep(1500); // the page drawn
        const QImage screen = rootPicture(m_x->display());
        if (screen.isNull() || !screen.save(QDir(shots).filePath(name)))
            qWarning("the screen could not be kept");
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (const char *tool : {"xdotool", "qpdf"})
            QVERIFY2(!QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(), tool);
        m_x = std::make_unique<XServer>();
        QString error;
        QVERIFY2(m_x->start(&error), qPrintable(error));
        m_desktop = std::make_unique<Desktop>(m_x->display());
    }

    void cleanup() { endTestRuns(*m_desktop, std::exchange(m_runs, {}), m_folder); }

    // `pellimo FILE.pdf`: the window, and the dialog on the file over it.
    void opensTheDialogOnTheFile()
    {
        prepareFolder();
        const QString file = pdf(QStringLiteral(u"申請書 1.pdf"));
        QVERIFY(!file.isEmpty());
        m_runs << m_desktop->start(*m_folder, {file});
        const qulonglong window = waitForMainWindow(*m_desktop);
        QVERIFY(window);
        const qulonglong dialog =
            waitForWindowNamed(*m_desktop, dialogName(QStringLiteral(u"申請書 1.pdf")));
        QVERIFY2(dialog, "no dialog on the file");
        shoot(QStringLiteral("open-pdf.png"));

        // 押印して保存 asks where, name-stamped.pdf beside the original proposed; the window then
        // says where the copy went.
        m_desktop->pressKey(dialog, QStringLiteral("Return"));
        const qulonglong where =
            waitForWindowNamed(*m_desktop, QStringLiteral(u"^押印した PDF の保存先$"));
        QVERIFY2(where, "no save dialog");
        m_desktop->pressKey(where, QStringLiteral("Return"));
        const QString stamped = m_files.filePath(QStringLiteral(u"申請書 1-stamped.pdf"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(stamped), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(m_desktop->windowsNamed(QStringLiteral("^PDF")).isEmpty(), 10000);
        QVERIFY(pellimo::testing::pageText(stamped, 1).contains(QStringLiteral("Form page 1")));
        shoot(QStringLiteral("saved-note.png"));
        QCOMPARE(m_runs.first()->state(), QProcess::Running); // the window stays

        // Set: a note, and the window stays as it was.
        m_desktop->click(window, kSetX, kButtonY);
        shoot(QStringLiteral("set-note.png"));
        QCOMPARE(m_desktop->clipboardImage().size(), QSize(78, 78));
        QCOMPARE(m_desktop->pellimoWindows(), QList<qulonglong>{window});
    }

    // A second start with a PDF hands it to the window that runs and ends at once with status 0;
    // a second start without one keeps its message and status.
    void secondStartHandsThePdfOver()
    {
        prepareFolder();
        m_runs << m_desktop->start(*m_folder, {});
        const qulonglong window = waitForMainWindow(*m_desktop);
        QVERIFY(window);
        const QString file = pdf(QStringLiteral("second.pdf"));
        const RunResult handed = m_desktop->run(*m_folder, {file}, 20000);
        QVERIFY(handed.finished);
        QCOMPARE(handed.exitCode, 0);
        QVERIFY2(!QString::fromUtf8(handed.standardError).contains(kAlreadyRunning),
                 handed.standardError.constData());
        const qulonglong dialog =
            waitForWindowNamed(*m_desktop, dialogName(QStringLiteral("second.pdf")));
        QVERIFY2(dialog, "the running window did not open the dialog");
        QCOMPARE(m_desktop->windowsNamed(QStringLiteral("^PDF")).size(), 1);
        m_desktop->pressKey(dialog, QStringLiteral("Escape"));
        QTRY_VERIFY_WITH_TIMEOUT(m_desktop->windowsNamed(QStringLiteral("^PDF")).isEmpty(), 10000);

        // Without a PDF: the message, status 2.
        QProcess *other = m_desktop->start(*m_folder, {});
        m_runs << other;
        const qulonglong message = m_desktop->waitForNewWindow({window});
        QVERIFY(message);
        m_desktop->pressKey(message, QStringLiteral("Return"));
        QVERIFY(other->waitForFinished(20000));
        QCOMPARE(other->exitCode(), kExitAlreadyRunning);
        QVERIFY(QString::fromUtf8(other->readAllStandardError()).contains(kAlreadyRunning));
    }

    // A file that is no PDF, or whose name is not UTF-8 (given by its bytes, through sh): the
    // message, then the window as usual.
    void noPdfGetsAMessage_data()
    {
        QTest::addColumn<QString>("name"); // printf's format for the name's bytes
        QTest::addColumn<QString>("says");
        QTest::newRow("not a PDF") << "notes.pdf"
                                   << "notes.pdf is not a PDF file";
        QTest::newRow("a name in CP932") << "\\214\\216\\225\\361.pdf"
                                         << "cannot be opened: its name is not UTF-8 text";
    }

    void noPdfGetsAMessage()
    {
        QFETCH(QString, name);
        QFETCH(QString, says);
        prepareFolder();
        const QByteArray path = QFile::encodeName(m_files.path()) + '/' +
                                pellimo::testing::run(QStringLiteral("printf"), {name}).outBytes;
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        QVERIFY(fd >= 0 && ::write(fd, "just text\n", 10) == 10);
        ::close(fd);
        const auto removeFile = qScopeGuard([&] { ::unlink(path.constData()); });
        auto *program = new QProcess;
        program->setProcessEnvironment(m_desktop->environment());
        program->start(QStringLiteral("sh"),
                       {QStringLiteral("-c"), QStringLiteral("exec \"$0\" \"$1/$(printf \"$2\")\""),
                        m_folder->executable(), m_files.path(), name});
        m_runs << program;
        const qulonglong window = waitForMainWindow(*m_desktop);
        QVERIFY(window);
        const qulonglong message = m_desktop->waitForNewWindow({window});
        QVERIFY2(message, "no message");
        m_desktop->pressKey(message, QStringLiteral("Return"));
        QTRY_COMPARE_WITH_TIMEOUT(m_desktop->pellimoWindows(), QList<qulonglong>{window}, 10000);
        QVERIFY(m_desktop->windowsNamed(QStringLiteral("^PDF")).isEmpty());
        m_desktop->click(window, kEndX, kButtonY);
        QVERIFY(program->waitForFinished(20000));
        QCOMPARE(program->exitCode(), 0);
        // The run's locale is C: the message in English (Japanese under ja_JP, test_programtexts).
        const QString said = QString::fromUtf8(program->readAllStandardError());
        QVERIFY2(said.contains(says), qPrintable(said));
    }

    // GNOME's platform theme brings GTK's file dialogs, which run an event loop of their own:
    // cancelling them, again and again, leaves the program running.
    void gtkFileDialogsCancelled_data()
    {
        QTest::addColumn<int>("entry"); // in the preview's menu, from 1
        QTest::addColumn<QString>("title");
        QTest::newRow("save as picture") << 1 << QStringLiteral(u"画像として保存");
        QTest::newRow("stamp a PDF") << 2 << QStringLiteral(u"押印する PDF");
    }
    void gtkFileDialogsCancelled()
    {
        QFETCH(int, entry);
        QFETCH(QString, title);
        const QString theme = QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                              QStringLiteral("/platformthemes/libqgtk3.so");
        QVERIFY2(QFile::exists(theme), "qt6-gtk-platformtheme is not installed");
        prepareFolder();
        QProcessEnvironment env = m_desktop->environment();
        env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));
        env.insert(QStringLiteral("QT_QPA_PLATFORMTHEME"), QStringLiteral("gtk3"));
        env.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("memory"));
        env.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));
        QProcess *run = m_desktop->start(*m_folder, {}, env);
        m_runs << run;
        const qulonglong window = waitForMainWindow(*m_desktop);
        QVERIFY(window);
        QStringList keys;
        for (int i = 0; i < entry; ++i)
            keys << QStringLiteral("Down");
        keys << QStringLiteral("Return");
        const auto stillRunning = [&](int cancels) {
            return run->state() == QProcess::Running ||
                   (qWarning("ended after %d cancels: %s", cancels,
                             run->readAllStandardError().constData()),
                    false);
        };
        for (int round = 1; round <= 5; ++round) {
            QVERIFY(stillRunning(round - 1));
            m_desktop->xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"),
                                QString::number(window), QString::number(kPreview.x()),
                                QString::number(kPreview.y()), QStringLiteral("click"),
                                QStringLiteral("3")});
            QThread::msleep(500); // the menu opens and grabs the keyboard
            m_desktop->xdotool(QStringList{QStringLiteral("key")} + keys);
            const qulonglong dialog = waitForWindowNamed(
                *m_desktop, QStringLiteral("^%1$").arg(QRegularExpression::escape(title)), 20000);
            QVERIFY2(dialog, qPrintable(QStringLiteral("round %1: no dialog").arg(round)));
            m_desktop->xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
            QTRY_VERIFY_WITH_TIMEOUT(
                m_desktop
                    ->windowsNamed(QStringLiteral("^%1$").arg(QRegularExpression::escape(title)))
                    .isEmpty(),
                10000);
        }
        QThread::msleep(1000);
        QVERIFY(stillRunning(5));
        m_desktop->click(window, kEndX, kButtonY);
        QVERIFY(run->waitForFinished(20000));
        QCOMPARE(run->exitCode(), 0);
    }
};

QTEST_MAIN(TestOpenPdf) // the test PDFs are written with QPdfWriter
#include "test_open_pdf.moc"
