// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace pellimo::fuzz {

// Stops the run with a message when a property does not hold; libFuzzer then keeps the input.
[[noreturn]] void fail(const char *what, const QString &detail = QString());

inline void check(bool condition, const char *what, const QString &detail = QString())
{
    if (!condition)
        fail(what, detail);
}

// Replaces the warning box by a counter, so that nothing blocks and a test can see how many
// warnings a call gave.
void countWarnings();
int warningCount();

// A private folder for the properties that need real files: under /dev/shm when it exists, so the
// files stay in memory. It is removed when the fuzzer exits normally.
QString scratchPath(const QString &name);

// The input as a byte array that does not own or pad it, so the sanitizer sees every read past
// its end.
inline QByteArray rawBytes(const uint8_t *data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
}

// The bytes of a file, or nothing readable.
QByteArray readWholeFile(const QString &path, bool *ok);

void writeWholeFile(const QString &path, const QByteArray &bytes);

} // namespace pellimo::fuzz
