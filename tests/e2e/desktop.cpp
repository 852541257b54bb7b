// SPDX-License-Identifier: MIT
#include "desktop.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <csignal>

namespace e2e {

// ---- XServer ----

XServer::~XServer()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
}

bool XServer::start(QString *error)
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty()) {
        *error = QStringLiteral("Xvfb is not installed (scripts/install-deps.sh --test)");
        return false;
    }
    // -displayfd: Xvfb picks a free display number and writes it once it accepts clients.
    // -noreset: the server keeps its state when the last client of a test disconnects.
    m_process.setStandardErrorFile(QProcess::nullDevice());
    m_process.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"),
                           QStringLiteral("-screen"), QStringLiteral("0"),
                           QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                           QStringLiteral("tcp"), QStringLiteral("-noreset")});
    if (!m_process.waitForStarted(10000)) {
        *error = QStringLiteral("Xvfb did not start");
        return false;
    }
    QElapsedTimer timer;
    timer.start();
    QByteArray line;
    while (!line.contains('\n') && timer.elapsed() < 15000) {
        m_process.waitForReadyRead(500);
        line += m_process.readAllStandardOutput();
        if (m_process.state() == QProcess::NotRunning)
            break;
    }
    bool ok = false;
    const int number = line.trimmed().toInt(&ok);
    if (!ok) {
        *error = QStringLiteral("Xvfb reported no display number");
        return false;
    }
    m_display = QStringLiteral(":%1").arg(number);
    return true;
}

// ---- ProgramFolder ----

