// SPDX-License-Identifier: MIT
#include "otheruser.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <csignal>
#include <grp.h>
#include <unistd.h>

namespace e2e {

namespace {

constexpr uid_t kNobody = 65534;

bool own(const QString &path, uid_t uid, gid_t gid)
{
    return ::chown(QFile::encodeName(path).constData(), uid, gid) == 0;
}

} // namespace

FreshUser::FreshUser()
{
    m_switch = ::geteuid() == 0;
    m_uid = m_switch ? kNobody : ::geteuid();
    m_gid = m_switch ? kNobody : ::getegid();
    m_valid = m_home.isValid() && m_runtime.isValid();
    if (m_valid && m_switch)
        m_valid = own(m_home.path(), m_uid, m_gid) && own(m_runtime.path(), m_uid, m_gid);
    QFile::setPermissions(m_runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString FreshUser::dataFolder() const
{
    return m_home.filePath(QStringLiteral(".local/share/Pellimo"));
}

QStringList FreshUser::dataFiles() const
{
    return QDir(dataFolder())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QProcessEnvironment FreshUser::environment(const QProcessEnvironment &base) const
{
    QProcessEnvironment env = base;
    env.insert(QStringLiteral("HOME"), m_home.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    env.remove(QStringLiteral("XDG_DATA_HOME"));
    env.remove(QStringLiteral("XDG_CONFIG_HOME"));
    return env;
}

void FreshUser::runAsThisUser(QProcess &process) const
{
    if (!m_switch)
        return;
    const uid_t uid = m_uid;
    const gid_t gid = m_gid;
    process.setChildProcessModifier([uid, gid] {
        // A child that cannot drop root must not run: it would write where the user cannot.
        if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
            ::_exit(126);
    });
}

RunResult FreshUser::run(const QString &executable, const QStringList &arguments,
                         const QProcessEnvironment &env, int timeoutMs) const
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setWorkingDirectory(home());
    runAsThisUser(process);
    return runToEnd(process, executable, arguments, timeoutMs);
}

QProcess *FreshUser::start(const QString &executable, const QStringList &arguments,
                           const QProcessEnvironment &env) const
{
    auto *process = new QProcess;
    process->setProcessEnvironment(env);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setWorkingDirectory(home());
    runAsThisUser(*process);
    process->start(executable, arguments);
    process->waitForStarted(10000);
    return process;
}

bool FreshUser::denyWrites(const QString &folder, const QString &top) const
{
    const QFile::Permissions readAndEnter = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                            QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    if (!m_switch) // the folder is ours: take our own write permission away
        return QFile::setPermissions(folder, readAndEnter);
    // root keeps the folder; nobody may read and enter it and the folders above it up to `top`
    // (a test's own temporary folder), no more.
    const QString stop = QDir::cleanPath(top);
    QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (path != stop && !path.startsWith(stop + QLatin1Char('/')))
        return false;
    bool ok = true;
    for (;;) {
        const QFile::Permissions p = QFile::permissions(path);
        ok = QFile::setPermissions(path, (p & ~(QFile::WriteGroup | QFile::WriteOther)) |
                                             QFile::ReadOther | QFile::ExeOther) &&
             ok;
        if (path == stop)
            return ok;
        path = QFileInfo(path).absolutePath();
    }
}

QList<pid_t> processesRunning(const QString &executable)
{
    const QString target = QFileInfo(executable).canonicalFilePath();
    QList<pid_t> pids;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool ok = false;
        const int pid = entry.toInt(&ok);
        if (ok && QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid)) == target)
            pids << pid_t(pid);
    }
    return pids;
}

void killProcessesRunning(const QString &executable)
{
    for (pid_t pid : processesRunning(executable))
        ::kill(pid, SIGKILL);
    QElapsedTimer timer;
    timer.start();
    while (!processesRunning(executable).isEmpty() && timer.elapsed() < 3000)
        QThread::msleep(50);
}

} // namespace e2e
