// SPDX-License-Identifier: MIT
#include "profilefile.h"

#include "cp932.h"
#include "datafileio.h"
#include "model/warning.h"
#include "profilereader.h"
#include "savemessages.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace pellimo {

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

QByteArray booleanField(bool value)
{
    return value ? QByteArrayLiteral("#TRUE#") : QByteArrayLiteral("#FALSE#");
}

QByteArray stringField(const QByteArray &encoded)
{
    return '"' + encoded + '"';
}

} // namespace

QString profileFileName(int16_t user)
{
    return QStringLiteral("user0") + QString::number(user) + QStringLiteral(".dat");
}

QString profileFilePath(const QString &dataFolder, int16_t user)
{
    return QDir(dataFolder).filePath(profileFileName(user));
}

QString unstorableCharacters(const QString &text)
{
    QString found = charactersOutsideCp932(text);
    if (text.contains(QLatin1Char('"')) && !found.contains(QLatin1Char('"')))
        found += QLatin1Char('"');
    return found;
}

SaveStatus saveProfile(const StampProfile &profile, const QString &path)
{
    // Every text is checked and encoded before the file is opened, so a refused profile leaves the
    // file as it was.
    QStringList refused;
    auto encode = [&](const QString &text, const QString &what) {
        const QString bad = unstorableCharacters(text);
        if (!bad.isEmpty()) {
            refused << QStringLiteral("%1: %2").arg(what, describeCharacters(bad));
            return QByteArray();
        }
        return encodeCp932(text).value_or(QByteArray());
    };

    QByteArray content;
    content += QByteArray::number(profile.colour) + ',' + QByteArray::number(profile.lineWidth) +
               ',' + QByteArray::number(profile.bottomAreaPercent) + ',' +
               QByteArray::number(profile.topAreaPercent) + ',' +
               QByteArray::number(profile.radius) + kLineEnd;
    for (int i = 0; i < kItemCount; ++i) {
        const StampItem &item = profile.items[i];
        const QByteArray fontName =
            encode(item.fontName, QStringLiteral(u"%1行目のフォント名").arg(i + 1));
        const QByteArray text = encode(item.text, QStringLiteral(u"%1行目の文字").arg(i + 1));
        content += booleanField(item.bold) + ',' + stringField(fontName) + ',' +
                   booleanField(item.italic) + ',' + QByteArray::number(item.fontSize) + ',' +
                   stringField(text) + ',' + QByteArray::number(item.offsetX) + ',' +
                   QByteArray::number(item.offsetY) + kLineEnd;
    }
    if (!refused.isEmpty()) {
        return SaveStatus::failure(refusalText(path, refused));
    }

    QString why;
    if (!writeFileAtomically(path, content, &why))
        return SaveStatus::failure(writeFailureText(path, why));
    return SaveStatus::success();
}

QString profileReadWarningText()
{
    return joinMessageLines({
        QStringLiteral(u"データファイル読み出し時にエラーが発生しました。"),
        QStringLiteral(u"ファイルが破損している可能性があります。"),
        QStringLiteral(u"ファイルの設定を破棄して標準設定で起動します。"),
    });
}

bool readProfile(StampProfile &profile, const QString &path)
{
    if (QFileInfo(path).isDir())
        return false;
    // A profile is a few hundred bytes; a file far past that is read only up to the limit, and a
    // field that runs into the limit counts as damage.
    bool readable = false;
    const QByteArray bytes = readFileStart(path, kProfileReadLimit, &readable);
    return readable && readProfileFields(bytes.left(kProfileReadLimit),
                                         bytes.size() <= kProfileReadLimit, profile);
}

bool loadProfile(StampProfile &profile, const QString &path)
{
    if (!QFileInfo::exists(path))
        return false;
    if (readProfile(profile, path))
        return true;
    showWarning(profileReadWarningText());
    return false;
}

void loadCurrentProfile(AppState &state)
{
    const QString path = profileFilePath(state.dataFolder, state.currentUser);
    if (loadProfile(state.profile, path)) {
        state.unreadProfiles.remove(state.currentUser);
        return;
    }
    loadDefaultProfile(state.profile);
    state.unreadProfiles.insert(state.currentUser);
}

} // namespace pellimo
