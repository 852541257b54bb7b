// SPDX-License-Identifier: MIT
// pellimo-stamp: the stamp into a file, or onto a PDF page, without a display.

#include "model/warning.h"
#include "platform/processsetup.h"
#include "platform/programfolder.h"
#include "platform/programtranslations.h"
#include "stampoptions.h"
#include "stamptool.h"
#include "storage/datafolder.h"
#include "storage/filenames.h"

#include <QGuiApplication>
#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv)
{
    pellimo::openMissingStandardStreams();
    pellimo::ignoreFileSizeLimitSignal(); // ulimit -f: a failed write, not a killed run
    // No display, no clipboard: everything is drawn offscreen. Without a desktop session Qt
    // notes that XDG_RUNTIME_DIR is unset; that is expected here and not worth a line in a
    // script's log.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &message) {
        if (!message.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR")))
            std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    });
    // Qt takes its own options (-platform, -reverse, -style, ...) out of the arguments it is given:
    // it is given none, so that every argument reaches pellimo-stamp's parser as typed.
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Pellimo"));
    pellimo::installProgramTranslations(); // messages and --help in the user's language
    // File names are bytes: one that is not valid UTF-8 keeps them (storage/filenames.h), and
    // a message names it with them.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << pellimo::fileNameFromBytes(argv[i]);
    auto printError = [](const QString &text) {
        QString line = text;
        line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        std::fprintf(stderr, "pellimo-stamp: %s\n", pellimo::fileNameBytes(line).constData());
    };
    pellimo::setWarningHandler(printError);

    QString error;
    pellimo::StampOptions options = pellimo::parseStampOptions(arguments, error);
    if (options.help) {
        std::fputs(pellimo::stampToolHelp().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (!error.isEmpty()) {
        printError(error);
        return 1;
    }
    // Not applicationDirPath(): a folder name that is not valid in the locale's encoding comes
    // back from it as the name of another folder.
    const QString programFolder = pellimo::openProgramFolder(&error);
    if (programFolder.isEmpty()) {
        printError(error);
        return 1;
    }
    // The PDF to stamp is read through a name Qt and qpdf can open, whatever its bytes. Not in a
    // batch: there each copy is named after its input's own name.
    if (const QString input = pellimo::nameQtCanOpen(pellimo::fileNameBytes(options.file));
        (options.output == pellimo::StampOptions::Output::Onto ||
         options.output == pellimo::StampOptions::Output::List) &&
        !options.batch() && !input.isEmpty())
        options.file = input;
    // pellimo's own rule: portable beside the program, or the user's data folder.
    const QString folder = pellimo::chooseDataFolder(programFolder).path;

    pellimo::StampToolIo io;
    io.print = [](const QString &line) {
        std::fprintf(stdout, "%s\n", pellimo::fileNameBytes(line).constData());
    };
    // A progress line is drawn over and over at the start of the terminal's last line; a note
    // clears it first.
    static bool progressShown = false;
    io.note = [&printError](const QString &line) {
        if (progressShown)
            std::fputs("\r\033[K", stderr);
        progressShown = false;
        printError(line);
    };
    if (::isatty(STDERR_FILENO))
        io.progress = [](const QString &line) {
            std::fprintf(stderr, "\r\033[K%s", pellimo::fileNameBytes(line).constData());
            std::fflush(stderr);
            progressShown = !line.isEmpty();
        };
    io.readNames = [] {
        QStringList names;
        QByteArray line;
        for (int c = std::getchar(); c != EOF; c = std::getchar()) {
            if (c != '\n') {
                line.append(char(c));
                continue;
            }
            names << pellimo::fileNameFromBytes(line);
            line.clear();
        }
        if (!line.isEmpty())
            names << pellimo::fileNameFromBytes(line);
        return names;
    };
    const int status =
        pellimo::runStampTool(options, folder, QDateTime::currentDateTime(), io, error);
    if (status != 0 && !error.isEmpty())
        printError(error);
    return status;
}
