// SPDX-License-Identifier: MIT
// The main window on a screen scaled by 2: twice the size, a crisp stamp, and a clipboard stamp
// that keeps its size in stamp pixels.

#include "mainwindowfixture.h"
#include "ui/main/picbox.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>

using namespace pellimo;
using namespace pellimo::testing;

class TestMainWindowHiDpi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void windowIsTwiceTheSizeAndTheStampCrisp()
    {
        MainWindowFixture f;
        f.state.profile.lineWidth = 3;
        MainWindow &w = f.shownWindow();
        QCOMPARE(w.devicePixelRatio(), 2.0);
        const QPixmap shot = w.grab();
        QCOMPARE(shot.deviceIndependentSize().toSize(), QSize(555, 311));
        QCOMPARE(shot.size(), QSize(1110, 622));

        // Every stamp pixel becomes a 2 x 2 block of the same colour: no smoothing.
        auto *box = f.control<PicBox>(QStringLiteral("PicBase"));
        const QImage screen = box->grab().toImage();
        const QImage &stamp = w.drawnStamp();
        const QPoint origin = box->contentsRect().topLeft() * 2;
        int mismatches = 0;
        for (int y = 0; y < stamp.height(); ++y) {
            for (int x = 0; x < stamp.width(); ++x) {
                const QRgb want = stamp.pixel(x, y);
                for (int d = 0; d < 4; ++d) {
                    const QPoint at = origin + QPoint(2 * x + d % 2, 2 * y + d / 2);
                    mismatches += (screen.pixel(at) & 0xFFFFFF) != (want & 0xFFFFFF);
                }
            }
        }
        QCOMPARE(mismatches, 0);
        QVERIFY(stamp.pixel(100, 100 - 35) != qRgb(255, 255, 255)); // the circle is there
    }

    void clipboardStampKeepsItsPixelSize()
    {
        MainWindowFixture f;
        MainWindow &w = f.shownWindow();
        f.control<QPushButton>(QStringLiteral("cmdSet"))->click();
        QVERIFY(w.lastSetSucceeded());
        const QImage pasted = QApplication::clipboard()->image();
        QCOMPARE(pasted.size(), QSize(2 * 35 + 8, 2 * 35 + 8));
        QCOMPARE(pasted.convertToFormat(QImage::Format_RGB32), w.cutOut());
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestMainWindowHiDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_mainwindow_hidpi.moc"
