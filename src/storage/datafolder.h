// SPDX-License-Identifier: MIT
#pragma once

#include "model/savestatus.h"

#include <QString>

namespace pellimo {

// Where the data files and the single-instance lock live.
//  Portable:  the program folder can be written, or already holds pellimo.ini: the files live
//             next to the executable (a folder made with `cmake --install --prefix DIR`).
//  Installed: otherwise, and always in the system's folders of programs (/usr/bin, even for root,
//             unless it holds pellimo.ini): the user's data folder, QStandardPaths::AppDataLocation
//             ($XDG_DATA_HOME/Pellimo, by default ~/.local/share/Pellimo), made on the first start.
struct DataFolder {
    enum class Mode { Portable, Installed };
    Mode mode = Mode::Portable;
    QString path; // absolute, without a trailing separator; empty when no home folder is known
};

// The data folder of a program in `programFolder`. Looks, but creates and writes nothing (safe
// for --help). The application name must be set first: it names the user's data folder.
DataFolder chooseDataFolder(const QString &programFolder);

// Makes an installed data folder that does not exist yet; a portable one is left alone. On
// failure the status says which folder, in words for the user.
[[nodiscard]] SaveStatus prepareDataFolder(const DataFolder &folder);

} // namespace pellimo
