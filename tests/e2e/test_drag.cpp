// SPDX-License-Identifier: MIT
// The stamp dragged out of the preview of the real program under Xvfb, with xdotool's mouse, and
// dropped onto a GTK 3 window (tests/e2e/gtkdroptarget.py): GTK reads the PNG and the file the
// drag offers, as a document editor or a file manager would.

#include "desktop.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <QUrl>
#include <memory>
#include <optional>

using namespace e2e;

namespace {

const QString kExe = QStringLiteral(PELLIMO_EXE);
const QString kDropTarget = QStringLiteral(PELLIMO_DROP_TARGET);

// The preview's middle, in window pixels; the drop window's place on the screen, away from the
// main window, which opens in the middle of the 1280 x 1024 screen.
constexpr QPoint kPreview(60, 80);
constexpr QPoint kTargetAt(900, 60);

// The rest of the first line the process prints that starts with `prefix`, waiting up to `ms`;
// nothing when no such line came.
std::optional<QString> waitForLine(QProcess &process, const QString &prefix, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        while (process.canReadLine()) {
            const QString line = QString::fromUtf8(process.readLine()).trimmed();
            if (line.startsWith(prefix))
                return line.mid(prefix.size());
        }
        process.waitForReadyRead(200);
    }
    return std::nullopt;
}

} // namespace

class TestDrag : public QObject {
    Q_OBJECT

    XServer m_x;
    std::unique_ptr<Desktop> m_desktop;
    std::unique_ptr<ProgramFolder> m_folder;
    QList<QProcess *> m_running;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(),
                 "xdotool is not installed (scripts/install-deps.sh --test)");
        QVERIFY2(QFileInfo(kExe).isExecutable(), qPrintable(kExe));
        QString error;
        QVERIFY2(m_x.start(&error), qPrintable(error));
        m_desktop = std::make_unique<Desktop>(m_x.display());
    }

    void cleanup()
    {
        endTestRuns(*m_desktop, m_running, m_folder);
        qDeleteAll(m_running);
        m_running.clear();
    }

    void dropOntoGtk()
    {
        QProcess target;
        target.setProcessEnvironment(m_desktop->environment());
        target.start(QStringLiteral("/usr/bin/python3"),
                     {kDropTarget, QString::number(kTargetAt.x()), QString::number(kTargetAt.y())});
        QVERIFY2(target.waitForStarted(10000), "python3 did not start");
        QVERIFY2(waitForLine(target, QStringLiteral("ready"), 20000),
                 qPrintable(QStringLiteral("the GTK window did not show: ") +
                            QString::fromUtf8(target.readAllStandardError())));

        m_folder = std::make_unique<ProgramFolder>(kExe);
        QVERIFY(m_folder->isValid());
        m_running << m_desktop->start(*m_folder, {});
        const qulonglong window = m_desktop->waitForNewWindow({});
        QVERIFY2(window, "the main window did not appear");

        // Press on the preview, move past the drag distance in small steps as a hand does, then
        // across the screen to the GTK window, and let go there.
        QVERIFY(m_desktop->xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"),
                                    QString::number(window), QString::number(kPreview.x()),
                                    QString::number(kPreview.y()), QStringLiteral("mousedown"),
                                    QStringLiteral("1")}));
        for (int step = 1; step <= 24; step += 3) {
            QVERIFY(m_desktop->xdotool(
                {QStringLiteral("mousemove_relative"), QStringLiteral("3"), QStringLiteral("0")}));
            QThread::msleep(40);
        }
        const QPoint drop = kTargetAt + QPoint(150, 150);
        for (int i = 1; i <= 4; ++i) {
            QVERIFY(m_desktop->xdotool({QStringLiteral("mousemove"),
                                        QString::number(drop.x() - 40 + 10 * i),
                                        QString::number(drop.y())}));
            QThread::msleep(250);
        }
        QVERIFY(m_desktop->xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));

        QVERIFY2(waitForLine(target, QStringLiteral("offered: "), 20000),
                 "nothing was dropped on the GTK window");
        QCOMPARE(waitForLine(target, QStringLiteral("image/png: "), 10000),
                 QStringLiteral("78x78")); // the size Set puts on the clipboard
        const QString uri =
            waitForLine(target, QStringLiteral("text/uri-list: "), 10000).value_or(QString());
        const QString file = QUrl(uri).toLocalFile();
        QVERIFY2(file.endsWith(QStringLiteral("/stamp.png")), qPrintable(uri));
        QCOMPARE(QImage(file).size(), QSize(78, 78));
        QVERIFY(target.waitForFinished(10000));
    }
};

QTEST_GUILESS_MAIN(TestDrag)
#include "test_drag.moc"
