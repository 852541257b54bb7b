// SPDX-License-Identifier: MIT
#include "clipboardkeeper.h"

#include "x11selection.h"

#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace pellimo {

ParentLink::~ParentLink()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

ParentLink::ParentLink(ParentLink &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

ParentLink &ParentLink::operator=(ParentLink &&other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

void ParentLink::reportStatus(int status)
{
    if (m_fd < 0)
        return;
    // A parent that was killed must not take this process down with SIGPIPE.
    struct sigaction ignore {
    }, previous{};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, &previous);
    const int32_t value = status;
    ssize_t rc;
    do {
        rc = ::write(m_fd, &value, sizeof value);
    } while (rc < 0 && errno == EINTR);
    ::sigaction(SIGPIPE, &previous, nullptr);
    ::close(m_fd);
    m_fd = -1;
}

int waitForChildStatus(int readFd, pid_t child)
{
    int32_t value = 0;
    size_t got = 0;
    while (got < sizeof value) {
        const ssize_t n =
            ::read(readFd, reinterpret_cast<char *>(&value) + got, sizeof value - got);
        if (n > 0)
            got += size_t(n);
        else if (n == 0 || errno != EINTR)
            break;
    }
    ::close(readFd);
    if (got == sizeof value)
        return value;

    int how = 0;
    pid_t rc;
    do {
        rc = ::waitpid(child, &how, 0);
    } while (rc < 0 && errno == EINTR);
    if (rc == child && WIFEXITED(how))
        return WEXITSTATUS(how);
    if (rc == child && WIFSIGNALED(how))
        return 128 + WTERMSIG(how);
    return 1;
}

namespace {

// The child the waiting parent passes termination signals on to; 0 before the fork.
volatile sig_atomic_t g_child = 0;

void forwardToChild(int signal)
{
    const pid_t child = g_child;
    if (child > 0)
        ::kill(child, signal);
}

// What a launcher, a script or a terminal sends to end a program: the process it knows is the
// waiting parent, and the program runs in the child.
constexpr int kForwardedSignals[] = {SIGTERM, SIGINT, SIGHUP};

} // namespace

ParentLink forkProgramProcess()
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return ParentLink();
    std::fflush(nullptr);
    // Held back over the fork, so that a signal that comes meanwhile is forwarded once the
    // parent knows its child, rather than ending the parent alone.
    sigset_t forwarded, previousMask;
    sigemptyset(&forwarded);
    for (int signal : kForwardedSignals)
        sigaddset(&forwarded, signal);
    ::sigprocmask(SIG_BLOCK, &forwarded, &previousMask);
    const pid_t pid = ::fork();
    if (pid <= 0) {
        ::sigprocmask(SIG_SETMASK, &previousMask, nullptr);
        if (pid == 0) {
            ::close(fds[0]);
            return ParentLink(fds[1]);
        }
        ::close(fds[0]);
        ::close(fds[1]);
        return ParentLink();
    }
    ::close(fds[1]);
    g_child = pid;
    for (int signal : kForwardedSignals) {
        struct sigaction forward {
        }, previous{};
        ::sigaction(signal, nullptr, &previous);
        if (previous.sa_handler == SIG_IGN)
            continue; // ignored by whoever started us (nohup, a background job): so is it here
        forward.sa_handler = forwardToChild;
        sigemptyset(&forward.sa_mask);
        ::sigaction(signal, &forward, nullptr); // no SA_RESTART: the wait below sees EINTR
    }
    ::sigprocmask(SIG_SETMASK, &previousMask, nullptr);
    // Until the child reports; the parent then ends at once.
    const int status = waitForChildStatus(fds[0], pid);
    if (status > 128)
        std::fprintf(stderr, "Pellimo: the program ended abnormally (signal %d).\n", status - 128);
    std::fflush(nullptr);
    ::_exit(status);
}

void detachFromTerminal()
{
    std::fflush(nullptr);
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        if (null > STDERR_FILENO)
            ::close(null);
    }
    if (::chdir("/") != 0) {
        // Staying in the old folder only keeps it busy; nothing to report.
    }
    ::setsid();
}

bool serveClipboardUntilTaken()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    const auto owns = [clipboard] {
        if (const std::optional<bool> x11 = ownsX11Clipboard())
            return *x11;
        return clipboard->ownsClipboard();
    };
    if (!owns())
        return false;
    malloc_trim(0);
    // On X11 the server says when another client takes the selection; nothing polls.
    if (waitWhileOwningX11Clipboard())
        return true;
    QEventLoop loop;
    QObject::connect(clipboard, &QClipboard::changed, &loop, [&] {
        if (!owns())
            loop.quit();
    });
    loop.exec();
    return true;
}

} // namespace pellimo
