// SPDX-License-Identifier: MIT
#include "stamptool.h"

#include "datefmt/dateformat.h"
#include "model/appsettings.h"
#include "model/stampprofile.h"
#include "model/warning.h"
#include "pdfstamp/pdfstamp.h"
#include "render/cutout.h"
#include "render/drawstamp.h"
#include "render/stampgeometry.h"
#include "render/stampsurface.h"
#include "render/stampvector.h"
#include "storage/profilefile.h"
#include "storage/settingsfile.h"

#include <QFileInfo>
#include <QSaveFile>
#include <optional>

namespace pellimo {

namespace {

// The profile of the user, with the day's date in the date line. A missing file gives the default
// profile (pellimo would create it with the defaults); a damaged one is refused, so that no
// document is stamped with a design the user did not make.
bool loadStamp(const StampOptions &o, const QString &folder, const QDateTime &now,
               StampProfile &profile, QString &error)
{
    AppSettings settings;
    loadDefaultSettings(settings);
    const QString ini = settingsFilePath(folder);
    if (QFileInfo(ini).isFile())
        loadSettings(settings, ini);
    const auto user = int16_t(o.user ? o.user : settings.defaultUser);
    const QString path = profileFilePath(folder, user);
    loadDefaultProfile(profile);
    if (QFileInfo(path).isFile() && !loadProfile(profile, path)) {
        error = QStringLiteral("%1 cannot be read; the stamp of user %2 is not drawn")
                    .arg(path)
                    .arg(user);
        return false;
    }
    const QDateTime day = o.date ? QDateTime(*o.date, QTime(0, 0)) : now;
    profile.items[1].text = formatDate(day, settings.dateFormat);
    return true;
}

bool writeFile(const QString &path, const QByteArray &bytes, QString &error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = QStringLiteral("%1 cannot be written: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

// At scale 1 on white the PNG is the Set command's cut-out, pixel for pixel.
QImage pngImage(const StampOptions &o, const StampProfile &profile, const StampGeometry &g)
{
    if (o.scale != 1 || o.transparent)
        return stampImage(g, o.scale, o.transparent);
    QImage picBase = makeSurface(kPicBaseSize, kPicBaseSize);
    QImage picTemp;
    drawStamp(picBase, profile);
    cutOutStamp(picBase, profile.radius, picTemp);
    return picTemp;
}

bool writePng(const QString &path, const QImage &image, QString &error)
{
    if (image.isNull()) {
        error = QStringLiteral("the stamp is too large for a PNG picture");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        error = QStringLiteral("%1 cannot be written: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

int runStampTool(const StampOptions &o, const QString &dataFolder, const QDateTime &now,
                 QString &error)
{
    // The PDF to stamp is read from now on, beside the data files and the fonts.
    std::optional<PdfInput> input;
    if (o.output == StampOptions::Output::Onto)
        input.emplace(o.file);
    StampProfile profile;
    if (!loadStamp(o, dataFolder, now, profile, error))
        return 1;
    try {
        const StampGeometry g = stampGeometry(profile);
        const double mm = o.sizeMm.value_or(naturalDiameterMm(g));
        bool ok = false;
        switch (o.output) {
        case StampOptions::Output::Png:
            ok = writePng(o.file, pngImage(o, profile, g), error);
            break;
        case StampOptions::Output::Svg:
            ok = writeFile(o.file, stampSvg(g, mm), error);
            break;
        case StampOptions::Output::Pdf:
            ok = writeFile(o.file, stampPdf(g, mm), error);
            break;
        case StampOptions::Output::Onto: {
            const PdfResult r = stampPdfFile(*input, o.outPdf, {o.page, o.atMm, mm}, g);
            error = r.error;
            ok = bool(r);
            break;
        }
        case StampOptions::Output::None:
            error = QStringLiteral("nothing to do");
            break;
        }
        return ok ? 0 : 1;
    } catch (const std::exception &e) {
        error = QStringLiteral("the stamp cannot be drawn from its design: %1")
                    .arg(QString::fromUtf8(e.what()));
        return 1;
    }
}

} // namespace pellimo
