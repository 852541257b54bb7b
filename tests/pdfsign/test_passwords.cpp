// SPDX-License-Identifier: MIT
// Passwords for a database that has one (made with certutil -f): from a file, from a string a
// dialog holds, and typed on a terminal, which a pseudo-terminal plays here: asked without echo,
// asked again after a wrong one up to three times, the terminal restored even after Ctrl-C.
#include "pdfsign/cmssigner.h"
#include "pdfsign/terminalpassword.h"
#include "terminaloutput.h"
#include "testcerts.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <csignal>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

const QString kWrong = QStringLiteral("Wrong password for “NSS Certificate DB”");
const QString kNone = QStringLiteral("No password given for “NSS Certificate DB”");

// A source that gives up at once, as a dialog whose user pressed Cancel.
class Cancelled : public PasswordSource {
public:
    std::optional<QByteArray> password(const QString &, bool) override { return std::nullopt; }
};

} // namespace

class TestPasswords : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_locked; // a database with the password "secret"
    QString m_open;   // one with an empty password

    // Starts a signer with alice from `db` and `source`; the error, or empty when it can sign.
    static QString startWith(const QString &db, PasswordSource &source)
    {
        QString error;
        const std::unique_ptr<CertStore> store = CertStore::open(db, error);
        if (!store)
            return error;
        const std::optional<CertInfo> cert =
            store->pick(QStringLiteral("alice"), QDateTime::currentDateTimeUtc(), error);
        if (!cert)
            return error;
        std::unique_ptr<CmsSigner> signer = CmsSigner::start(*store, *cert, source, error);
        if (!signer)
            return error;
        signer->addData("bytes");
        return signer->finish(error).isEmpty() ? error : QString();
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
        m_locked = m_dir.filePath(QStringLiteral("locked"));
        m_open = m_dir.filePath(QStringLiteral("open"));
        QString error;
        QVERIFY2(makeTestCertificates(pki, {QStringLiteral("alice")}, error), qPrintable(error));
        QVERIFY2(
            pki.makeDatabase(m_locked, QStringLiteral("secret"), {QStringLiteral("alice")}, error),
            qPrintable(error));
        QVERIFY2(pki.makeDatabase(m_open, QString(), {QStringLiteral("alice")}, error),
                 qPrintable(error));
    }

    void passwordFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("password");
        QTest::newRow("line") << QByteArray("secret\n") << QByteArray("secret");
        QTest::newRow("no line end") << QByteArray("secret") << QByteArray("secret");
        QTest::newRow("CR LF") << QByteArray("secret\r\n") << QByteArray("secret");
        QTest::newRow("more lines") << QByteArray("secret\nsecond\n") << QByteArray("secret");
        QTest::newRow("spaces kept") << QByteArray(" se cret \n") << QByteArray(" se cret ");
        QTest::newRow("UTF-8") << QByteArray("秘密\n") << QByteArray("秘密");
        QTest::newRow("empty file") << QByteArray() << QByteArray();
    }

    void passwordFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, password);
        const QString path = m_dir.filePath(QStringLiteral("password"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        QByteArray read = "untouched";
        QString error;
        QVERIFY2(readPasswordFile(path, read, error), qPrintable(error));
        QCOMPARE(read, password);
    }

    void passwordFileMissing()
    {
        QByteArray read;
        QString error;
        const QString path = m_dir.filePath(QStringLiteral("none"));
        QVERIFY(!readPasswordFile(path, read, error));
        QVERIFY2(error.startsWith(QStringLiteral("Cannot read the password file ") + path + u':'),
                 qPrintable(error));
    }

    void given_data()
    {
        QTest::addColumn<QString>("database");
        QTest::addColumn<QByteArray>("password"); // "-": the user cancels
        QTest::addColumn<QString>("error");
        QTest::newRow("right") << "locked" << QByteArray("secret") << QString();
        QTest::newRow("wrong") << "locked" << QByteArray("Secret") << kWrong;
        QTest::newRow("empty for a password") << "locked" << QByteArray() << kWrong;
        QTest::newRow("cancelled") << "locked" << QByteArray("-") << kNone;
        QTest::newRow("not needed") << "open" << QByteArray("anything") << QString();
        QTest::newRow("not needed, cancelled") << "open" << QByteArray("-") << QString();
    }

    void given()
    {
        QFETCH(QString, database);
        QFETCH(QByteArray, password);
        QFETCH(QString, error);
        const QString db = database == QStringLiteral("open") ? m_open : m_locked;
        Cancelled cancelled;
        FixedPassword fixed(password);
        QCOMPARE(startWith(db, password == "-" ? static_cast<PasswordSource &>(cancelled) : fixed),
                 error);
    }

    // A dialog asks again after a wrong password; the store opened once serves both tries.
    void givenAgain()
    {
        QString error;
        const std::unique_ptr<CertStore> store = CertStore::open(m_locked, error);
        QVERIFY2(store, qPrintable(error));
        const std::optional<CertInfo> cert =
            store->pick({}, QDateTime::currentDateTimeUtc(), error);
        QVERIFY2(cert, qPrintable(error));
        FixedPassword wrong("wrong");
        QVERIFY(!CmsSigner::start(*store, *cert, wrong, error));
        QCOMPARE(error, kWrong);
        FixedPassword right("secret");
        QVERIFY2(CmsSigner::start(*store, *cert, right, error), qPrintable(error));
    }

    void terminal_data()
    {
        QTest::addColumn<QByteArrayList>("answers"); // "^D": end of input
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("retries"); // "Wrong password, try again." lines seen
        QTest::newRow("right") << QByteArrayList{"secret"} << QString() << 0;
        QTest::newRow("wrong, then right") << QByteArrayList{"bad", "secret"} << QString() << 1;
        QTest::newRow("right on the third")
            << QByteArrayList{"bad", "worse", "secret"} << QString() << 2;
        QTest::newRow("wrong three times")
            << QByteArrayList{"bad", "worse", "worst"} << kWrong << 2;
        QTest::newRow("Ctrl-D") << QByteArrayList{"^D"} << kNone << 0;
        QTest::newRow("wrong, then Ctrl-D") << QByteArrayList{"bad", "^D"} << kWrong << 1;
    }

    void terminal()
    {
        QFETCH(QByteArrayList, answers);
        QFETCH(QString, error);
        QFETCH(int, retries);
        int master = -1;
        int slave = -1;
        QVERIFY(openpty(&master, &slave, nullptr, nullptr, nullptr) == 0);
        const QString device = QString::fromLocal8Bit(ttyname(slave));
        QString result = QStringLiteral("unfinished");
        std::atomic<bool> done = false;
        std::thread asker([&] {
            TerminalPassword tty(3, device);
            result = startWith(m_locked, tty);
            done = true;
        });
        QByteArray screen;
        qsizetype answered = 0;
        for (int round = 0; round < 200 && !done; ++round) {
            screen += readTerminal(master, 50);
            if (screen.count("Password for") > answered && answered < answers.size()) {
                const QByteArray a = answers[answered++];
                const QByteArray typed = a == "^D" ? QByteArray("\x04") : a + '\n';
                QCOMPARE(write(master, typed.constData(), size_t(typed.size())), typed.size());
            }
        }
        asker.join();
        screen += readTerminal(master, 50);
        termios after{};
        QVERIFY(tcgetattr(slave, &after) == 0);
        close(master);
        close(slave);
        QCOMPARE(result, error);
        QCOMPARE(screen.count("Password for “NSS Certificate DB”: "), answered);
        QCOMPARE(int(screen.count("Wrong password, try again.")), retries);
        for (const QByteArray &a : answers)
            QVERIFY2(!screen.contains(a), screen.constData()); // not echoed
        QVERIFY(after.c_lflag & ECHO);
    }

    void noTerminal()
    {
        TerminalPassword tty(3, m_dir.filePath(QStringLiteral("no-tty")));
        QCOMPARE(startWith(m_locked, tty),
                 QStringLiteral("No terminal to ask the password for “NSS Certificate DB” on"));
    }

    // Ctrl-C at the prompt ends the program as before, with echo back on.
    void interrupted()
    {
        int master = -1;
        const pid_t child = forkpty(&master, nullptr, nullptr, nullptr);
        QVERIFY(child >= 0);
        if (child == 0) {
            TerminalPassword tty;
            tty.password(QStringLiteral("token"), false);
            _exit(0);
        }
        QByteArray screen;
        for (int round = 0; round < 100 && !screen.contains("Password for"); ++round)
            screen += readTerminal(master, 50);
        QVERIFY(screen.contains("Password for “token”: "));
        termios during{};
        QVERIFY(tcgetattr(master, &during) == 0);
        QVERIFY(!(during.c_lflag & ECHO));
        QCOMPARE(write(master, "\x03", 1), 1);
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT);
        termios after{};
        QVERIFY(tcgetattr(master, &after) == 0);
        close(master);
        QVERIFY(after.c_lflag & ECHO);
    }
};

QTEST_GUILESS_MAIN(TestPasswords)
#include "test_passwords.moc"
