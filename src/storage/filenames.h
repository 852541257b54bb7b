// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

namespace pellimo {

// File names are bytes to the operating system, and not every name is valid UTF-8 (a file from a
// Windows archive, say): decoded the usual way, such bytes would come back as other bytes and name
// another file. The program spells names as QString this way: valid UTF-8 as its characters, and
// every other byte 0x80..0xFF as the lone surrogate U+DC80..U+DCFF, which no decoded text holds.

// The name for the bytes; fileNameBytes gives the same bytes back.
QString fileNameFromBytes(const QByteArray &bytes);

// The bytes of a name spelled as above (any other text as UTF-8).
QByteArray fileNameBytes(const QString &name);

// Whether a name spelled as above is a folder (or a link to one). QFileInfo cannot tell for a
// name that is not UTF-8.
bool isFolderName(const QString &name);

} // namespace pellimo
