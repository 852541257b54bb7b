// SPDX-License-Identifier: MIT
#include "leftovers.h"

#include "model/appsettings.h"
#include "profilefile.h"
#include "settingsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace pellimo {

namespace {

constexpr int kRandomLength = 6; // what QSaveFile's temporary names end with

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool readsAsWord(QStringView letters)
{
    const auto lower = [](QChar c) { return c >= u'a' && c <= u'z'; };
    const QStringView rest = letters.mid(1);
    const bool restLower = std::all_of(rest.begin(), rest.end(), lower);
    const bool restUpper = std::none_of(rest.begin(), rest.end(), lower);
    return restLower || (restUpper && !lower(letters.front()));
}

} // namespace

bool isLeftoverSaveFile(const QString &name, const QString &dataFileName)
{
    if (name.size() != dataFileName.size() + 1 + kRandomLength || !name.startsWith(dataFileName) ||
        name.at(dataFileName.size()) != u'.')
        return false;
    const QStringView letters = QStringView(name).right(kRandomLength);
    return std::all_of(letters.begin(), letters.end(), isAsciiLetter) && !readsAsWord(letters);
}

QStringList removeLeftoverSaveFiles(const QString &dataFolder)
{
    QStringList dataFiles{QFileInfo(settingsFilePath(dataFolder)).fileName()};
    for (int16_t user = 1; user <= kUserCount; ++user)
        dataFiles << QFileInfo(profileFilePath(dataFolder, user)).fileName();

    QStringList removed;
    const QDir folder(dataFolder);
    const QStringList names =
        folder.entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::Name);
    for (const QString &name : names) {
        const bool ours = std::any_of(dataFiles.cbegin(), dataFiles.cend(), [&](const QString &d) {
            return isLeftoverSaveFile(name, d);
        });
        if (ours && QFile::remove(folder.filePath(name)))
            removed << name;
    }
    return removed;
}

} // namespace pellimo
