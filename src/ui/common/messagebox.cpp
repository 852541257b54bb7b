// SPDX-License-Identifier: MIT
#include "messagebox.h"

#include "model/warning.h"

#include <QMessageBox>
#include <cstdio>

namespace pellimo {

void showMessageBox(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Pellimo"), text, QMessageBox::Ok);
    box.exec();
}

void installMessageBoxWarningHandler()
{
    setWarningHandler([](const QString &text) {
        QString echoed = text;
        echoed.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        std::fprintf(stderr, "Pellimo: %s\n", echoed.toLocal8Bit().constData());
        std::fflush(stderr);
        showMessageBox(text);
    });
}

} // namespace pellimo
