// SPDX-License-Identifier: MIT
#include "fuzzsupport.h"

#include "model/warning.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace pellimo::fuzz {

namespace {

int g_warnings = 0;

QTemporaryDir &scratchDir()
{
    static QTemporaryDir dir((QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                        : QDir::tempPath()) +
                             QStringLiteral("/pellimo-fuzz-XXXXXX"));
    if (!dir.isValid())
        fail("cannot create the scratch folder");
    return dir;
}

} // namespace

void fail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "\n*** property failed: %s\n", what);
    if (!detail.isEmpty())
        std::fprintf(stderr, "%s\n", detail.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

void countWarnings()
{
    setWarningHandler([](const QString &) { ++g_warnings; });
}

int warningCount()
{
    return g_warnings;
}

QString scratchPath(const QString &name)
{
    return scratchDir().filePath(name);
}

QByteArray readWholeFile(const QString &path, bool *ok)
{
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    if (!*ok)
        return QByteArray();
    QByteArray bytes = file.readAll();
    *ok = file.error() == QFile::NoError;
    return bytes;
}

void writeWholeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush())
        fail("cannot write a scratch file", path);
}

} // namespace pellimo::fuzz
