// SPDX-License-Identifier: MIT
#include "stamptool.h"

#include "datefmt/dateformat.h"
#include "datefmt/japaneseera.h"
#include "model/appsettings.h"
#include "model/stampprofile.h"
#include "pdfstamp/pagestamps.h"
#include "pdfstamp/pdfstamp.h"
#include "render/stampgeometry.h"
#include "render/stampvector.h"
#include "stampbatch.h"
#include "storage/datafileio.h"
#include "storage/filenames.h"
#include "storage/profilefile.h"
#include "storage/settingsfile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <optional>

namespace pellimo {

namespace {

// The stamp to draw: the user's profile with the day's date in the date line, and who that is.
struct LoadedStamp {
    StampProfile profile;
    int user = 1;
    QString userName; // from the settings file
};

// The profile of the user, with the day's date in the date line. A missing file gives the default
// profile (pellimo would create it with the defaults); a damaged one is refused, so that no
// document is stamped with a design the user did not make. A day given with --date that the date
// pattern cannot write (it names the era, and the day lies before the first era the calendar
// knows) is refused too, rather than printed with a year of an era that never was.
bool loadStamp(const StampOptions &o, const QString &folder, const QDateTime &now,
               LoadedStamp &stamp, QString &error)
{
    AppSettings settings;
    loadDefaultSettings(settings);
    const QString ini = settingsFilePath(folder);
    if (QFileInfo(ini).isFile())
        loadSettings(settings, ini);
    if (o.date && patternUsesJapaneseEra(settings.dateFormat) && !hasJapaneseEra(*o.date)) {
        const QDate first = firstJapaneseEraDay();
        error = QCoreApplication::translate(
                    "pellimo",
                    "--date %1 lies before %2, the first day of the Japanese eras the calendar "
                    "knows: the date pattern %3 writes the era, so nothing is written")
                    .arg(o.date->toString(Qt::ISODate),
                         first.isValid() ? first.toString(Qt::ISODate)
                                         : QCoreApplication::translate("pellimo", "(unknown)"),
                         settings.dateFormat);
        return false;
    }
    const auto user = int16_t(o.user ? o.user : settings.defaultUser);
    const QString path = profileFilePath(folder, user);
    loadDefaultProfile(stamp.profile);
    if (QFileInfo(path).isFile() && !readProfile(stamp.profile, path)) {
        error = QCoreApplication::translate(
                    "pellimo", "%1 cannot be read (the file is damaged): the stamp of user %2 is "
                               "not drawn and nothing is written")
                    .arg(path)
                    .arg(user);
        return false;
    }
    const QDateTime day = o.date ? QDateTime(*o.date, QTime(0, 0)) : now;
    stamp.profile.items[1].text = formatDate(day, settings.dateFormat);
    stamp.user = user;
    if (user >= 1 && user <= kUserCount)
        stamp.userName = settings.userNames[size_t(user - 1)];
    return true;
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

int listStamps(const QString &in, const StampToolIo &io, QString &error)
{
    QList<PdfStampEntry> stamps;
    const PdfResult r = listPdfStamps(in, stamps);
    if (!r) {
        error = r.error;
        return 1;
    }
    if (!r.notice.isEmpty() && io.note)
        io.note(r.notice);
    for (const PdfStampEntry &entry : stamps)
        io.print(describeStampEntry(entry));
    return 0;
}

} // namespace

PdfStampPlan stampPlan(const StampOptions &o, double diameterMm)
{
    PdfStampPlan plan;
    if (o.pages) {
        plan.pages = *o.pages;
    } else {
        plan.pages.kind = PageChoice::Kind::Numbers;
        plan.pages.ranges = {{o.page, o.page}};
    }
    plan.atMm = o.atMm;
    plan.corner = o.corner;
    plan.diameterMm = diameterMm;
    return plan;
}

PdfResult flattenOne(const StampOptions &o, const QString &in, const QString &out,
                     const StampGeometry &geometry, double diameterMm)
{
    PdfStampPlace place{o.page, o.atMm, diameterMm};
    if (o.corner) { // measured from another corner: the page's size decides the place
        PdfPageInfo info;
        if (PdfResult r = describePdfPage(in, o.page, info); !r)
            return r;
        place.atMm = stampCornerOnPage(stampPlan(o, diameterMm), info.pageMm);
    }
    return flattenPdfFile(in, out, place, geometry);
}

int runStampTool(const StampOptions &o, const QString &dataFolder, const QDateTime &now,
                 const StampToolIo &io, QString &error)
{
    if (o.output == StampOptions::Output::List)
        return listStamps(o.file, io, error);
    if (o.output == StampOptions::Output::Certs)
        return listSigningCertificates(o, error);
    // Refusals known before any PDF is read come at once: the PDF is not even opened.
    if (o.output == StampOptions::Output::Onto && !o.batch()) {
        if (const PdfResult r = checkOutputIsNotInput(o.file, o.outPdf); !r) {
            error = r.error;
            return 1;
        }
    }
    if (o.output == StampOptions::Output::Onto && o.batch() && !isFolderName(o.outDir)) {
        error = QCoreApplication::translate("pellimo",
                                            "%1 is not a folder: --outdir takes an existing folder")
                    .arg(o.outDir);
        return 1;
    }
    LoadedStamp stamp;
    if (!loadStamp(o, dataFolder, now, stamp, error))
        return 1;
    // One page given the plain way: the PDF is read from now on, beside the fonts.
    const bool plainOnto = o.output == StampOptions::Output::Onto && !o.batch() && !o.flatten &&
                           !o.pages && !o.corner && !o.signing.sign;
    std::optional<PdfInput> input;
    if (plainOnto)
        input.emplace(o.file);
    StampGeometry g;
    try {
        g = stampGeometry(stamp.profile);
    } catch (const std::exception &e) {
        error =
            QCoreApplication::translate("pellimo", "the stamp cannot be drawn from its design: %1")
                .arg(QString::fromUtf8(e.what()));
        return 1;
    }
    const double mm = o.sizeMm.value_or(naturalDiameterMm(g));
    if (o.output == StampOptions::Output::Onto && o.signing.sign)
        return signOnto(o, g, stampRecord(stamp.profile, stamp.userName, stamp.user, now), mm,
                        error);
    if (o.output != StampOptions::Output::Png && !(mm >= kMinStampDiameterMm)) {
        error = QCoreApplication::translate("pellimo",
                                            "the stamp must be at least %1 mm across to be read")
                    .arg(kMinStampDiameterMm);
        return 1;
    }
    if (o.output == StampOptions::Output::Onto) {
        const PdfStampRecord record = stampRecord(stamp.profile, stamp.userName, stamp.user, now);
        if (o.batch())
            return runStampBatch(o, g, mm, record, io, error);
        PdfResult r;
        if (plainOnto)
            r = stampPdfFile(*input, o.outPdf, {o.page, o.atMm, mm}, g, record);
        else if (o.flatten)
            r = flattenOne(o, o.file, o.outPdf, g, mm);
        else
            r = stampPdfPages(o.file, o.outPdf, stampPlan(o, mm), g, {}, record);
        error = r.error;
        if (r && !r.notice.isEmpty() && io.note)
            io.note(r.notice);
        return r ? 0 : 1;
    }
    const PictureRequest request{pictureType(o.output), o.scale, o.transparent, mm};
    const QByteArray bytes = stampPictureFile(g, request);
    if (bytes.isEmpty()) {
        error =
            request.type == PictureType::Png
                ? QCoreApplication::translate("pellimo", "the stamp is too large for a PNG picture")
                : QCoreApplication::translate("pellimo",
                                              "the stamp could not be written as a picture");
        return 1;
    }
    QString why;
    if (!writeFileAtomically(o.file, bytes, &why)) {
        error = QCoreApplication::translate("pellimo", "%1 cannot be written: %2").arg(o.file, why);
        return 1;
    }
    return 0;
}

} // namespace pellimo
