// SPDX-License-Identifier: MIT
#include "stamptool.h"

#include "datefmt/dateformat.h"
#include "model/appsettings.h"
#include "model/stampprofile.h"
#include "pdfstamp/pdfstamp.h"
#include "render/stampgeometry.h"
#include "render/stampvector.h"
#include "storage/datafileio.h"
#include "storage/filenames.h"
#include "storage/profilefile.h"
#include "storage/settingsfile.h"

#include <QFileInfo>
#include <optional>
#include <sys/stat.h>

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
    if (QFileInfo(path).isFile() && !readProfile(profile, path)) {
        error = QStringLiteral("%1 cannot be read (the file is damaged): the stamp of user %2 is "
                               "not drawn and nothing is written")
                    .arg(path)
                    .arg(user);
        return false;
    }
    const QDateTime day = o.date ? QDateTime(*o.date, QTime(0, 0)) : now;
    profile.items[1].text = formatDate(day, settings.dateFormat);
    return true;
}

// The same file under two names, asked by the names' bytes: pdfstamp's own check sees only names
// that Qt can spell.
bool sameFile(const QString &a, const QString &b)
{
    struct stat sa {};
    struct stat sb {};
    return ::stat(fileNameBytes(a).constData(), &sa) == 0 &&
           ::stat(fileNameBytes(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

PictureType pictureType(StampOptions::Output output)
{
    switch (output) {
    case StampOptions::Output::Svg:
        return PictureType::Svg;
    case StampOptions::Output::Pdf:
        return PictureType::Pdf;
    default:
        return PictureType::Png;
    }
}

} // namespace

int runStampTool(const StampOptions &o, const QString &dataFolder, const QDateTime &now,
                 QString &error)
{
    if (o.output == StampOptions::Output::Certs)
        return listSigningCertificates(o, error);
    // The PDF to stamp is read from now on, beside the data files and the fonts.
    std::optional<PdfInput> input;
    if (o.output == StampOptions::Output::Onto) {
        if (sameFile(o.file, o.outPdf)) {
            error = QStringLiteral("the output file is the input file; choose another name (the "
                                   "input is never changed)");
            return 1;
        }
        if (!o.signing.sign)
            input.emplace(o.file);
    }
    StampProfile profile;
    if (!loadStamp(o, dataFolder, now, profile, error))
        return 1;
    StampGeometry g;
    try {
        g = stampGeometry(profile);
    } catch (const std::exception &e) {
        error = QStringLiteral("the stamp cannot be drawn from its design: %1")
                    .arg(QString::fromUtf8(e.what()));
        return 1;
    }
    const double mm = o.sizeMm.value_or(naturalDiameterMm(g));
    if (o.output == StampOptions::Output::Onto && o.signing.sign)
        return signOnto(o, g, stampRecord(profile, {}, o.user, now), mm, error);
    if (o.output == StampOptions::Output::Onto) {
        const PdfResult r = stampPdfFile(*input, o.outPdf, {o.page, o.atMm, mm}, g);
        error = r.error;
        return r ? 0 : 1;
    }
    const PictureRequest request{pictureType(o.output), o.scale, o.transparent, mm};
    const QByteArray bytes = stampPictureFile(g, request);
    if (bytes.isEmpty()) {
        error = request.type == PictureType::Png
                    ? QStringLiteral("the stamp is too large for a PNG picture")
                    : QStringLiteral("the stamp could not be written as a picture");
        return 1;
    }
    QString why;
    if (!writeFileAtomically(o.file, bytes, &why)) {
        error = QStringLiteral("%1 cannot be written: %2").arg(o.file, why);
        return 1;
    }
    return 0;
}

} // namespace pellimo
