// SPDX-License-Identifier: MIT
// The yardstick for start-up time: a Qt Widgets program that only constructs its application
// object (which connects to the display) and exits.

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return 0;
}
