// SPDX-License-Identifier: MIT
// The certificate store against NSS databases made by certutil and pk12util: which certificates
// are listed, which one a name picks, and the one-line refusals before signing.
#include "pdfsign/certstore.h"
#include "testcerts.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace pellimo;
using namespace pellimo::testing;

class TestCertStore : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString db(const QString &name) const { return m_dir.filePath(QStringLiteral("db-") + name); }

    // Runs `body` with $HOME pointing at `home`.
    template <typename F> void withHome(const QString &home, F body)
    {
        const QByteArray saved = qgetenv("HOME");
        qputenv("HOME", home.toUtf8());
        body();
        qputenv("HOME", saved);
    }

private Q_SLOTS:
    // Something of NSS still held when a session ends is a leak.
    void init()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral("NSS did not shut down")));
    }

    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        TestPki pki(m_dir.path());
        const QStringList signers = {
            QStringLiteral("alice"), QStringLiteral("alice2"),   QStringLiteral("bob"),
            QStringLiteral("old"),   QStringLiteral("future"),   QStringLiteral("nosig"),
            QStringLiteral("noku"),  QStringLiteral("jiro-old"), QStringLiteral("jiro-new")};
        QString error;
        QVERIFY2(makeTestCertificates(pki, QStringList(signers) << QStringLiteral("ca"), error),
                 qPrintable(error));
        QVERIFY2(pki.makeDatabase(db(QStringLiteral("one")), QString(), {QStringLiteral("alice")},
                                  error),
                 qPrintable(error));
        QVERIFY2(
            pki.makeDatabase(db(QStringLiteral("many")), QStringLiteral("secret"), signers, error),
            qPrintable(error));
        QVERIFY2(pki.makeDatabase(db(QStringLiteral("empty")), QString(), {}, error),
                 qPrintable(error));
        QVERIFY2(pki.makeDatabase(db(QStringLiteral("caonly")), QString(), {}, error,
                                  {QStringLiteral("ca")}),
                 qPrintable(error));
        // A home whose default database is a copy of "one".
        const QString homeDb = m_dir.filePath(QStringLiteral("home/.pki/nssdb"));
        QVERIFY(QDir().mkpath(homeDb));
        for (const QString &f : QDir(db(QStringLiteral("one"))).entryList(QDir::Files))
            QVERIFY(QFile::copy(db(QStringLiteral("one")) + u'/' + f, homeDb + u'/' + f));
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("bare/.pki"))));
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("emptyfolder"))));
    }

    void noDatabase_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("says");
        const QString none = QStringLiteral("No certificate database in ");
        QTest::newRow("missing folder") << m_dir.filePath(QStringLiteral("nowhere")) << QString()
                                        << none + m_dir.filePath(QStringLiteral("nowhere"));
        QTest::newRow("empty folder") << m_dir.filePath(QStringLiteral("emptyfolder")) << QString()
                                      << none + m_dir.filePath(QStringLiteral("emptyfolder"));
        QTest::newRow("a file") << m_dir.filePath(QStringLiteral("alice.pem")) << QString() << none;
        QTest::newRow("default, none at home")
            << QString() << m_dir.filePath(QStringLiteral("bare"))
            << none + m_dir.filePath(QStringLiteral("bare/.pki/nssdb"));
    }

    void noDatabase()
    {
        QFETCH(QString, folder);
        QFETCH(QString, home);
        QFETCH(QString, says);
        withHome(home.isEmpty() ? QDir::homePath() : home, [&] {
            QString error;
            QVERIFY(!CertStore::open(folder, error));
            QVERIFY2(error.startsWith(says), qPrintable(error));
            QVERIFY2(error.contains(QStringLiteral("pk12util")), qPrintable(error));
            QVERIFY(!error.contains(u'\n'));
        });
    }

    void opens_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("opened");
        QTest::newRow("folder") << db(QStringLiteral("one")) << QString()
                                << db(QStringLiteral("one"));
        QTest::newRow("sql: prefix") << QStringLiteral("sql:") + db(QStringLiteral("one"))
                                     << QString() << db(QStringLiteral("one"));
        QTest::newRow("default under HOME") << QString() << m_dir.filePath(QStringLiteral("home"))
                                            << m_dir.filePath(QStringLiteral("home/.pki/nssdb"));
    }

    void opens()
    {
        QFETCH(QString, folder);
        QFETCH(QString, home);
        QFETCH(QString, opened);
        withHome(home.isEmpty() ? QDir::homePath() : home, [&] {
            QString error;
            const std::unique_ptr<CertStore> store = CertStore::open(folder, error);
            QVERIFY2(store, qPrintable(error));
            QCOMPARE(store->folder(), opened);
            const QList<CertInfo> certs = store->signingCertificates();
            QCOMPARE(certs.size(), 1);
            QCOMPARE(certs[0].nickname, QStringLiteral("alice"));
        });
    }

    // Only certificates with a key; the CA that came with bob's chain is not one.
    void listing()
    {
        QString error;
        const std::unique_ptr<CertStore> store = CertStore::open(db(QStringLiteral("many")), error);
        QVERIFY2(store, qPrintable(error));
        const QList<CertInfo> certs = store->signingCertificates();
        QStringList names;
        for (const CertInfo &c : certs)
            names << c.nickname;
        QCOMPARE(names.join(u' '),
                 QStringLiteral("alice alice2 bob future jiro jiro noku nosig old"));
        const CertInfo &bob = certs[2];
        QCOMPARE(bob.subject, QStringLiteral("CN=Hanako Suzuki,O=Example"));
        QCOMPARE(bob.commonName, QStringLiteral("Hanako Suzuki"));
        QCOMPARE(bob.issuer, QStringLiteral("CN=Pellimo Test CA"));
        const QDateTime now = QDateTime::currentDateTimeUtc();
        QVERIFY(qAbs(bob.notAfter.secsTo(now.addDays(365))) < 3600);
        QVERIFY(qAbs(bob.notBefore.secsTo(now.addDays(-1))) < 3600);
        QCOMPARE(certs[4].notAfter.date().year(), 2021); // the two jiro, older first
        QVERIFY(certs[5].notAfter > now);
    }

    void noCertificate_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty database") << QStringLiteral("empty");
        QTest::newRow("a CA without key") << QStringLiteral("caonly");
    }

    void noCertificate()
    {
        QFETCH(QString, name);
        QString error;
        const std::unique_ptr<CertStore> store = CertStore::open(db(name), error);
        QVERIFY2(store, qPrintable(error));
        QVERIFY(store->signingCertificates().isEmpty());
        QVERIFY(!store->pick(QString(), QDateTime::currentDateTimeUtc(), error));
        QCOMPARE(error, QStringLiteral("No certificate with a private key in %1 (import one with: "
                                       "pk12util -d sql:%1 -i FILE.p12)")
                            .arg(db(name)));
    }

    void pick_data()
    {
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("picked"); // nickname and CN, or empty
        QTest::addColumn<QStringList>("says");
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const QDateTime in2020(QDate(2020, 6, 1), QTime(12, 0), Qt::UTC);
        const QString one = QStringLiteral("one");
        const QString many = QStringLiteral("many");
        QTest::newRow("the only one")
            << one << QString() << now << "alice Taro Yamada" << QStringList();
        QTest::newRow("by nickname")
            << many << "alice" << now << "alice Taro Yamada" << QStringList();
        QTest::newRow("by common name")
            << many << "Hanako Suzuki" << now << "bob Hanako Suzuki" << QStringList();
        QTest::newRow("expired, named")
            << many << "Old Signer" << now << "old Old Signer" << QStringList();
        QTest::newRow("renewed: the valid one")
            << many << "jiro" << now << "jiro Jiro Tanaka 2" << QStringList();
        QTest::newRow("renewed, signing in 2020")
            << many << "Jiro Tanaka" << in2020 << "jiro Jiro Tanaka 1" << QStringList();
        QTest::newRow("renewed, neither valid")
            << many << "jiro" << now.addYears(5) << QString()
            << QStringList{"Several certificates match “jiro”: jiro (CN=Jiro Tanaka, valid until "
                           "2021-01-01); jiro (CN=Jiro Tanaka"};
        QTest::newRow("ambiguous common name")
            << many << "Taro Yamada" << now << QString()
            << QStringList{
                   "Several certificates match “Taro Yamada”: alice (CN=Taro Yamada,O=Example",
                   "; alice2 (CN=Taro Yamada,O=Other"};
        QTest::newRow("no name, several")
            << many << QString() << now << QString()
            << QStringList{"Several signing certificates in " + db(many) + ", name one: alice (",
                           "; bob (CN=Hanako Suzuki", "; old (CN=Old Signer"};
        QTest::newRow("no such name") << many << "nobody" << now << QString()
                                      << QStringList{"No signing certificate named “nobody” in " +
                                                         db(many) + "; there are: alice (",
                                                     "; nosig ("};
        QTest::newRow("a CA is not a signer") << many << "Pellimo Test CA" << now << QString()
                                              << QStringList{"No signing certificate named"};
    }

    void pick()
    {
        QFETCH(QString, database);
        QFETCH(QString, name);
        QFETCH(QDateTime, when);
        QFETCH(QString, picked);
        QFETCH(QStringList, says);
        QString error;
        const std::unique_ptr<CertStore> store = CertStore::open(db(database), error);
        QVERIFY2(store, qPrintable(error));
        const std::optional<CertInfo> cert = store->pick(name, when, error);
        if (picked.isEmpty()) {
            QVERIFY(!cert);
            for (const QString &part : says)
                QVERIFY2(error.contains(part), qPrintable(error));
            QVERIFY(!error.contains(u'\n'));
            return;
        }
        QVERIFY2(cert, qPrintable(error));
        QString got = cert->nickname + u' ' + cert->commonName;
        if (picked.back().isDigit()) // which of two same-named: 1 the older, 2 the newer
            got +=
                cert->notAfter.date().year() == 2021 ? QStringLiteral(" 1") : QStringLiteral(" 2");
        QCOMPARE(got, picked);
    }

    void problems_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("says");
        QTest::newRow("valid, signing usages") << "alice" << QString();
        QTest::newRow("no key usage at all") << "noku" << QString();
        QTest::newRow("CA-issued") << "bob" << QString();
        QTest::newRow("expired") << "old"
                                 << "The certificate “old” expired on 2021-01-01";
        QTest::newRow("not yet valid") << "future"
                                       << "The certificate “future” is not valid until ";
        QTest::newRow("encryption only")
            << "nosig"
            << "The certificate “nosig” is not for signing: its key usage has neither digital "
               "signature nor non-repudiation";
    }

    void problems()
    {
        QFETCH(QString, name);
        QFETCH(QString, says);
        QString error;
        const std::unique_ptr<CertStore> store = CertStore::open(db(QStringLiteral("many")), error);
        QVERIFY2(store, qPrintable(error));
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const std::optional<CertInfo> cert = store->pick(name, now, error);
        QVERIFY2(cert, qPrintable(error));
        const QString problem = signingProblem(*cert, now);
        if (says.isEmpty())
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        else
            QVERIFY2(problem.startsWith(says), qPrintable(problem));
    }
};

QTEST_GUILESS_MAIN(TestCertStore)
#include "test_certstore.moc"
