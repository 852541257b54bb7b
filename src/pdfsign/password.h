// SPDX-License-Identifier: MIT
#pragma once

// Where the password of a token (the NSS database's own, or a smart card's PIN) comes from. NSS
// asks through one callback; each call that may need a password hands it the caller's source.
// Passwords never come from the command line: a terminal prompt (terminalpassword.h), a file the
// caller names, or a string a dialog collected.
#include <QByteArray>
#include <QString>
#include <optional>

namespace pellimo {

class PasswordSource {
public:
    virtual ~PasswordSource() = default;
    // The password of `token`; `retry` is true when the previous one was wrong. Nothing gives up.
    virtual std::optional<QByteArray> password(const QString &token, bool retry) = 0;
    // Why the source gave up without a password, when it was not the user's choice (no terminal).
    virtual QString whyNone() const { return {}; }
};

// A password the caller already holds (a dialog's field, a file's line): offered once; a wrong
// one is not offered again, so the caller hears of it and may ask anew.
class FixedPassword : public PasswordSource {
public:
    explicit FixedPassword(QByteArray password) : m_password(std::move(password)) {}
    ~FixedPassword() override { m_password.fill('\0'); }
    std::optional<QByteArray> password(const QString &, bool retry) override;

private:
    QByteArray m_password;
};

// The first line of the file at `path`, without its line end (a pipe such as <(...) works too).
// False, with the reason in `error`, when it cannot be read.
bool readPasswordFile(const QString &path, QByteArray &password, QString &error);

} // namespace pellimo
