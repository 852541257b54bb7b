// SPDX-License-Identifier: MIT
#include "testpki.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace pellimo::testing {

Ran run(const QString &program, const QStringList &args, const QByteArray &input)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted())
        return {};
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return {-1, p.readAllStandardOutput(), p.readAllStandardError()};
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

QString opensslTime(const QDateTime &t)
{
    return t.toUTC().toString(QStringLiteral("yyyyMMddHHmmss")) + QLatin1Char('Z');
}

QString TestPki::path(const QString &name, const QString &ext) const
{
    return m_folder + QLatin1Char('/') + name + QLatin1Char('.') + ext;
}

namespace {

bool writeText(const QString &path, const QString &text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text.toUtf8()) >= 0;
}

// Runs one step; on failure says which and what the tool printed.
bool step(const QString &program, const QStringList &args, QString &error)
{
    const Ran r = run(program, args);
    if (r.status == 0)
        return true;
    error = program + QLatin1Char(' ') + args.join(QLatin1Char(' ')) + QStringLiteral(": ") +
            QString::fromUtf8(r.err + r.out);
    return false;
}

} // namespace

bool TestPki::make(const CertRecipe &recipe, const QString &friendly, QString &error)
{
    const QString dir = m_folder;
    QDir().mkpath(dir + QStringLiteral("/newcerts"));
    if (!QFile::exists(dir + QStringLiteral("/index.txt")))
        writeText(dir + QStringLiteral("/index.txt"), QString());
    writeText(dir + QStringLiteral("/serial"),
              QStringLiteral("%1\n").arg(m_serial++, 4, 16, QLatin1Char('0')));
    const QString config = dir + QStringLiteral("/ca.cnf");
    writeText(config, QStringLiteral("[ca]\ndefault_ca = test\n[test]\ndatabase = %1/index.txt\n"
                                     "new_certs_dir = %1/newcerts\nserial = %1/serial\n"
                                     "default_md = sha256\npolicy = any\nunique_subject = no\n"
                                     "[any]\norganizationName = optional\ncommonName = supplied\n")
                          .arg(dir));
    const QString ext = path(recipe.name, QStringLiteral("ext"));
    writeText(ext, recipe.extensions + QLatin1Char('\n'));

    QStringList newKey = {QStringLiteral("-newkey"), recipe.key};
    if (recipe.key == QStringLiteral("ec"))
        newKey << QStringLiteral("-pkeyopt") << QStringLiteral("ec_paramgen_curve:P-256");
    const QString key = path(recipe.name, QStringLiteral("key"));
    const QString pem = path(recipe.name, QStringLiteral("pem"));
    const QString csr = path(recipe.name, QStringLiteral("csr"));
    const QString openssl = QStringLiteral("openssl");
    if (!step(openssl,
              QStringList{QStringLiteral("req"), QStringLiteral("-new"), QStringLiteral("-nodes")}
                  << newKey
                  << QStringList{QStringLiteral("-keyout"), key, QStringLiteral("-out"), csr,
                                 QStringLiteral("-subj"), recipe.subject},
              error))
        return false;
    QStringList ca = {QStringLiteral("ca"),
                      QStringLiteral("-batch"),
                      QStringLiteral("-config"),
                      config,
                      QStringLiteral("-in"),
                      csr,
                      QStringLiteral("-out"),
                      pem,
                      QStringLiteral("-notext"),
                      QStringLiteral("-extfile"),
                      ext,
                      QStringLiteral("-startdate"),
                      opensslTime(recipe.notBefore),
                      QStringLiteral("-enddate"),
                      opensslTime(recipe.notAfter)};
    if (recipe.issuer.isEmpty())
        ca << QStringLiteral("-selfsign") << QStringLiteral("-keyfile") << key;
    else
        ca << QStringLiteral("-cert") << path(recipe.issuer, QStringLiteral("pem"))
           << QStringLiteral("-keyfile") << path(recipe.issuer, QStringLiteral("key"));
    if (!step(openssl, ca, error))
        return false;
    QStringList p12 = {QStringLiteral("pkcs12"),   QStringLiteral("-export"),
                       QStringLiteral("-in"),      pem,
                       QStringLiteral("-inkey"),   key,
                       QStringLiteral("-name"),    friendly,
                       QStringLiteral("-passout"), QStringLiteral("pass:p12"),
                       QStringLiteral("-out"),     path(recipe.name, QStringLiteral("p12"))};
    if (!recipe.issuer.isEmpty())
        p12 << QStringLiteral("-certfile") << path(recipe.issuer, QStringLiteral("pem"));
    return step(openssl, p12, error);
}

bool TestPki::makeDatabase(const QString &db, const QString &password, const QStringList &names,
                           QString &error, const QStringList &trustedOnly)
{
    QDir().mkpath(db);
    const QString sql = QStringLiteral("sql:") + db;
    const QString passwordFile = db + QStringLiteral(".password");
    writeText(passwordFile, password + QLatin1Char('\n'));
    QStringList create = {QStringLiteral("-N"), QStringLiteral("-d"), sql};
    create << (password.isEmpty() ? QStringList{QStringLiteral("--empty-password")}
                                  : QStringList{QStringLiteral("-f"), passwordFile});
    if (!step(QStringLiteral("certutil"), create, error))
        return false;
    for (const QString &name : names)
        if (!step(QStringLiteral("pk12util"),
                  {QStringLiteral("-i"), path(name, QStringLiteral("p12")), QStringLiteral("-d"),
                   sql, QStringLiteral("-W"), QStringLiteral("p12"), QStringLiteral("-k"),
                   passwordFile},
                  error))
            return false;
    for (const QString &name : trustedOnly)
        if (!step(QStringLiteral("certutil"),
                  {QStringLiteral("-A"), QStringLiteral("-d"), sql, QStringLiteral("-n"), name,
                   QStringLiteral("-t"), QStringLiteral("C,C,C"), QStringLiteral("-i"),
                   path(name, QStringLiteral("pem"))},
                  error))
            return false;
    return true;
}

} // namespace pellimo::testing