ProgramFolder::ProgramFolder(const QString &sourceExecutable)
{
    if (!m_dir.isValid())
        return;
    m_valid =
        QFile::copy(sourceExecutable, executable()) &&
        QFile::setPermissions(executable(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                QFile::ReadGroup | QFile::ExeGroup);
}

QString ProgramFolder::executable() const
{
    return m_dir.filePath(QStringLiteral("pellimo"));
}

QByteArray ProgramFolder::read(const QString &name) const
{
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool ProgramFolder::write(const QString &name, const QByteArray &bytes) const
{
    QFile f(file(name));
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QStringList ProgramFolder::entries() const
{
    return QDir(path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// ---- Desktop ----

Desktop::Desktop(const QString &display) : m_display(display) {}

QProcessEnvironment Desktop::environment(bool withDisplay) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("DISPLAY"));
    if (withDisplay)
        env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    return env;
}

RunResult runToEnd(QProcess &process, const QString &program, const QStringList &arguments,
                   int timeoutMs)
{
    RunResult result;
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    result.finished = process.waitForFinished(timeoutMs);
    result.elapsedMs = timer.elapsed();
    if (!result.finished) {
        process.kill();
        process.waitForFinished(3000);
    } else {
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    result.standardOutput = process.readAllStandardOutput();
    result.standardError = process.readAllStandardError();
    return result;
}

RunResult Desktop::run(const ProgramFolder &folder, const QStringList &arguments, int timeoutMs,
                       const QProcessEnvironment &env) const
{
    QProcess process;
    process.setProcessEnvironment(env.isEmpty() ? environment() : env);
    process.setStandardInputFile(QProcess::nullDevice());
    return runToEnd(process, folder.executable(), arguments, timeoutMs);
}

QProcess *Desktop::start(const ProgramFolder &folder, const QStringList &arguments,
                         const QProcessEnvironment &env) const
{
    auto *process = new QProcess;
    process->setProcessEnvironment(env.isEmpty() ? environment() : env);
    process->setStandardInputFile(QProcess::nullDevice());
    process->start(folder.executable(), arguments);
    process->waitForStarted(10000);
    return process;
}

QByteArray Desktop::tool(const QString &program, const QStringList &arguments, int timeoutMs,
                         bool *ok, const QByteArray &input) const
{
    QProcess process;
    process.setProcessEnvironment(environment());
    if (input.isNull())
        process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!input.isNull()) {
        process.write(input);
        process.closeWriteChannel();
    }
    const bool finished = process.waitForFinished(timeoutMs);
    if (!finished) {
        process.kill();
        process.waitForFinished(3000);
    }
    if (ok)
        *ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return process.readAllStandardOutput();
}

QImage Desktop::clipboardImage() const
{
    bool ok = false;
    const QByteArray png =
        tool(QStringLiteral("xclip"),
             {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"),
              QStringLiteral("image/png"), QStringLiteral("-o")},
             10000, &ok);
    return ok ? QImage::fromData(png, "PNG") : QImage();
}

QByteArray Desktop::clipboardText() const
{
    bool ok = false;
    const QByteArray text =
        tool(QStringLiteral("xclip"),
             {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"),
              QStringLiteral("UTF8_STRING"), QStringLiteral("-o")},
             10000, &ok);
    return ok ? text : QByteArray();
}

bool Desktop::setClipboardText(const QByteArray &text) const
{
    // xclip reads the text, then serves it from a background copy of itself.
    bool ok = false;
    tool(QStringLiteral("xclip"),
         {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-i")}, 10000,
         &ok, text);
    return ok;
}

QList<qulonglong> Desktop::pellimoWindows() const
{
    return windowsNamed(QStringLiteral("^Pellimo$"));
}

QList<qulonglong> Desktop::windowsNamed(const QString &pattern) const
{
    const QByteArray out = tool(QStringLiteral("xdotool"),
                                {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                 QStringLiteral("--name"), pattern},
                                10000);
    QList<qulonglong> ids;
    for (const QByteArray &line : out.split('\n')) {
        bool ok = false;
        const qulonglong id = line.trimmed().toULongLong(&ok);
        if (ok)
            ids << id;
    }
    return ids;
}

qulonglong Desktop::waitForNewWindow(const QList<qulonglong> &known, int timeoutMs) const
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        for (qulonglong id : pellimoWindows()) {
            if (!known.contains(id))
                return id;
        }
        QThread::msleep(100);
    }
    return 0;
}

QList<qulonglong> Desktop::waitForWindowCount(int count, int timeoutMs) const
{
    QElapsedTimer timer;
    timer.start();
    QList<qulonglong> windows = pellimoWindows();
    while (windows.size() != count && timer.elapsed() < timeoutMs) {
        QThread::msleep(200);
        windows = pellimoWindows();
    }
    return windows;
}

QSize Desktop::windowSize(qulonglong window) const
{
    bool ok = false;
    const QByteArray out = tool(
        QStringLiteral("xdotool"),
        {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), QString::number(window)},
        10000, &ok);
    QSize size;
    for (const QByteArray &line : out.split('\n')) {
        if (line.startsWith("WIDTH="))
            size.setWidth(line.mid(6).toInt());
        else if (line.startsWith("HEIGHT="))
            size.setHeight(line.mid(7).toInt());
    }
    return ok ? size : QSize();
}

void Desktop::pressKey(qulonglong window, const QString &key) const
{
    // Focus first, then a real key press and release (XTEST). A key sent to the window itself
    // (key --window) loses its release when the window closes on the press, and the server then
    // repeats the key into whatever window comes next.
    tool(QStringLiteral("xdotool"),
         {QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::number(window),
          QStringLiteral("key"), key},
         10000);
}

void Desktop::click(qulonglong window, int x, int y) const
{
    tool(QStringLiteral("xdotool"),
         {QStringLiteral("mousemove"), QStringLiteral("--window"), QString::number(window),
          QString::number(x), QString::number(y), QStringLiteral("click"), QStringLiteral("1")},
         10000);
}

bool Desktop::xdotool(const QStringList &arguments) const
{
    bool ok = false;
    tool(QStringLiteral("xdotool"), arguments, 10000, &ok);
    return ok;
}

QList<pid_t> Desktop::processesOf(const ProgramFolder &folder)
{
    const QString target = QFileInfo(folder.executable()).canonicalFilePath();
    QList<pid_t> pids;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool ok = false;
        const int pid = entry.toInt(&ok);
        if (!ok)
            continue;
        if (QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid)) == target)
            pids << pid_t(pid);
    }
    return pids;
}

