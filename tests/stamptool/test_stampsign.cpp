// SPDX-License-Identifier: MIT
// pellimo-stamp --sign and --certs on NSS databases made with openssl, certutil and pk12util: the
// signed copy is valid for pdfsig; every refusal is status 1 and one line, with OUT not written
// and IN unchanged.

#include "stamptool/stampoptions.h"
#include "terminaloutput.h"
#include "testcerts.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

bool writeText(const QString &path, const QByteArray &text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size();
}

bool writePdf(const QString &path)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    QPainter p(&writer);
    p.drawText(QPointF(200, 200), QStringLiteral("A page to sign"));
    return p.end();
}

} // namespace

class TestStampSign : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_tool;
    QString m_in;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    Ran stamp(const QStringList &args, bool detached = false)
    {
        // setsid: no controlling terminal, so that no password can be asked there.
        return detached
                   ? run(QStringLiteral("setsid"), QStringList{QStringLiteral("-w"), m_tool} + args)
                   : run(m_tool, args);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_dir.setAutoRemove(qEnvironmentVariableIsEmpty("PELLIMO_KEEP_TEST_FILES"));
        m_tool = path(QStringLiteral("pellimo-stamp"));
        QVERIFY(QFile::copy(QStringLiteral(PELLIMO_STAMP_EXE), m_tool));
        TestPki pki(path(QStringLiteral("pki")));
        QVERIFY(QDir().mkpath(pki.folder()));
        QString error;
        QVERIFY2(makeTestCertificates(pki,
                                      {QStringLiteral("alice"), QStringLiteral("alice2"),
                                       QStringLiteral("old"), QStringLiteral("future"),
                                       QStringLiteral("nosig")},
                                      error),
                 qPrintable(error));
        QVERIFY2(pki.makeDatabase(path(QStringLiteral("one")), QString(), {QStringLiteral("alice")},
                                  error),
                 qPrintable(error));
        QVERIFY2(pki.makeDatabase(path(QStringLiteral("many")), QStringLiteral("pw"),
                                  {QStringLiteral("alice"), QStringLiteral("alice2"),
                                   QStringLiteral("old"), QStringLiteral("future"),
                                   QStringLiteral("nosig")},
                                  error),
                 qPrintable(error));
        QVERIFY2(pki.makeDatabase(path(QStringLiteral("empty")), QString(), {}, error),
                 qPrintable(error));
        QVERIFY(writeText(path(QStringLiteral("right")), "pw\n"));
        QVERIFY(writeText(path(QStringLiteral("wrong")), "nope\n"));
        m_in = path(QStringLiteral("in.pdf"));
        QVERIFY(writePdf(m_in));
        for (const QString &kind : {QStringLiteral("owner"), QStringLiteral("user")}) {
            const QString user = kind == QLatin1String("user") ? QStringLiteral("u") : QString();
            const Ran r =
                run(QStringLiteral("qpdf"),
                    {QStringLiteral("--encrypt"), user, QStringLiteral("o"), QStringLiteral("256"),
                     QStringLiteral("--"), m_in, path(kind + QStringLiteral(".pdf"))});
            QVERIFY2(r.status == 0, r.err.constData());
        }
    }

    void signs_data()
    {
        QTest::addColumn<QString>("db");
        QTest::addColumn<QStringList>("extra");
        QTest::newRow("the only certificate, no password")
            << QStringLiteral("one") << QStringList{};
        QTest::newRow("named by nickname, password from a file")
            << QStringLiteral("many")
            << QStringList{QStringLiteral("--cert"), QStringLiteral("alice"),
                           QStringLiteral("--password-file"), QStringLiteral("right")};
    }

    void signs()
    {
        QFETCH(QString, db);
        QFETCH(QStringList, extra);
        for (QString &a : extra)
            if (a == QLatin1String("right"))
                a = path(a);
        const QString out = path(db + QStringLiteral("-signed.pdf"));
        const Ran r = stamp(QStringList{QStringLiteral("--onto"), m_in, QStringLiteral("-o"), out,
                                        QStringLiteral("--sign"), QStringLiteral("--nssdb"),
                                        path(db), QStringLiteral("--at"), QStringLiteral("30,40")} +
                                extra,
                            true);
        QVERIFY2(r.status == 0, r.err.constData());
        QCOMPARE(r.err, QByteArray());
        const Ran check = run(QStringLiteral("pdfsig"), {out});
        QVERIFY2(check.out.contains("Signer Certificate Common Name: Taro Yamada"),
                 check.out.constData());
        QVERIFY2(check.out.contains("Signature Validation: Signature is Valid."),
                 check.out.constData());
    }

    void refused_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("db");
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<QString>("says");
        const QStringList right = {QStringLiteral("--password-file"), QStringLiteral("right")};
        auto cert = [&](const char *name) {
            return QStringList{QStringLiteral("--cert"), QString::fromLatin1(name)} + right;
        };
        QTest::newRow("no database") << "in"
                                     << "absent" << right << "absent";
        QTest::newRow("no certificate")
            << "in"
            << "empty" << QStringList{} << "No certificate with a private key";
        QTest::newRow("several, none named") << "in"
                                             << "many" << right << "Several signing certificates";
        QTest::newRow("an ambiguous name")
            << "in"
            << "many" << cert("Taro Yamada") << "Several certificates match";
        QTest::newRow("a name no certificate has")
            << "in"
            << "many" << cert("Nobody") << "No signing certificate named";
        QTest::newRow("expired") << "in"
                                 << "many" << cert("old") << "expired";
        QTest::newRow("not yet valid") << "in"
                                       << "many" << cert("future") << "is not valid until";
        QTest::newRow("no digital-signature key usage")
            << "in"
            << "many" << cert("nosig") << "is not for signing";
        QTest::newRow("wrong password")
            << "in"
            << "many"
            << QStringList{QStringLiteral("--cert"), QStringLiteral("alice"),
                           QStringLiteral("--password-file"), QStringLiteral("wrong")}
            << "Wrong password";
        QTest::newRow("a password but no terminal to ask it on")
            << "in"
            << "many" << QStringList{QStringLiteral("--cert"), QStringLiteral("alice")}
            << "terminal";
        QTest::newRow("a password file that is not there")
            << "in"
            << "many"
            << QStringList{QStringLiteral("--cert"), QStringLiteral("alice"),
                           QStringLiteral("--password-file"), QStringLiteral("absent")}
            << "absent";
        QTest::newRow("encrypted, owner password only") << "owner"
                                                        << "one" << QStringList{} << "is encrypted";
        QTest::newRow("encrypted, user password") << "user"
                                                  << "one" << QStringList{} << "password";
    }

    void refused()
    {
        QFETCH(QString, input);
        QFETCH(QString, db);
        QFETCH(QStringList, extra);
        QFETCH(QString, says);
        for (QString &a : extra)
            if (a == QLatin1String("right") || a == QLatin1String("wrong") ||
                a == QLatin1String("absent"))
                a = path(a);
        const QString in = path(input + QStringLiteral(".pdf"));
        const QByteArray before = fileHash(in);
        const QString out = path(QStringLiteral("refused.pdf"));
        const Ran r =
            stamp(QStringList{QStringLiteral("--onto"), in, QStringLiteral("-o"), out,
                              QStringLiteral("--sign"), QStringLiteral("--nssdb"), path(db)} +
                      extra,
                  true);
        QCOMPARE(r.status, 1);
        const QString said = QString::fromUtf8(r.err);
        QVERIFY2(said.contains(says), qPrintable(said));
        QCOMPARE(said.count(QLatin1Char('\n')), 1);
        QVERIFY(!QFile::exists(out));
        QCOMPARE(fileHash(in), before);
        QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral(".refused*")}, QDir::Hidden),
                 QStringList());
    }

    // Run from a shell: the password is asked on the program's own terminal, not echoed, asked
    // again after a wrong one, and the terminal is left as it was.
    void asksOnItsTerminal()
    {
        const QString out = path(QStringLiteral("typed.pdf"));
        QList<QByteArray> argv = {QFile::encodeName(m_tool),
                                  "--onto",
                                  QFile::encodeName(m_in),
                                  "-o",
                                  QFile::encodeName(out),
                                  "--sign",
                                  "--nssdb",
                                  QFile::encodeName(path(QStringLiteral("many"))),
                                  "--cert",
                                  "alice"};
        std::vector<char *> args;
        for (QByteArray &a : argv)
            args.push_back(a.data());
        args.push_back(nullptr);
        int master = -1;
        const pid_t child = forkpty(&master, nullptr, nullptr, nullptr);
        QVERIFY(child >= 0);
        if (child == 0) {
            execv(args[0], args.data());
            _exit(127);
        }
        QByteArray screen;
        const QList<QByteArray> answers = {"Typo-1\n", "pw\n"};
        qsizetype answered = 0;
        bool echoWasOff = true;
        for (int round = 0; round < 600 && answered < answers.size(); ++round) {
            screen += readTerminal(master, 50);
            if (screen.count("Password for") > answered) {
                termios during{};
                QVERIFY(tcgetattr(master, &during) == 0);
                echoWasOff = echoWasOff && !(during.c_lflag & ECHO);
                const QByteArray &a = answers[answered++];
                QCOMPARE(write(master, a.constData(), size_t(a.size())), a.size());
            }
        }
        int status = -1;
        // Once the program has closed its terminal, readTerminal() returns at once: the sleep keeps
        // the minute to wait a minute.
        for (int round = 0; round < 1200 && waitpid(child, &status, WNOHANG) == 0; ++round) {
            screen += readTerminal(master, 50);
            usleep(50 * 1000);
        }
        screen += readTerminal(master, 50);
        termios after{};
        const bool echoAfter = tcgetattr(master, &after) == 0 && (after.c_lflag & ECHO);
        close(master);
        QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0,
                 qPrintable(QStringLiteral("status %1: ").arg(status) + QString::fromUtf8(screen)));
        QCOMPARE(answered, 2);
        QVERIFY(echoWasOff);
        QVERIFY(echoAfter);
        QVERIFY2(screen.contains("Wrong password, try again."), screen.constData());
        QVERIFY2(!screen.contains("Typo-1") && !screen.contains("pw\r\n"), screen.constData());
        const Ran check = run(QStringLiteral("pdfsig"), {out});
        QVERIFY2(check.out.contains("Signature Validation: Signature is Valid."),
                 check.out.constData());
    }

    // The signature is made over the bytes as written, which a pipe cannot give back.
    void notToStandardOutput()
    {
        const Ran r = stamp({QStringLiteral("--onto"), m_in, QStringLiteral("-o"),
                             QStringLiteral("-"), QStringLiteral("--sign"),
                             QStringLiteral("--nssdb"), path(QStringLiteral("one"))},
                            true);
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains("standard output"), r.err.constData());
        QCOMPARE(r.out, QByteArray());
    }

    void listsCertificates()
    {
        const Ran r = stamp(
            {QStringLiteral("--certs"), QStringLiteral("--nssdb"), path(QStringLiteral("many"))});
        QVERIFY2(r.status == 0, r.err.constData());
        const QStringList lines = QString::fromUtf8(r.out).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 5);
        const QString alice = lines.filter(QStringLiteral("alice\t")).value(0);
        for (const QString &part : {QStringLiteral("CN=Taro Yamada,O=Example"),
                                    QStringLiteral("issuer: CN=Taro Yamada,O=Example"),
                                    QStringLiteral("valid until: ") +
                                        QDate::currentDate().addYears(1).toString(u"yyyy-")})
            QVERIFY2(alice.contains(part), qPrintable(r.out));
        const Ran none = stamp(
            {QStringLiteral("--certs"), QStringLiteral("--nssdb"), path(QStringLiteral("empty"))});
        QCOMPARE(none.status, 1);
    }

    void optionsRefused_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<QString>("says");
        QTest::newRow("sign without onto") << "--pdf a.pdf --sign"
                                           << "go with --onto";
        QTest::newRow("cert without sign") << "--onto in.pdf -o o.pdf --cert x"
                                           << "go with --sign";
        QTest::newRow("password file without sign") << "--onto in.pdf -o o.pdf --password-file f"
                                                    << "go with --sign";
        QTest::newRow("certs with a cert") << "--certs --cert x"
                                           << "--certs takes only --nssdb";
        QTest::newRow("certs with onto") << "--certs --onto in.pdf -o o.pdf"
                                         << "only one";
    }

    void optionsRefused()
    {
        QFETCH(QString, args);
        QFETCH(QString, says);
        QString error;
        parseStampOptions(args.split(u' '), error);
        QVERIFY2(error.contains(says), qPrintable(error));
    }
};

QTEST_MAIN(TestStampSign)
#include "test_stampsign.moc"
