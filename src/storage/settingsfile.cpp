// SPDX-License-Identifier: MIT
#include "settingsfile.h"

#include "cp932.h"
#include "datafileio.h"
#include "inifile.h"
#include "savemessages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace pellimo {

namespace {

// The reader takes at most this many bytes of a value, as the platform's 256-byte buffer did.
constexpr int kValueBytes = 255;

// A settings file is a few hundred bytes; a larger one is read only this far.
constexpr qsizetype kSettingsReadLimit = 16 * 1024 * 1024;

const QString kUser = QStringLiteral("User");
const QString kSetting = QStringLiteral("Setting");

QString userKey(int n)
{
    return QStringLiteral("User") + QString::number(n);
}

// A value as the program sees it: cut at 255 bytes on a character boundary, NULs removed.
QString readValue(const IniFile &ini, const QString &section, const QString &key,
                  const QString &fallback)
{
    const auto bytes = ini.value(section, key);
    if (!bytes)
        return fallback;
    QString text = decodeCp932(truncateCp932(*bytes, kValueBytes));
    text.remove(QChar(0));
    return text;
}

struct SettingEntry {
    QString section;
    QString key;
    QString value;
};

} // namespace

QString settingsFilePath(const QString &dataFolder)
{
    return QDir(dataFolder).filePath(QStringLiteral("pellimo.ini"));
}

QString unstorableSettingCharacters(const QString &value)
{
    QString found = charactersOutsideCp932(value);
    for (QChar c : {QChar(u'\r'), QChar(u'\n'), QChar(0)}) {
        if (value.contains(c) && !found.contains(c))
            found += c;
    }
    return found;
}

// Blanks around a value are dropped on reading, as the platform does: a name saved with leading
// or trailing blanks comes back without them.
void loadSettings(AppSettings &settings, const QString &path)
{
    const IniFile ini =
        IniFile::parse(readFileStart(path, kSettingsReadLimit).left(kSettingsReadLimit));

    const QString defaultUser =
        readValue(ini, kUser, QStringLiteral("Default"), QStringLiteral("1"));
    const char16_t first = defaultUser.isEmpty() ? u'\0' : defaultUser.at(0).unicode();
    settings.defaultUser =
        (first >= u'1' && first < u'1' + kUserCount) ? int16_t(first - u'0') : int16_t(1);

    for (int n = 1; n <= kUserCount; ++n)
        settings.userNames[n - 1] = readValue(ini, kUser, userKey(n), defaultUserName(n));

    settings.dateFormat =
        readValue(ini, kSetting, QStringLiteral("DateFormat"), defaultDateFormat());

    const QString autoClose =
        readValue(ini, kSetting, QStringLiteral("AutoClose"), QStringLiteral("0"));
    settings.autoClose = autoClose.startsWith(QLatin1Char('1'));
}

SaveStatus saveSettings(const AppSettings &settings, const QString &path)
{
    std::vector<SettingEntry> entries;
    entries.push_back({kUser, QStringLiteral("Default"), QString::number(settings.defaultUser)});
    for (int n = 1; n <= kUserCount; ++n)
        entries.push_back({kUser, userKey(n), settings.userNames[n - 1]});
    entries.push_back({kSetting, QStringLiteral("DateFormat"), settings.dateFormat});
    entries.push_back({kSetting, QStringLiteral("AutoClose"),
                       settings.autoClose ? QStringLiteral("1") : QStringLiteral("0")});

    // Every value is checked before anything is written: a value that the file cannot hold is
    // refused rather than written in some other form.
    QStringList refused;
    for (const SettingEntry &e : entries) {
        const QString bad = unstorableSettingCharacters(e.value);
        if (!bad.isEmpty())
            refused << QStringLiteral("%1: %2").arg(e.key, describeCharacters(bad));
    }
    if (!refused.isEmpty()) {
        return SaveStatus::failure(refusalText(path, refused));
    }

    // The lines already in the file are kept, so a file that exists but cannot be read is not
    // replaced.
    QByteArray existing;
    if (QFileInfo::exists(path)) {
        QFile file;
        QString why;
        if (!openRegularFile(file, path, &why)) {
            return SaveStatus::failure(readFailureText(path, why));
        }
        existing = file.readAll();
        if (file.error() != QFile::NoError) {
            return SaveStatus::failure(readFailureText(path, file.errorString()));
        }
    }

    IniFile ini = IniFile::parse(existing);
    for (const SettingEntry &e : entries)
        ini.setValue(e.section, e.key, encodeCp932(e.value).value_or(QByteArray()));
    QString why;
    if (!writeFileAtomically(path, ini.toBytes(), &why))
        return SaveStatus::failure(writeFailureText(path, why));
    return SaveStatus::success();
}

} // namespace pellimo
