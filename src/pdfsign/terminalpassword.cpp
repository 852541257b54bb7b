// SPDX-License-Identifier: MIT
// Asking for a password on a terminal with echo off. The terminal's settings come back when the
// line is read, and also when a signal (Ctrl-C, a hang-up) ends the program in the middle.
#include "pdfsign/terminalpassword.h"

#include <QCoreApplication>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace pellimo {

namespace {

constexpr std::array kEndingSignals{SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// What the signal handler restores; only one prompt is open at a time.
volatile sig_atomic_t g_promptFd = -1;
termios g_saved{};
std::array<struct sigaction, kEndingSignals.size()> g_previous{};

void restoreAndReraise(int sig)
{
    if (g_promptFd >= 0)
        tcsetattr(g_promptFd, TCSAFLUSH, &g_saved);
    for (size_t i = 0; i < kEndingSignals.size(); ++i)
        if (kEndingSignals[i] == sig)
            sigaction(sig, &g_previous[i], nullptr);
    raise(sig);
}

void writeAll(int fd, const QByteArray &text)
{
    qsizetype done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.constData() + done, size_t(text.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += n;
    }
}

// One line from `fd`, without its end; nothing at the end of input before any byte.
std::optional<QByteArray> readLine(int fd)
{
    QByteArray line;
    char c = 0;
    for (;;) {
        const ssize_t n = ::read(fd, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return line.isEmpty() ? std::nullopt : std::optional(line);
        if (c == '\n')
            return line;
        if (line.size() < 64 * 1024)
            line.append(c);
    }
}

// Echo off on `fd` for the lifetime of this object, with the handlers that undo it on a signal.
class EchoOff {
public:
    explicit EchoOff(int fd) : m_fd(fd)
    {
        if (tcgetattr(fd, &g_saved) != 0)
            return;
        termios quiet = g_saved;
        quiet.c_lflag &= ~tcflag_t(ECHO | ECHOE | ECHOK | ECHONL);
        quiet.c_lflag |= ICANON;
        struct sigaction action {};
        action.sa_handler = restoreAndReraise;
        sigemptyset(&action.sa_mask);
        for (size_t i = 0; i < kEndingSignals.size(); ++i)
            sigaction(kEndingSignals[i], &action, &g_previous[i]);
        g_promptFd = fd;
        m_active = tcsetattr(fd, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff()
    {
        if (g_promptFd < 0)
            return;
        if (m_active)
            tcsetattr(m_fd, TCSAFLUSH, &g_saved);
        g_promptFd = -1;
        for (size_t i = 0; i < kEndingSignals.size(); ++i)
            sigaction(kEndingSignals[i], &g_previous[i], nullptr);
    }
    EchoOff(const EchoOff &) = delete;
    EchoOff &operator=(const EchoOff &) = delete;

private:
    int m_fd;
    bool m_active = false;
};

} // namespace

std::optional<QByteArray> TerminalPassword::password(const QString &token, bool retry)
{
    if (m_asked >= m_tries)
        return std::nullopt;
    const int fd = ::open(m_terminal.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        m_whyNone =
            QCoreApplication::translate("pellimo", "No terminal to ask the password for “%1” on")
                .arg(token);
        return std::nullopt;
    }
    std::optional<QByteArray> line;
    {
        EchoOff quiet(fd);
        if (retry)
            writeAll(
                fd,
                QCoreApplication::translate("pellimo", "Wrong password, try again.").toLocal8Bit() +
                    '\n');
        writeAll(
            fd,
            QCoreApplication::translate("pellimo", "Password for “%1”: ").arg(token).toLocal8Bit());
        ++m_asked;
        line = readLine(fd);
        writeAll(fd, "\n"); // the user's Enter was not echoed
    }
    ::close(fd);
    return line;
}

} // namespace pellimo
