// SPDX-License-Identifier: MIT
#include "sanitizerlogs.h"

#include <QDir>
#include <QFile>

namespace e2e {

bool SanitizerLogs::isSanitizerBuild(const QString &executable)
{
    QFile f(executable);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    // Read in overlapping pieces: the executable of a sanitizer build is large.
    const QByteArray needle = "__asan_init";
    QByteArray tail;
    while (!f.atEnd()) {
        const QByteArray piece = tail + f.read(1 << 20);
        if (piece.contains(needle))
            return true;
        tail = piece.right(needle.size() - 1);
    }
    return false;
}

QProcessEnvironment SanitizerLogs::apply(QProcessEnvironment env,
                                         const QString &extraAsanOptions) const
{
    QString asan =
        QStringLiteral("log_path=%1:detect_leaks=1").arg(m_dir.filePath(QStringLiteral("asan")));
    if (!extraAsanOptions.isEmpty())
        asan += QLatin1Char(':') + extraAsanOptions;
    env.insert(QStringLiteral("ASAN_OPTIONS"), asan);
    env.insert(QStringLiteral("UBSAN_OPTIONS"), QStringLiteral("log_path=%1:print_stacktrace=1")
                                                    .arg(m_dir.filePath(QStringLiteral("ubsan"))));
    env.insert(QStringLiteral("LSAN_OPTIONS"),
               QStringLiteral("suppressions=%1:print_suppressions=0")
                   .arg(QStringLiteral(PELLIMO_LSAN_SUPPRESSIONS)));
    return env;
}

QStringList SanitizerLogs::files() const
{
    return QDir(m_dir.path()).entryList(QDir::Files, QDir::Name);
}

QString SanitizerLogs::reports() const
{
    QString text;
    for (const QString &name : files()) {
        QFile f(m_dir.filePath(name));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        text += QStringLiteral("==== %1 ====\n").arg(name) + QString::fromUtf8(f.readAll());
    }
    return text;
}

} // namespace e2e
