// SPDX-License-Identifier: MIT
#include "stampplaces.h"

#include "storage/datafileio.h"
#include "storage/inifile.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace pellimo {

namespace {

// A settings file is a few hundred bytes; one larger than this is not rewritten from a part.
constexpr qsizetype kMostSettingsBytes = 1 << 20;

std::optional<QByteArray> settingsBytes(const QString &path)
{
    bool readable = false;
    QByteArray bytes = readFileStart(path, kMostSettingsBytes, &readable);
    if (!readable && QFileInfo::exists(path))
        return std::nullopt;
    if (bytes.size() > kMostSettingsBytes)
        return std::nullopt;
    return bytes;
}

} // namespace

QString stampPlacesSection()
{
    return QStringLiteral("PdfStampPlaces");
}

QString stampPlaceKey(QSizeF pageMm)
{
    return QStringLiteral("%1x%2")
        .arg(std::lround(pageMm.width()))
        .arg(std::lround(pageMm.height()));
}

std::optional<QPointF> rememberedStampPlace(const QString &settingsFile, QSizeF pageMm)
{
    if (settingsFile.isEmpty() || !pageMm.isValid())
        return std::nullopt;
    const std::optional<QByteArray> bytes = settingsBytes(settingsFile);
    if (!bytes)
        return std::nullopt;
    const std::optional<QByteArray> value =
        IniFile::parse(*bytes).value(stampPlacesSection(), stampPlaceKey(pageMm));
    if (!value)
        return std::nullopt;
    const QList<QByteArray> parts = value->split(',');
    if (parts.size() != 2)
        return std::nullopt;
    bool okX = false;
    bool okY = false;
    const double x = parts[0].trimmed().toDouble(&okX);
    const double y = parts[1].trimmed().toDouble(&okY);
    if (!okX || !okY || !std::isfinite(x) || !std::isfinite(y))
        return std::nullopt;
    return QPointF(x, y);
}

bool rememberStampPlace(const QString &settingsFile, QSizeF pageMm, QPointF atMm, QString *why)
{
    // The settings file is made at start-up; a missing one is not made here with this alone.
    if (settingsFile.isEmpty() || !pageMm.isValid() || !QFileInfo::exists(settingsFile))
        return false;
    const std::optional<QByteArray> bytes = settingsBytes(settingsFile);
    if (!bytes) {
        if (why)
            *why = QStringLiteral("unreadable");
        return false;
    }
    IniFile ini = IniFile::parse(*bytes);
    ini.setValue(stampPlacesSection(), stampPlaceKey(pageMm),
                 QByteArray::number(atMm.x(), 'f', 1) + ',' + QByteArray::number(atMm.y(), 'f', 1));
    return writeFileAtomically(settingsFile, ini.toBytes(), why);
}

} // namespace pellimo
