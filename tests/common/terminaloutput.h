// SPDX-License-Identifier: MIT
#pragma once

// What a program wrote on a pseudo-terminal, read from its other side.
#include <QByteArray>
#include <poll.h>
#include <unistd.h>

namespace pellimo::testing {

// Everything that arrives on `master` until nothing more has come for `ms` milliseconds (or the
// terminal's other side is closed).
inline QByteArray readTerminal(int master, int ms)
{
    QByteArray got;
    pollfd p{master, POLLIN, 0};
    while (poll(&p, 1, ms) > 0 && (p.revents & POLLIN)) {
        char buffer[512];
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        got.append(buffer, n);
    }
    return got;
}

} // namespace pellimo::testing
