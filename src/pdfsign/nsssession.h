// SPDX-License-Identifier: MIT
#pragma once

// NSS started for this process, on the user's certificate database or on none. Every other part
// of src/pdfsign needs one open session; sessions nest (NSS counts them) and the last one closed
// shuts NSS down, so nothing of NSS outlives it.
#include <QString>
#include <memory>

struct NSSInitContextStr;

namespace pellimo {

// The database browsers and office programs share: $HOME/.pki/nssdb.
QString defaultNssDatabaseFolder();

class NssSession {
public:
    // NSS on the certificate database in `folder` (a Firefox profile works too), read-only; empty
    // means defaultNssDatabaseFolder(). A "sql:" or "dbm:" prefix is accepted. Gives nothing and
    // the reason in `error` when the folder holds no database or NSS cannot open it.
    static std::unique_ptr<NssSession> open(const QString &folder, QString &error);
    // NSS without a database, enough to check signatures.
    static std::unique_ptr<NssSession> openWithoutDatabase(QString &error);

    ~NssSession();
    NssSession(const NssSession &) = delete;
    NssSession &operator=(const NssSession &) = delete;

    // The database folder as opened (without prefix); empty for a session without one.
    const QString &folder() const { return m_folder; }

private:
    NssSession(NSSInitContextStr *context, QString folder);
    NSSInitContextStr *m_context;
    QString m_folder;
};

} // namespace pellimo
