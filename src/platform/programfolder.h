// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

namespace pellimo {

// The folder that holds the running executable, as the bytes of an absolute path without a
// trailing separator (read from /proc/self/exe). Empty when it cannot be read.
QByteArray programFolderBytes();

// The same folder as a QString, when its name can be written as one: bytes that are not valid in
// the locale's encoding (a folder unpacked from a Windows archive, say) would come back from the
// round trip as other bytes and name another file. Empty then.
QString programFolder();

// Where the data files and the lock are opened: programFolder() when the folder can be named;
// otherwise the process changes into the folder by its bytes and the files are opened through
// "/proc/self/cwd" (not ".": Qt makes a relative path absolute from the decoded name of the
// working folder, which names another folder). Empty, with `error` set, when neither works;
// nothing may be touched then. The working folder must not change while files are used.
QString enterProgramFolder(QString *error);

// A name Qt can open the file or folder named by `bytes` with: the decoded name when Qt encodes it
// back to the same bytes; otherwise "/proc/self/fd/N", a descriptor opened on it by its bytes and
// held for the rest of the process. Empty when it cannot be opened (errno says why).
QString nameQtCanOpen(const QByteArray &bytes);

// The same for a program that must keep its working folder (its arguments name files relative
// to it): when the folder cannot be named, the files are opened through "/proc/self/fd/N", a
// descriptor held open on the folder for the rest of the process. Empty, with `error` set, when
// neither works.
QString openProgramFolder(QString *error);

} // namespace pellimo