bool Desktop::waitUntilNoProcess(const ProgramFolder &folder, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!processesOf(folder).isEmpty()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QThread::msleep(50);
    }
    return true;
}

void Desktop::killProcessesOf(const ProgramFolder &folder)
{
    for (pid_t pid : processesOf(folder))
        ::kill(pid, SIGKILL);
    waitUntilNoProcess(folder, 3000);
}

// ---- data files and pixels ----

QByteArray golden(const char *name)
{
    QFile f(QStringLiteral(PELLIMO_TEST_DATA "/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

Snapshot Snapshot::of(const ProgramFolder &folder, bool withLockFile)
{
    Snapshot s;
    for (const QString &name : folder.entries()) {
        if (name == QLatin1String("pellimo") ||
            (!withLockFile && name == QLatin1String(".pellimo.lock")))
            continue;
        s.files[name] = {folder.read(name), QFileInfo(folder.file(name)).lastModified().toUTC()};
    }
    return s;
}

QStringList Snapshot::changedIn(const Snapshot &later) const
{
    QStringList changed;
    for (auto it = later.files.cbegin(); it != later.files.cend(); ++it) {
        if (!files.contains(it.key()) || files[it.key()] != it.value())
            changed << it.key();
    }
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        if (!later.files.contains(it.key()))
            changed << it.key();
    }
    changed.sort();
    return changed;
}

void endTestRuns(const Desktop &desktop, const QList<QProcess *> &runs,
                 std::unique_ptr<ProgramFolder> &folder)
{
    for (QProcess *p : runs) {
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished(3000);
        }
    }
    if (!folder)
        return;
    desktop.setClipboardText("e2e clean-up");
    Desktop::waitUntilNoProcess(*folder, 3000);
    Desktop::killProcessesOf(*folder);
    folder.reset();
}

QByteArray todayInDefaultPattern()
{
    const QDate d = QDate::currentDate();
    return QByteArray::number(d.year() - 2018).rightJustified(2, '0') + '.' +
           QByteArray::number(d.month()).rightJustified(2, '0') + '.' +
           QByteArray::number(d.day()).rightJustified(2, '0');
}

void backdateFiles(const ProgramFolder &folder, const QDateTime &when)
{
    for (const QString &name : folder.entries()) {
        QFile f(folder.file(name));
        if (name != QLatin1String("pellimo") && f.open(QIODevice::ReadWrite))
            f.setFileTime(when, QFileDevice::FileModificationTime);
    }
}

QByteArray profileBytes(const UserLook &look, const QByteArray &defaultProfile)
{
    QByteArray bytes = defaultProfile;
    bytes.replace("255,1,35,35,35\r\n", QByteArray::number(look.colour) + ",1,35,35," +
                                            QByteArray::number(look.radius) + "\r\n");
    return bytes;
}

QByteArray settingsBytes(int defaultUser, bool autoClose, const QByteArray &defaultSettings)
{
    QByteArray bytes = defaultSettings;
    bytes.replace("Default=1\r\n", "Default=" + QByteArray::number(defaultUser) + "\r\n");
    bytes.replace("AutoClose=0\r\n", autoClose ? "AutoClose=1\r\n" : "AutoClose=0\r\n");
    return bytes;
}

QRgb darkestPixel(const QImage &image)
{
    QRgb darkest = qRgb(255, 255, 255);
    int lowest = 3 * 255 + 1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            const int sum = qRed(p) + qGreen(p) + qBlue(p);
            if (sum < lowest) {
                lowest = sum;
                darkest = p;
            }
        }
    }
    return darkest;
}

bool whiteBorder(const QImage &image, int width)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool border =
                x < width || y < width || x >= image.width() - width || y >= image.height() - width;
            if (border && (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                return false;
        }
    }
    return true;
}

QRgb storedColourToRgb(int colour)
{
    return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

} // namespace e2e
