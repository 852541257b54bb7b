// SPDX-License-Identifier: MIT
#include "warning.h"

#include <cstdio>

namespace pellimo {

namespace {
WarningHandler &handler()
{
    static WarningHandler current;
    return current;
}
} // namespace

void showWarning(const QString &text)
{
    if (handler()) {
        handler()(text);
        return;
    }
    std::fprintf(stderr, "Pellimo: %s\n", text.toLocal8Bit().constData());
}

WarningHandler setWarningHandler(WarningHandler h)
{
    return std::exchange(handler(), std::move(h));
}

QString joinMessageLines(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace pellimo
