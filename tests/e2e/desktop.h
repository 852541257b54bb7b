// SPDX-License-Identifier: MIT
#pragma once

// The pieces the end-to-end tests drive the real program with: a private Xvfb display, a fresh
// program folder holding a copy of the executable, runs of the program, and the independent
// clients xclip (clipboard) and xdotool (windows, keys, clicks).

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QList>
#include <QMap>
#include <QPair>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <sys/types.h>

namespace e2e {

// The program's own texts that the tests look for on its stderr.
inline const QString kAlreadyRunning = QStringLiteral(u"Pellimoは既に起動しています。");
inline const QString kDamaged = QStringLiteral(u"データファイル読み出し時にエラーが発生しました。");

// The main window's size, and the centres of its Set and Exit buttons, in window pixels.
inline constexpr QSize kMainWindowSize(555, 311);
inline constexpr int kSetX = 232 + 28, kEndX = 488 + 28, kButtonY = 280 + 12;

// Xvfb on a display number it picks itself (-displayfd); stopped with the object.
class XServer {
public:
    ~XServer();
    bool start(QString *error);
    QString display() const { return m_display; }

private:
    QProcess m_process;
    QString m_display;
};

// A fresh temporary folder with a copy of the program in it: the program folder of one test.
class ProgramFolder {
public:
    explicit ProgramFolder(const QString &sourceExecutable);
    bool isValid() const { return m_valid; }
    QString path() const { return m_dir.path(); }
    QString executable() const;
    QString file(const QString &name) const { return m_dir.filePath(name); }
    QByteArray read(const QString &name) const;
    bool write(const QString &name, const QByteArray &bytes) const;
    QStringList entries() const; // every name in the folder, hidden ones included

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
};

struct RunResult {
    bool finished = false; // false: still running at the time-out (then killed)
    int exitCode = -1;
    QByteArray standardOutput;
    QByteArray standardError;
    qint64 elapsedMs = 0;
};

// Starts the prepared process (environment, input, user already set) and waits for its end or the
// time-out, when it is killed.
RunResult runToEnd(QProcess &process, const QString &program, const QStringList &arguments,
                   int timeoutMs);

class Desktop {
public:
    explicit Desktop(const QString &display);

    // The environment the program and the tools see: this display, no Wayland, no forced Qt
    // platform, a private runtime folder.
    QProcessEnvironment environment(bool withDisplay = true) const;

    // Runs the program to its end (or the time-out), in environment() unless `env` is given.
    RunResult run(const ProgramFolder &folder, const QStringList &arguments, int timeoutMs = 30000,
                  const QProcessEnvironment &env = QProcessEnvironment()) const;

    // Starts the program and leaves it running; the caller owns the process.
    QProcess *start(const ProgramFolder &folder, const QStringList &arguments,
                    const QProcessEnvironment &env = QProcessEnvironment()) const;

    // The clipboard as image/png read by xclip, or a null image when it offers none.
    QImage clipboardImage() const;
    // The clipboard as text read by xclip (empty when it offers none).
    QByteArray clipboardText() const;
    // Puts text on the clipboard through xclip, which then owns it.
    bool setClipboardText(const QByteArray &text) const;

    // Visible top-level windows whose name matches `pattern` (a regular expression, as xdotool
    // search takes it), and those titled exactly "Pellimo".
    QList<qulonglong> windowsNamed(const QString &pattern) const;
    QList<qulonglong> pellimoWindows() const;
    // Waits until a "Pellimo" window that is not in `known` is visible; 0 when none came.
    qulonglong waitForNewWindow(const QList<qulonglong> &known, int timeoutMs = 20000) const;
    // Waits until exactly `count` "Pellimo" windows are visible at once; the last list seen.
    QList<qulonglong> waitForWindowCount(int count, int timeoutMs) const;
    // The window's size as the X server reports it (an invalid size when it is gone).
    QSize windowSize(qulonglong window) const;
    void pressKey(qulonglong window, const QString &key) const;
    void click(qulonglong window, int x, int y) const;
    // Runs xdotool with `arguments` on this display; true when it succeeded.
    bool xdotool(const QStringList &arguments) const;

    // Processes that run the copy of the program in `folder` (read from /proc).
    static QList<pid_t> processesOf(const ProgramFolder &folder);
    // Waits until no process runs from the folder; true when that happened in time.
    static bool waitUntilNoProcess(const ProgramFolder &folder, int timeoutMs);
    // Ends whatever still runs from the folder (test clean-up).
    static void killProcessesOf(const ProgramFolder &folder);

private:
    QByteArray tool(const QString &program, const QStringList &arguments, int timeoutMs,
                    bool *ok = nullptr, const QByteArray &input = QByteArray()) const;

    QString m_display;
    QTemporaryDir m_runtime;
};

// A test's clean-up: kills each of `runs` still running, then takes the clipboard (which ends a
// serving process), ends whatever still runs from the folder and removes the folder.
void endTestRuns(const Desktop &desktop, const QList<QProcess *> &runs,
                 std::unique_ptr<ProgramFolder> &folder);

// A file of tests/data.
QByteArray golden(const char *name);

// Bytes and modification time of every file in the program folder except the program itself:
// what "not touched" is checked against. The lock file is left out unless asked for (it is made
// by the first start and never written).
struct Snapshot {
    QMap<QString, QPair<QByteArray, QDateTime>> files;
    static Snapshot of(const ProgramFolder &folder, bool withLockFile = false);
    // Names whose bytes or time differ in `later`, and names added or removed, sorted.
    QStringList changedIn(const Snapshot &later) const;
};

// Sets the modification time of every file in the folder but the program to `when`.
void backdateFiles(const ProgramFolder &folder, const QDateTime &when);

// The date line that Set stores today with the default pattern ee.mm.dd (Reiwa era years).
QByteArray todayInDefaultPattern();

// Fills each data file the tests need; user N's colour and radius tell the stamps apart.
struct UserLook {
    int radius;
    int colour; // as stored: 0x00BBGGRR
};
QByteArray profileBytes(const UserLook &look, const QByteArray &defaultProfile);
QByteArray settingsBytes(int defaultUser, bool autoClose, const QByteArray &defaultSettings);

// The darkest pixel of the image: the stamp's ink where it is fully covered.
QRgb darkestPixel(const QImage &image);
// Whether the outer `width` pixels on every side are white.
bool whiteBorder(const QImage &image, int width);
// 0x00BBGGRR to a QRgb.
QRgb storedColourToRgb(int colour);

} // namespace e2e
