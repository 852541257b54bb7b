// SPDX-License-Identifier: MIT
// Taking the clipboard from whoever has it, on a real X server: in this process through the same
// call Set makes, and with the real program in rounds of starts released at once, where each
// start that gets the lock must take the clipboard from the previous start's serving process.

#include "desktop.h"
#include "platform/clipboard.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <unistd.h>
#include <xcb/xcb.h>

using namespace e2e;
using pellimo::ownsX11Clipboard;
using pellimo::putStampOnClipboard;

namespace {

const QString kExe = QStringLiteral(PELLIMO_EXE);
constexpr int kExitAlreadyRunning = 2;

// The display the test process itself runs on; started before QGuiApplication.
XServer *g_server = nullptr;

xcb_connection_t *qtConnection()
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

xcb_window_t clipboardOwner()
{
    xcb_connection_t *c = qtConnection();
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 9, "CLIPBOARD"), nullptr);
    xcb_get_selection_owner_reply_t *owner =
        atom ? xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr)
             : nullptr;
    const xcb_window_t window = owner ? owner->owner : XCB_NONE;
    free(owner);
    free(atom);
    return window;
}

// Waits, without handling any event in this process, until the clipboard's owner is not `old`.
bool waitForOtherOwner(xcb_window_t old)
{
    for (int i = 0; i < 200; ++i) {
        const xcb_window_t now = clipboardOwner();
        if (now != XCB_NONE && now != old)
            return true;
        QThread::msleep(25);
    }
    return false;
}

} // namespace

class TestClipboardHandOver : public QObject {
    Q_OBJECT

    std::unique_ptr<Desktop> m_desktop;

private Q_SLOTS:
    void initTestCase()
    {
        for (const char *tool : {"xclip", "xdotool", "flock", "bash"})
            QVERIFY2(!QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(), tool);
        QVERIFY2(g_server, "no display");
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        m_desktop = std::make_unique<Desktop>(g_server->display());
    }

    // Qt stamps its request for the selection with the time of the last event it handled. When
    // other clients took the clipboard after that event (the events are still queued), the
    // request is older than the selection's last change, and the server ignores it.
    void takesClipboardTakenSinceLastEvent_data()
    {
        QTest::addColumn<int>("takenSince");
        QTest::newRow("taken once since the last event") << 1;
        QTest::newRow("taken three times since") << 3;
    }
    void takesClipboardTakenSinceLastEvent()
    {
        QFETCH(int, takenSince);
        QClipboard *clipboard = QGuiApplication::clipboard();
        QSignalSpy changed(clipboard, &QClipboard::changed);
        const xcb_window_t before = clipboardOwner();
        QVERIFY(m_desktop->setClipboardText("first"));
        QVERIFY(waitForOtherOwner(before));
        QVERIFY(changed.wait(5000)); // this process has handled that change, and its time
        for (int i = 0; i < takenSince; ++i) {
            const xcb_window_t owner = clipboardOwner();
            QVERIFY(m_desktop->setClipboardText("later"));
            QVERIFY(waitForOtherOwner(owner));
        }

        QImage stamp(78, 78, QImage::Format_ARGB32);
        stamp.fill(Qt::red);
        QVERIFY(putStampOnClipboard(stamp));
        // Asked of the server: reading the image back through xclip would need this process
        // to answer while it waits for xclip.
        QCOMPARE(ownsX11Clipboard(), std::optional<bool>(true));
    }

    // Rounds of simultaneous nogui starts in one folder: each start either gets the lock and
    // puts its stamp on the clipboard (status 0), or says that Pellimo runs (status 2). None
    // fails to take the clipboard from the serving process of the start before it.
    void overlappingStarts()
    {
        constexpr int kRounds = 4, kStarts = 8;
        ProgramFolder folder(kExe);
        QVERIFY(folder.isValid());
        QVERIFY(m_desktop->setClipboardText("before")); // not this process, which will be busy
        QTemporaryDir gateDir;
        const QString gate = gateDir.filePath(QStringLiteral("gate"));
        int succeeded = 0, turnedAway = 0;
        QStringList failures;
        for (int round = 0; round < kRounds; ++round) {
            const int fd =
                ::open(QFile::encodeName(gate).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
            QVERIFY(fd >= 0 && ::flock(fd, LOCK_EX) == 0);
            std::vector<std::unique_ptr<QProcess>> starts;
            for (int i = 0; i < kStarts; ++i) {
                starts.push_back(std::make_unique<QProcess>());
                QProcess *p = starts.back().get();
                p->setProcessEnvironment(m_desktop->environment());
                p->setStandardInputFile(QProcess::nullDevice());
                p->start(QStringLiteral("bash"),
                         {QStringLiteral("-c"),
                          QStringLiteral("flock -s \"$1\" true && exec \"$0\" nogui"),
                          folder.executable(), gate});
                QVERIFY(p->waitForStarted(10000));
            }
            QThread::msleep(300); // each waits at the gate
            ::close(fd);

            QElapsedTimer timer;
            timer.start();
            auto running = [&] {
                return std::any_of(starts.begin(), starts.end(), [](const auto &p) {
                    return p->state() != QProcess::NotRunning;
                });
            };
            while (running() && timer.elapsed() < 120000) {
                for (qulonglong box : m_desktop->pellimoWindows())
                    m_desktop->pressKey(box, QStringLiteral("Return"));
                starts.front()->waitForFinished(200);
                for (const auto &p : starts)
                    p->waitForFinished(1);
            }
            for (const auto &p : starts) {
                QVERIFY2(p->state() == QProcess::NotRunning, "a start did not end");
                const QByteArray err = p->readAllStandardError();
                if (p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0)
                    ++succeeded;
                else if (p->exitStatus() == QProcess::NormalExit &&
                         p->exitCode() == kExitAlreadyRunning)
                    ++turnedAway;
                else
                    failures << QStringLiteral("round %1: status %2: %3")
                                    .arg(round)
                                    .arg(p->exitCode())
                                    .arg(QString::fromUtf8(err).simplified());
            }
        }
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u'\n')));
        QCOMPARE(succeeded + turnedAway, kRounds * kStarts);
        QVERIFY(succeeded >= kRounds);
        QCOMPARE(m_desktop->clipboardImage().size(), QSize(78, 78));
        m_desktop->setClipboardText("taken");
        QVERIFY(Desktop::waitUntilNoProcess(folder, 10000));
    }
};

int main(int argc, char **argv)
{
    XServer server;
    QString error;
    if (!server.start(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    g_server = &server;
    qputenv("DISPLAY", server.display().toLatin1());
    qputenv("QT_QPA_PLATFORM", "xcb");
    qunsetenv("WAYLAND_DISPLAY");
    QGuiApplication app(argc, argv);
    TestClipboardHandOver test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_clipboard_handover.moc"
