// SPDX-License-Identifier: MIT
#include "wlcopy.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>

namespace pellimo {

bool copyImageWithWlCopy(const QImage &image, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (image.isNull())
        return fail(QStringLiteral("there is no stamp image to copy"));
    const QString program = QStandardPaths::findExecutable(QStringLiteral("wl-copy"));
    if (program.isEmpty())
        return fail(QStringLiteral("wl-copy was not found; install the package wl-clipboard"));

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return fail(QStringLiteral("the stamp could not be encoded as PNG"));

    QProcess copy;
    copy.setStandardOutputFile(QProcess::nullDevice());
    copy.setStandardErrorFile(QProcess::nullDevice());
    copy.start(program, {QStringLiteral("--type"), QStringLiteral("image/png")});
    if (!copy.waitForStarted(5000))
        return fail(QStringLiteral("wl-copy could not be started"));
    copy.write(png);
    copy.closeWriteChannel();
    // wl-copy returns once its background copy serves the clipboard.
    if (!copy.waitForFinished(10000)) {
        copy.kill();
        copy.waitForFinished(1000);
        return fail(QStringLiteral("wl-copy did not finish"));
    }
    if (copy.exitStatus() != QProcess::NormalExit || copy.exitCode() != 0)
        return fail(QStringLiteral("wl-copy failed with status %1").arg(copy.exitCode()));
    return true;
}

bool keepOnWaylandClipboard(const QImage &image, QString *error)
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return true;
    QGuiApplication::sync();
    return copyImageWithWlCopy(image, error);
}

} // namespace pellimo
