// SPDX-License-Identifier: MIT
#pragma once

// Keeping the clipboard after the program ends. On X11 a clipboard's contents live in the
// process that set them, so the program runs in a child process: the parent only waits for the
// child's exit status and returns it at once, while the child, once its work is done, detaches
// from the terminal and goes on serving the clipboard until another program takes it.

#include <sys/types.h>

namespace pellimo {

// The child's end of the pipe to the waiting parent.
class ParentLink {
public:
    ParentLink() = default;
    explicit ParentLink(int writeFd) : m_fd(writeFd) {}
    ~ParentLink();
    ParentLink(ParentLink &&other) noexcept;
    ParentLink &operator=(ParentLink &&other) noexcept;
    ParentLink(const ParentLink &) = delete;
    ParentLink &operator=(const ParentLink &) = delete;

    // False when the program runs without a waiting parent (the fork failed).
    bool connected() const { return m_fd >= 0; }

    // Tells the parent the exit status; the parent exits with it at once. Only the first report
    // counts. Closing the link unreported makes the parent wait for this process's own exit.
    void reportStatus(int status);

private:
    int m_fd = -1;
};

// Forks. Call it first thing in main, before any Qt object or display connection exists. In the
// parent it never returns: it waits for the child's report and exits with that status (or with
// the child's own status when it ended unreported, 128 + signal when it was killed); SIGTERM,
// SIGINT and SIGHUP sent to it meanwhile are passed on to the child. In the child it returns the
// connected link. When the fork cannot be made it returns an unconnected link and
// the program simply runs in this process.
ParentLink forkProgramProcess();

// The parent's side, on its own for tests: reads one status from readFd; on end of file without
// a status, reaps the child and derives the status from how it ended. Closes readFd.
int waitForChildStatus(int readFd, pid_t child);

// Points stdin, stdout and stderr at /dev/null, leaves the caller's working folder and starts a
// new session, so that `x=$(pellimo nogui)` returns and a closed terminal does not end the process.
void detachFromTerminal();

// If this process owns the system clipboard, runs an event loop until another program takes it.
// Returns whether it served. Needs a QGuiApplication. Before it serves, the heap memory that
// drawing and saving freed is handed back to the system (malloc_trim): measured on the serving
// process (Private_Dirty in /proc/PID/smaps_rollup), that is what lowers its private memory;
// dropping the kept fonts, Qt's pixmap cache or the pages of files only drawing read does not.
bool serveClipboardUntilTaken();

} // namespace pellimo
