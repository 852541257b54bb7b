// SPDX-License-Identifier: MIT
#include "platform/instancelock.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace pellimo;

namespace {

// Forks a child that waits for `startGate` to close, takes the lock, tells the outcome through
// `ready`, keeps the lock until `holdGate` closes and reports the outcome as its exit code.
// `parentEnds` are the write ends the child must close so that the gates can close.
pid_t lockInChild(const QString &folder, int startGate, int holdGate, int ready,
                  const QList<int> &parentEnds)
{
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    for (int fd : parentEnds)
        ::close(fd);
    char byte;
    if (startGate >= 0 && ::read(startGate, &byte, 1) < 0)
        ::_exit(90);
    InstanceLock lock;
    const auto result = lock.tryLock(folder);
    const int code = result == InstanceLock::Result::Acquired ? 0 : 10 + int(result);
    byte = char(code);
    if (ready >= 0 && ::write(ready, &byte, 1) != 1)
        ::_exit(92);
    if (holdGate >= 0 && ::read(holdGate, &byte, 1) < 0)
        ::_exit(91);
    ::_exit(code);
}

int exitCodeOf(pid_t pid)
{
    int how = 0;
    if (::waitpid(pid, &how, 0) != pid)
        return -1;
    return WIFEXITED(how) ? WEXITSTATUS(how) : 128 + WTERMSIG(how);
}

} // namespace

class TestInstanceLock : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void secondHolderIsRefusedUntilRelease()
    {
        QTemporaryDir dir;
        InstanceLock first, second;
        QCOMPARE(first.tryLock(dir.path()), InstanceLock::Result::Acquired);
        QVERIFY(first.isHeld());
        QCOMPARE(second.tryLock(dir.path()), InstanceLock::Result::HeldByAnother);
        QVERIFY(!second.isHeld());
        first.release();
        QVERIFY(!first.isHeld());
        QCOMPARE(second.tryLock(dir.path()), InstanceLock::Result::Acquired);
    }

    void folderOfItsOwn()
    {
        QTemporaryDir one, two;
        InstanceLock a, b;
        QCOMPARE(a.tryLock(one.path()), InstanceLock::Result::Acquired);
        QCOMPARE(b.tryLock(two.path()), InstanceLock::Result::Acquired);
        QVERIFY(QFile::exists(one.filePath(InstanceLock::lockFileName())));
    }

    void unusableFolder_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::newRow("missing folder") << QStringLiteral("no/such/folder");
        QTest::newRow("folder is a regular file") << QStringLiteral("plainfile");
    }
    void unusableFolder()
    {
        QFETCH(QString, relative);
        QTemporaryDir dir;
        QFile plain(dir.filePath(QStringLiteral("plainfile")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        InstanceLock lock;
        QCOMPARE(lock.tryLock(dir.filePath(relative)), InstanceLock::Result::Unavailable);
        QVERIFY(!lock.isHeld());
    }

    // Another process holds the lock: refused; once that process is killed, free at once.
    void killedHolderLeavesNoStaleLock()
    {
        QTemporaryDir dir;
        int hold[2], ready[2];
        QCOMPARE(::pipe(hold), 0);
        QCOMPARE(::pipe(ready), 0);
        const pid_t holder = lockInChild(dir.path(), -1, hold[0], ready[1], {hold[1], ready[0]});
        ::close(hold[0]);
        ::close(ready[1]);
        char outcome = -1;
        QCOMPARE(::read(ready[0], &outcome, 1), ssize_t(1));
        ::close(ready[0]);
        QCOMPARE(int(outcome), 0);

        InstanceLock mine;
        QCOMPARE(mine.tryLock(dir.path()), InstanceLock::Result::HeldByAnother);
        ::kill(holder, SIGKILL);
        QCOMPARE(exitCodeOf(holder), 128 + SIGKILL);
        ::close(hold[1]);
        QCOMPARE(mine.tryLock(dir.path()), InstanceLock::Result::Acquired);
    }

    // Several starts released at the same moment: exactly one wins.
    void simultaneousStartsOneWins()
    {
        QTemporaryDir dir;
        int start[2], hold[2];
        QCOMPARE(::pipe(start), 0);
        QCOMPARE(::pipe(hold), 0);
        QList<pid_t> children;
        for (int i = 0; i < 6; ++i)
            children << lockInChild(dir.path(), start[0], hold[0], -1, {start[1], hold[1]});
        ::close(start[0]);
        ::close(hold[0]);
        ::close(start[1]); // every child's read returns at once: all race now
        QTest::qWait(300);
        ::close(hold[1]); // let them end
        int winners = 0, refused = 0;
        for (pid_t child : children) {
            const int code = exitCodeOf(child);
            if (code == 0)
                ++winners;
            else if (code == 10 + int(InstanceLock::Result::HeldByAnother))
                ++refused;
        }
        QCOMPARE(winners, 1);
        QCOMPARE(refused, 5);
    }
};

QTEST_GUILESS_MAIN(TestInstanceLock)
#include "test_instancelock.moc"
