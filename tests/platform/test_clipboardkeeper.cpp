// SPDX-License-Identifier: MIT
#include "platform/clipboardkeeper.h"

#include <QElapsedTimer>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace pellimo;

namespace {

enum class ChildEnd { ReportThenLive, ExitUnreported, KilledUnreported };

int exitCodeOf(pid_t pid)
{
    int how = 0;
    if (::waitpid(pid, &how, 0) != pid)
        return -1;
    return WIFEXITED(how) ? WEXITSTATUS(how) : 128 + WTERMSIG(how);
}

bool alive(pid_t pid)
{
    int how = 0;
    return ::waitpid(pid, &how, WNOHANG) == 0;
}

} // namespace

class TestClipboardKeeper : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The parent's wait: a reported status comes back while the child lives on; a child that
    // ends without a report gives its own exit status, or 128 + the signal that killed it.
    void parentWait_data()
    {
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("reports 0, serves on") << int(ChildEnd::ReportThenLive) << 0 << 0;
        QTest::newRow("reports 2, serves on") << int(ChildEnd::ReportThenLive) << 2 << 2;
        QTest::newRow("exits 3 unreported") << int(ChildEnd::ExitUnreported) << 3 << 3;
        QTest::newRow("exits 0 unreported") << int(ChildEnd::ExitUnreported) << 0 << 0;
        QTest::newRow("killed") << int(ChildEnd::KilledUnreported) << SIGKILL << 128 + SIGKILL;
    }
    void parentWait()
    {
        QFETCH(int, end);
        QFETCH(int, value);
        QFETCH(int, expected);
        int fds[2];
        QCOMPARE(::pipe(fds), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(fds[0]);
            ParentLink link(fds[1]);
            switch (ChildEnd(end)) {
            case ChildEnd::ReportThenLive:
                link.reportStatus(value);
                ::sleep(30);
                ::_exit(99);
            case ChildEnd::ExitUnreported:
                ::_exit(value);
            case ChildEnd::KilledUnreported:
                ::raise(value);
                ::_exit(98);
            }
        }
        ::close(fds[1]);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(waitForChildStatus(fds[0], child), expected);
        QVERIFY(timer.elapsed() < 5000);
        if (ChildEnd(end) == ChildEnd::ReportThenLive) {
            QVERIFY2(alive(child), "the parent must not wait for the serving child to end");
            ::kill(child, SIGKILL);
            exitCodeOf(child);
        }
    }

    // The whole fork: the forking process exits with the child's report at once, while the
    // child goes on.
    void forkReturnsChildStatus()
    {
        int pidPipe[2];
        QCOMPARE(::pipe(pidPipe), 0);
        const pid_t caller = ::fork();
        if (caller == 0) {
            ::close(pidPipe[0]);
            ParentLink link = forkProgramProcess(); // the caller exits inside
            if (!link.connected())
                ::_exit(97);
            const pid_t self = ::getpid();
            if (::write(pidPipe[1], &self, sizeof self) != sizeof self)
                ::_exit(96);
            ::close(pidPipe[1]);
            link.reportStatus(5);
            ::sleep(30);
            ::_exit(0);
        }
        ::close(pidPipe[1]);
        pid_t program = 0;
        QCOMPARE(::read(pidPipe[0], &program, sizeof program), ssize_t(sizeof program));
        ::close(pidPipe[0]);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(exitCodeOf(caller), 5);
        QVERIFY(timer.elapsed() < 5000);
        QVERIFY(::kill(program, 0) == 0); // still running: it would be serving the clipboard
        ::kill(program, SIGKILL);
    }

    // A parent that has gone away must not take the reporting process down with SIGPIPE.
    void reportToVanishedParent()
    {
        const pid_t child = ::fork();
        if (child == 0) {
            int fds[2];
            if (::pipe(fds) != 0)
                ::_exit(95);
            ::close(fds[0]);
            ParentLink link(fds[1]);
            link.reportStatus(4);
            link.reportStatus(6); // only the first report counts; the second is a no-op
            ::_exit(link.connected() ? 94 : 0);
        }
        QCOMPARE(exitCodeOf(child), 0);
    }

    // After detaching, the standard streams are /dev/null and the process leads a new session.
    void detachLeavesTerminal()
    {
        int result[2];
        QCOMPARE(::pipe(result), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(result[0]);
            detachFromTerminal();
            struct stat null {
            }, s{};
            ::stat("/dev/null", &null);
            char flags[5] = {'0', '0', '0', '0', '0'};
            for (int fd = 0; fd < 3; ++fd) {
                if (::fstat(fd, &s) == 0 && s.st_rdev == null.st_rdev && S_ISCHR(s.st_mode))
                    flags[fd] = '1';
            }
            if (::getsid(0) == ::getpid())
                flags[3] = '1';
            char cwd[8] = {};
            if (::getcwd(cwd, sizeof cwd) && cwd[0] == '/' && cwd[1] == 0)
                flags[4] = '1';
            if (::write(result[1], flags, sizeof flags) != sizeof flags)
                ::_exit(1);
            ::_exit(0);
        }
        ::close(result[1]);
        char flags[6] = {};
        QCOMPARE(::read(result[0], flags, 5), ssize_t(5));
        ::close(result[0]);
        QCOMPARE(exitCodeOf(child), 0);
        QCOMPARE(QByteArray(flags), QByteArray("11111")); // stdin stdout stderr, session, cwd
    }
};

QTEST_GUILESS_MAIN(TestClipboardKeeper)
#include "test_clipboardkeeper.moc"
