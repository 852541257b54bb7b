// SPDX-License-Identifier: MIT
// Dragging the stamp out of the preview: a PNG as data and as a file, the bitmap Set makes.

#include "mainwindowfixture.h"
#include "ui/main/stampdrag.h"

#include <QApplication>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

void moveWith(QWidget *w, QPoint to, Qt::MouseButtons buttons)
{
    QMouseEvent move(QEvent::MouseMove, to, w->mapToGlobal(to), Qt::NoButton, buttons, {});
    QApplication::sendEvent(w, &move);
}

} // namespace

class TestStampDrag : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dragStartsOnlyForALeftButtonMovedFarEnough_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<int>("distance");
        QTest::addColumn<bool>("drags");
        const int far = QApplication::startDragDistance() + 2;
        QTest::newRow("left, far") << Qt::LeftButton << far << true;
        QTest::newRow("left, a jitter") << Qt::LeftButton << 1 << false;
        QTest::newRow("right (the menu's)") << Qt::RightButton << far << false;
    }
    void dragStartsOnlyForALeftButtonMovedFarEnough()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(int, distance);
        QFETCH(bool, drags);
        MainWindowFixture f;
        MainWindow &w = f.shownWindow();
        QWidget *preview = f.control(QStringLiteral("PicBase"));
        auto *drag = preview->findChild<StampDrag *>();
        QVERIFY(drag);
        std::unique_ptr<QMimeData> carried;
        int started = 0;
        drag->setDragRunner([&](QMimeData *data) {
            ++started;
            carried.reset(data);
        });
        const QPoint at(50, 50);
        QTest::mousePress(preview, button, {}, at);
        moveWith(preview, at + QPoint(distance, 0), button);
        QTest::mouseRelease(preview, button, {}, at + QPoint(distance, 0));
        QCOMPARE(started, drags ? 1 : 0);
        if (!drags)
            return;

        // The bitmap Set puts on the clipboard, as PNG bytes and as a file with the same bytes.
        QVERIFY(carried->hasFormat(QStringLiteral("image/png")));
        QVERIFY(carried->hasUrls());
        const QByteArray png = carried->data(QStringLiteral("image/png"));
        const QImage picture = QImage::fromData(png, "PNG");
        f.control<QPushButton>(QStringLiteral("cmdSet"))->click();
        QCOMPARE(picture.size(), w.cutOut().size());
        QCOMPARE(picture.convertToFormat(QImage::Format_RGB32),
                 w.cutOut().convertToFormat(QImage::Format_RGB32));
        QCOMPARE(carried->urls().size(), 1);
        const QString file = carried->urls().first().toLocalFile();
        QCOMPARE(QFileInfo(file).fileName(), StampDrag::fileName());
        QFile onDisk(file);
        QVERIFY(onDisk.open(QIODevice::ReadOnly));
        QCOMPARE(onDisk.readAll(), png);
        QVERIFY(!file.startsWith(f.dir.path())); // never among the data files
    }

    // No stamp drawn, nothing to drag; a folder that cannot be written, no half drag.
    void nothingToDrag()
    {
        QString why;
        QCOMPARE(StampDrag::mimeDataFor(QImage(), QDir::tempPath(), &why), nullptr);
        QImage picture(10, 10, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QCOMPARE(StampDrag::mimeDataFor(picture, QStringLiteral("/proc/self"), &why), nullptr);
        QVERIFY(!why.isEmpty());
    }
};

QTEST_MAIN(TestStampDrag)
#include "test_stampdrag.moc"
