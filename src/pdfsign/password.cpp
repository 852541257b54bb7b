// SPDX-License-Identifier: MIT
// Passwords: the NSS callback, the log-in with its messages, a fixed password, a password file.
#include "pdfsign/nssptr.h"
#include "pdfsign/passwordcall.h"

#include <QCoreApplication>
#include <QFile>

namespace pellimo {

std::optional<QByteArray> FixedPassword::password(const QString &, bool retry)
{
    if (retry)
        return std::nullopt;
    return m_password;
}

bool readPasswordFile(const QString &path, QByteArray &password, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QCoreApplication::translate("pellimo", "Cannot read the password file %1: %2")
                    .arg(path, file.errorString());
        return false;
    }
    // A password is one line; the rest of the file, if any, is not read.
    constexpr qint64 kLongest = 64 * 1024;
    password = file.readLine(kLongest);
    if (password.endsWith('\n'))
        password.chop(1);
    if (password.endsWith('\r'))
        password.chop(1);
    return true;
}

char *nssPasswordCallback(PK11SlotInfo *slot, PRBool retry, void *arg)
{
    auto *call = static_cast<PasswordCall *>(arg);
    if (!call || !call->source || call->gaveUp)
        return nullptr;
    const QString token = QString::fromUtf8(PK11_GetTokenName(slot));
    std::optional<QByteArray> given = call->source->password(token, retry);
    if (!given) {
        call->gaveUp = true;
        return nullptr;
    }
    ++call->handed;
    char *copy = PORT_Strdup(given->constData());
    given->fill('\0');
    return copy;
}

QString logIn(PK11SlotInfo *slot, PasswordSource &source)
{
    if (!PK11_NeedLogin(slot))
        return {};
    PasswordCall call{&source};
    if (PK11_IsLoggedIn(slot, &call))
        return {};
    if (PK11_Authenticate(slot, PR_TRUE, &call) == SECSuccess)
        return {};
    const QString token = QString::fromUtf8(PK11_GetTokenName(slot));
    if (call.handed > 0)
        return QCoreApplication::translate("pellimo", "Wrong password for “%1”").arg(token);
    if (!source.whyNone().isEmpty())
        return source.whyNone();
    if (call.gaveUp)
        return QCoreApplication::translate("pellimo", "No password given for “%1”").arg(token);
    return QCoreApplication::translate("pellimo", "Cannot log in to “%1”: %2")
        .arg(token, nss::lastError());
}

} // namespace pellimo
