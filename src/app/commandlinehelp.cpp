// SPDX-License-Identifier: MIT
#include "commandlinehelp.h"

#include "platform/programfolder.h"
#include "platform/programtranslations.h"
#include "storage/datafolder.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace pellimo {

namespace {

QString versionLine()
{
    return QStringLiteral("Pellimo " PELLIMO_VERSION "\n");
}

QString helpText()
{
    QCoreApplication::setApplicationName(QStringLiteral("Pellimo")); // names the user's folder
    const DataFolder folder = chooseDataFolder(programFolder());
    const QString mode =
        folder.mode == DataFolder::Mode::Portable
            ? QCoreApplication::translate("pellimo",
                                          "portable: the program's own folder, which can be "
                                          "written or holds pellimo.ini")
            : QCoreApplication::translate("pellimo",
                                          "installed: the program's folder cannot be written, "
                                          "so the user's data folder");
    return versionLine() +
           QCoreApplication::translate(
               "pellimo", R"(Draws a round Japanese date stamp and puts it on the clipboard.

Usage:
  pellimo                  open the window
  pellimo FILE.pdf         open the window and "PDF に押印…" on FILE.pdf; when
                           Pellimo already runs, FILE.pdf goes to its window
  pellimo nogui [u1..u5]   put the start-up user's stamp (or user N's) on the
                           clipboard and save it, without a window
  pellimo --help, -h       show this text
  pellimo --version, -v    show the version

Exit status:
  0  the window was closed; under nogui the stamp is on the clipboard and saved;
     a PDF was handed to the window that runs
  1  a failure: no display, a file that cannot be written, no clipboard
  2  Pellimo is already running with the same data folder
  3  nogui set the stamp, but after a warning: defaults used, values out of
     range, or characters the date line could not hold left out

Data folder (pellimo.ini, user01.dat .. user05.dat, .pellimo.lock):
  %1
  (%2)
)")
               .arg(folder.path, mode);
}

} // namespace

std::optional<QString> commandLineInformation(int argc, char **argv)
{
    if (argc < 2)
        return std::nullopt;
    // The first argument alone: whatever follows "nogui" belongs to its own grammar, and any other
    // first argument opens the window.
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOptions({help, version});
    if (!parser.parse({QString(), QString::fromLocal8Bit(argv[1])}) ||
        parser.optionNames().size() != 1) // "-hv" asks for neither
        return std::nullopt;
    if (parser.isSet(help)) {
        const TranslatedTexts texts;
        return helpText();
    }
    if (parser.isSet(version))
        return versionLine();
    return std::nullopt;
}

} // namespace pellimo
