// SPDX-License-Identifier: MIT
#pragma once

// The password asked on the controlling terminal without echo, as pellimo-stamp does: asked again
// after a wrong one, up to a number of tries, then given up.
#include "pdfsign/password.h"

namespace pellimo {

class TerminalPassword : public PasswordSource {
public:
    // `terminal` is the device asked on: the controlling terminal unless a caller has another.
    explicit TerminalPassword(int tries = 3, QString terminal = QStringLiteral("/dev/tty"))
        : m_tries(tries), m_terminal(std::move(terminal))
    {
    }
    std::optional<QByteArray> password(const QString &token, bool retry) override;
    QString whyNone() const override { return m_whyNone; }

private:
    int m_tries;
    int m_asked = 0;
    QString m_terminal;
    QString m_whyNone;
};

} // namespace pellimo
