// SPDX-License-Identifier: MIT
// Starting and stopping NSS: NSS_InitContext per session, so that a library or a second session in
// the same process does not disturb this one.
#include "pdfsign/nsssession.h"

#include "pdfsign/nssptr.h"
#include "pdfsign/passwordcall.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <nss.h>

namespace pellimo {

QString defaultNssDatabaseFolder()
{
    return QDir::homePath() + QStringLiteral("/.pki/nssdb");
}

namespace {

QString withoutPrefix(const QString &folder)
{
    for (const QLatin1StringView prefix : {QLatin1StringView("sql:"), QLatin1StringView("dbm:")})
        if (folder.startsWith(prefix))
            return folder.mid(prefix.size());
    return folder;
}

// The NSS name of the database in `folder`: "sql:" for cert9.db, "dbm:" for the old cert8.db.
QString databaseName(const QString &folder)
{
    if (QFileInfo(folder + QStringLiteral("/cert9.db")).isFile())
        return QStringLiteral("sql:") + folder;
    if (QFileInfo(folder + QStringLiteral("/cert8.db")).isFile())
        return QStringLiteral("dbm:") + folder;
    return {};
}

} // namespace

NssSession::NssSession(NSSInitContextStr *context, QString folder)
    : m_context(context), m_folder(std::move(folder))
{
    // One password path for every token: the source handed to each call as its argument.
    PK11_SetPasswordFunc(nssPasswordCallback);
}

NssSession::~NssSession()
{
    // Fails only while something of NSS is still held (a certificate, a key): a leak to fix.
    if (NSS_ShutdownContext(m_context) != SECSuccess)
        qWarning("NSS did not shut down: %s", qPrintable(nss::lastError()));
}

std::unique_ptr<NssSession> NssSession::open(const QString &given, QString &error)
{
    const QString folder = given.isEmpty() ? defaultNssDatabaseFolder() : withoutPrefix(given);
    const QString name = databaseName(folder);
    if (name.isEmpty()) {
        error = QCoreApplication::translate(
                    "pellimo", "No certificate database in %1 (import a certificate with: "
                               "pk12util -d sql:%1 -i FILE.p12)")
                    .arg(QDir::toNativeSeparators(folder));
        return nullptr;
    }
    NSSInitContext *context =
        NSS_InitContext(name.toUtf8().constData(), "", "", SECMOD_DB, nullptr, NSS_INIT_READONLY);
    if (!context) {
        error =
            QCoreApplication::translate("pellimo", "Cannot open the certificate database in %1: %2")
                .arg(QDir::toNativeSeparators(folder), nss::lastError());
        return nullptr;
    }
    return std::unique_ptr<NssSession>(new NssSession(context, folder));
}

std::unique_ptr<NssSession> NssSession::openWithoutDatabase(QString &error)
{
    NSSInitContext *context =
        NSS_InitContext("", "", "", "", nullptr,
                        NSS_INIT_READONLY | NSS_INIT_NOCERTDB | NSS_INIT_NOMODDB |
                            NSS_INIT_FORCEOPEN | NSS_INIT_NOROOTINIT | NSS_INIT_OPTIMIZESPACE);
    if (!context) {
        error =
            QCoreApplication::translate("pellimo", "Cannot start NSS: %1").arg(nss::lastError());
        return nullptr;
    }
    return std::unique_ptr<NssSession>(new NssSession(context, QString()));
}

} // namespace pellimo
