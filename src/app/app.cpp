// SPDX-License-Identifier: MIT
#include "app.h"

#include "app/commandline.h"
#include "app/commandlinehelp.h"
#include "app/startupsequence.h"
#include "model/appstate.h"
#include "model/warning.h"
#include "platform/cachewarmup.h"
#include "platform/clipboardkeeper.h"
#include "platform/displaycheck.h"
#include "platform/filehandoff.h"
#include "platform/instancelock.h"
#include "platform/programfolder.h"
#include "platform/programtranslations.h"
#include "platform/startupnotice.h"
#include "render/stampfonts.h"
#include "session/nogui.h"
#include "storage/datafolder.h"
#include "storage/leftovers.h"
#include "translations.h"
#include "ui/common/messagebox.h"
#include "ui/main/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <cstdio>

namespace pellimo {

namespace {

// argv[1..], taken before QApplication removes the options it knows.
QStringList argumentList(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

bool onWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// Normal mode: the window runs until it closes. Closing it is a normal end, whether or not Set ran.
// With a PDF from the command line it opens "PDF に押印…" on it; with `handoff`, PDFs handed over
// by later starts too.
int runNormal(AppState &state, const QString &pdf, FileHandoff *handoff)
{
    QPointer<MainWindow> window = new MainWindow(state);
    window->setAttribute(Qt::WA_DeleteOnClose, false); // deleted below, after its close
    window->load();
    window->show();
    if (handoff)
        QObject::connect(handoff, &FileHandoff::fileReceived, window.data(),
                         [window](const QString &file) { window->openPdf(file); });
    if (!pdf.isEmpty())
        window->openPdf(pdf);
    QApplication::setQuitOnLastWindowClosed(true);
    QApplication::exec();
    QApplication::setQuitOnLastWindowClosed(false);
    delete window.data();
    return kExitSuccess;
}

// The end of every run: let a new start in, answer the waiting parent, and keep serving the
// clipboard in the background for as long as this process owns it.
int finish(ParentLink &parent, InstanceLock &lock, int status, bool serveClipboard = true)
{
    lock.release();
    if (!parent.connected())
        return status; // no parent to hand over to: serving would hold up the caller
    detachFromTerminal();
    parent.reportStatus(status);
    if (serveClipboard)
        serveClipboardUntilTaken();
    return status;
}

int runProgram(int argc, char **argv, ParentLink &parent)
{
    const QStringList argumentsGiven = argumentList(argc, argv);
    const QString arguments = joinArguments(argumentsGiven);
    // Before the program folder may become the working folder.
    const QString pdf = fileToOpen(argumentsGiven, QDir::currentPath());
    // Overlaps with the display check and the connection to the display.
    const std::future<void> warmUp = warmUpCaches();
    // A display that does not answer would make QApplication abort: one clear line and status 1
    // instead, before any file is touched.
    QString unusable;
    if (!displayUsable(&unusable)) {
        std::fprintf(stderr, "%s\n", unusable.toLocal8Bit().constData());
        InstanceLock notTaken;
        return finish(parent, notTaken, kExitFailure, false);
    }
    const QByteArray launchedAs = startupId(); // QApplication takes it out of the environment
    QApplication app(argc, argv);
    if (warmUp.valid())
        warmUp.wait();
    QApplication::setApplicationName(QStringLiteral("Pellimo"));
    QApplication::setApplicationVersion(QStringLiteral(PELLIMO_VERSION));
    installQtTranslations(app); // Qt's dialogs and buttons in the user's language
    installProgramTranslations();
    QApplication::setQuitOnLastWindowClosed(false);
    installFontSubstitutions();
    installMessageBoxWarningHandler();

    AppState state;
    // The program folder, entered when its name does not survive decoding; then portable data
    // beside the program or, for an installed program, the user's data folder.
    QString noFolder;
    const QString folder = enterProgramFolder(&noFolder);
    if (folder.isEmpty()) { // no file anywhere else instead
        showWarning(noFolder);
        InstanceLock notTaken;
        return finish(parent, notTaken, kExitFailure);
    }
    const DataFolder dataFolder = chooseDataFolder(folder);
    state.dataFolder = dataFolder.path;
    if (const SaveStatus made = prepareDataFolder(dataFolder); !made) {
        showWarning(made.error);
        InstanceLock notTaken;
        return finish(parent, notTaken, kExitFailure);
    }

    InstanceLock lock;
    if (lock.tryLock(state.dataFolder) == InstanceLock::Result::HeldByAnother) {
        // A PDF goes to the window that runs; without one, or when that window does not take it,
        // the message as ever.
        if (!pdf.isEmpty() && FileHandoff::handOver(state.dataFolder, pdf)) {
            completeStartupNotice(launchedAs); // no window of this start says it
            return finish(parent, lock, kExitSuccess, false);
        }
        showWarning(QStringLiteral(u"Pellimoは既に起動しています。"));
        return finish(parent, lock, kExitAlreadyRunning);
    }
    // A lock file that cannot be made means a folder nobody can write to: no second instance can
    // damage a file there, so the program runs unguarded.
    if (lock.isHeld())
        removeLeftoverSaveFiles(state.dataFolder); // of saves cut short by a kill or a crash

    const SaveStatus started = runStartUpSequence(state, arguments);
    if (!started) {
        showWarning(started.error);
        return finish(parent, lock, kExitFailure);
    }

    if (state.noGuiMode) { // on Wayland wl-copy serves the stamp, not this process
        const NoGuiResult result = runNoGui(state);
        const int status = result == NoGuiResult::Set               ? kExitSuccess
                           : result == NoGuiResult::SetAfterWarning ? kExitSetAfterWarning
                                                                    : kExitFailure;
        completeStartupNotice(launchedAs); // no window said it: the launcher stops waiting
        return finish(parent, lock, status, !onWayland());
    }
    // Later starts hand their PDFs to this window; without the lock there is no one instance.
    FileHandoff handoff;
    handoff.setObjectName(QStringLiteral("fileHandoff"));
    QString noHandoff;
    const bool listening = lock.isHeld() && handoff.listen(state.dataFolder, &noHandoff);
    if (lock.isHeld() && !listening)
        std::fprintf(stderr, "Pellimo: files from later starts cannot be received: %s\n",
                     noHandoff.toLocal8Bit().constData());
    const int status = runNormal(state, pdf, listening ? &handoff : nullptr);
    handoff.close();
    return finish(parent, lock, status);
}

} // namespace

int runApplication(int argc, char **argv)
{
    if (const std::optional<QString> information = commandLineInformation(argc, argv)) {
        std::fputs(information->toLocal8Bit().constData(), stdout);
        return kExitSuccess;
    }
    const DisplayKind display = detectDisplay();
    if (display == DisplayKind::None) {
        std::fprintf(stderr, "%s\n", noDisplayMessage().toLocal8Bit().constData());
        return kExitFailure;
    }
    choosePlatform(display);
    ParentLink parent = forkProgramProcess();
    return runProgram(argc, argv, parent);
}

} // namespace pellimo
