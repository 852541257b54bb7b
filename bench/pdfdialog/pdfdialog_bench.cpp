// SPDX-License-Identifier: MIT
// The "PDF に押印" dialog as the program runs it (loaded from pellimo-pdfdialog.so) on hostile
// PDFs: how long the window goes without handling events, how long until the page is shown, and
// the peak memory of this process and of its renderers. One scenario per run, since peak memory
// only grows (bench/pdfdialog/README.md).

#include "model/stampprofile.h"
#include "model/warning.h"
#include "rawpdf.h"
#include "render/stampgeometry.h"
#include "render/stampvector.h"
#include "ui/pdfdialog/pdfdialogmodule.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QScreen>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

struct Scenario {
    QByteArray pdf;
    QByteArray typed; // into the page box once the dialog is up; empty: page 1 as it opens
};

Scenario scenario(const QByteArray &name)
{
    if (name == "huge")
        return {hugePagePdf(), {}};
    if (name == "millionq")
        return {millionSavesPdf(), "2"};
    if (name == "manypages")
        return {manyPagesPdf(100000), "50000"};
    if (name == "slow")
        return {nestedFormsPdf(6), "2"};
    return {};
}

double ms(qint64 ns)
{
    return double(ns) / 1e6;
}

double cpuMs()
{
    rusage use{};
    ::getrusage(RUSAGE_SELF, &use);
    return (use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1e3 +
           (use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e3;
}

long peakKb(int who)
{
    rusage use{};
    ::getrusage(who, &use);
    return use.ru_maxrss;
}

} // namespace

// Never called, but with external linkage: what the module takes from the program is linked
// into this one.
void linkWhatTheModuleUses(QPainter &p, const StampGeometry &g)
{
    paintStamp(p, g, QRectF());
    showWarning(QString());
    (void)stampPdf(g, 1);
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if ((argc != 3 && argc != 4) || scenario(argv[2]).pdf.isEmpty()) {
        std::fprintf(stderr, "usage: pdfdialog_bench MODULE_DIR huge|millionq|manypages|slow "
                             "[SCREENSHOT.png]\n");
        return 2;
    }
    // The whole screen, grabbed from the display half a second after the page came.
    const QString screenshot = argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString();
    const Scenario s = scenario(argv[2]);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("hostile.pdf"));
    QFile file(pdf);
    if (!file.open(QIODevice::WriteOnly) || file.write(s.pdf) != s.pdf.size())
        return 1;
    file.close();
    QString error;
    const RunPdfStampDialog run = loadPdfStampDialog({QString::fromLocal8Bit(argv[1])}, &error);
    if (!run) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    setWarningHandler(
        [](const QString &text) { std::fprintf(stderr, "warning: %s\n", qPrintable(text)); });

    // Every 10 ms: the gap since the last tick is how long the window handled no event.
    QElapsedTimer clock;
    qint64 last = 0, longest = 0, acted = -1, shown = -1, appeared = -1;
    double cpuAtAction = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (appeared < 0) {
            appeared = now;
            std::printf("dialog up after %.0f ms (the window handled no event for %.0f ms)\n",
                        ms(appeared), ms(longest));
            std::fflush(stdout);
            longest = 0;
            cpuAtAction = cpuMs();
            acted = clock.nsecsElapsed();
            if (!s.typed.isEmpty()) {
                auto *box = dialog->findChild<QSpinBox *>(QStringLiteral("spnPage"));
                box->selectAll();
                QTest::keyClicks(box, QString::fromLatin1(s.typed));
            }
            last = clock.nsecsElapsed();
            longest = std::max(longest, last - acted);
            return;
        }
        QWidget *preview = dialog->findChild<QWidget *>(QStringLiteral("pagePreview"));
        const QVariant picture = preview->property("pictureShown");
        const QString notice = preview->property("notice").toString();
        const bool done = !picture.isValid() || picture.toBool() ||
                          notice.contains(QStringLiteral(u"表示できません"));
        if (!done)
            return;
        shown = now;
        std::printf("page %s %.0f ms after the typing began; longest time without events %.0f ms; "
                    "CPU of this process meanwhile %.0f ms%s%s\n",
                    picture.isValid() && !picture.toBool() ? "refused" : "shown", ms(shown - acted),
                    ms(longest), cpuMs() - cpuAtAction,
                    notice.isEmpty() ? "" : "; notice: ", qPrintable(notice));
        tick.stop();
        QTimer::singleShot(screenshot.isEmpty() ? 0 : 500, dialog, [dialog, screenshot] {
            if (!screenshot.isEmpty())
                QGuiApplication::primaryScreen()->grabWindow(0).save(screenshot);
            dialog->reject();
        });
    });
    const StampProfile profile = [] {
        StampProfile p;
        loadDefaultProfile(p);
        return p;
    }();
    const StampGeometry g = stampGeometry(profile);
    clock.start();
    tick.start(10);
    QString saved;
    run({&g, naturalDiameterMm(g), pdf, QString(), nullptr}, &saved);
    std::printf("peak memory: this process %ld MB, its renderers %ld MB\n",
                peakKb(RUSAGE_SELF) / 1024, peakKb(RUSAGE_CHILDREN) / 1024);
    return shown >= 0 ? 0 : 1;
}
