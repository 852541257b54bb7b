// SPDX-License-Identifier: MIT
// The yardstick for the time to the window: a Qt Widgets program that shows one empty window of
// the main window's size and title, and runs its event loop until it is ended.

#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Pellimo"));
    window.setFixedSize(555, 311);
    window.show();
    return app.exec();
}
