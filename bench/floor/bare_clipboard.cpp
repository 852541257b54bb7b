// SPDX-License-Identifier: MIT
// The yardstick for the serving process's memory: a Qt Widgets program that puts an 88 x 88 image
// (the default stamp's size) on the clipboard and serves it until another program takes it.

#include <QApplication>
#include <QClipboard>
#include <QImage>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QImage image(88, 88, QImage::Format_RGB32);
    image.fill(Qt::red);
    QClipboard *clipboard = QApplication::clipboard();
    clipboard->setImage(image);
    QObject::connect(clipboard, &QClipboard::dataChanged, &app, [clipboard] {
        if (!clipboard->ownsClipboard())
            QApplication::quit();
    });
    return QApplication::exec();
}
