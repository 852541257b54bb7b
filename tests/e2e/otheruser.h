// SPDX-License-Identifier: MIT
#pragma once

// Runs the program the way an installed copy runs: by a user with a fresh home folder, from a
// folder that user cannot write. Root may write anywhere, so when the tests run as root the
// program runs as the unprivileged user "nobody" (uid and gid 65534) and the folders it must not
// write stay root's; otherwise the folder is made read-only.

#include "desktop.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <sys/types.h>

namespace e2e {

class FreshUser {
public:
    FreshUser();
    bool isValid() const { return m_valid; }
    QString home() const { return m_home.path(); }
    // Where the installed program keeps its files: $HOME/.local/share/Pellimo.
    QString dataFolder() const;
    QStringList dataFiles() const; // names in dataFolder(), hidden ones included

    // `base` with this user's HOME and runtime folder and no XDG_DATA_HOME.
    QProcessEnvironment environment(const QProcessEnvironment &base) const;

    RunResult run(const QString &executable, const QStringList &arguments,
                  const QProcessEnvironment &env, int timeoutMs = 30000) const;
    // Starts the program and leaves it running; the caller owns the process.
    QProcess *start(const QString &executable, const QStringList &arguments,
                    const QProcessEnvironment &env) const;

    // Makes `folder` one this user cannot write, and lets the user read and enter it and every
    // folder above it up to `top`, which must hold it (a test's own temporary folder).
    bool denyWrites(const QString &folder, const QString &top) const;

private:
    void runAsThisUser(QProcess &process) const;

    QTemporaryDir m_home;
    QTemporaryDir m_runtime;
    bool m_valid = false;
    bool m_switch = false; // run as nobody (the tests run as root)
    uid_t m_uid = 0;
    gid_t m_gid = 0;
};

// The processes whose executable is `executable` (read from /proc), and their end.
QList<pid_t> processesRunning(const QString &executable);
void killProcessesRunning(const QString &executable);

} // namespace e2e
