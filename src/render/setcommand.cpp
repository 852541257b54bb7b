#include "setcommand.h"

#include "checkedmath.h"
#include "framegeometry.h"
#include "platform/warning.h"
#include "stampsurface.h"
#include "startup/profilefile.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <cstring>

namespace pellimo {

void cutOutStamp(const QImage &picBase, int16_t radius, QImage &picTemp)
{
    const CropRect crop = cropRect(picBase.width(), picBase.height(), radius);
    if (crop.width() <= 0 || crop.height() <= 0)
        throw CutOutError("the cut-out is empty");
    if (crop.width() > kMaxCutOutSide || crop.height() > kMaxCutOutSide)
        throw CutOutError("the cut-out is too large");

    QImage cut = makeSurface(crop.width(), crop.height()); // white where PicBase has no pixels
    if (cut.isNull())
        throw CutOutError("no memory for the cut-out");

    const QImage source = picBase.format() == QImage::Format_RGB32
                              ? picBase
                              : picBase.convertToFormat(QImage::Format_RGB32);
    const QRect from = QRect(crop.left, crop.top, crop.width(), crop.height()) & source.rect();
    for (int y = from.top(); y <= from.bottom(); ++y) {
        const auto *src = reinterpret_cast<const QRgb *>(source.constScanLine(y)) + from.left();
        auto *dst =
            reinterpret_cast<QRgb *>(cut.scanLine(y - crop.top)) + (from.left() - crop.left);
        std::memcpy(dst, src, size_t(from.width()) * sizeof(QRgb));
    }
    picTemp = cut;
}

bool putStampOnClipboard(const QImage &image)
{
    if (image.isNull() || qobject_cast<QGuiApplication *>(QCoreApplication::instance()) == nullptr)
        return false;
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        return false;
    clipboard->clear();
    clipboard->setImage(image);
    // Ask back: when another program kept the clipboard, what it offers is not our image.
    const QMimeData *offered = clipboard->mimeData();
    return offered != nullptr && offered->hasImage() &&
           qvariant_cast<QImage>(offered->imageData()) == image;
}

SaveStatus runSetCommand(const AppState &state, const QImage &picBase, QImage &picTemp)
{
    try {
        cutOutStamp(picBase, state.profile.radius, picTemp);
    } catch (const std::exception &) {
        return SaveStatus::failure(joinMessageLines(
            {QStringLiteral(u"印面を切り出せませんでした。"),
             QStringLiteral(u"半径の値 %1 に問題があると思われます。").arg(state.profile.radius),
             QStringLiteral(u"クリップボードとプロファイルは変更していません。")}));
    }
    if (!putStampOnClipboard(picTemp))
        return SaveStatus::failure(
            joinMessageLines({QStringLiteral(u"印面をクリップボードにセットできませんでした。"),
                              QStringLiteral(u"プロファイルは保存していません。")}));

    const SaveStatus saved =
        saveProfile(state.profile, profileFilePath(state.programFolder, state.currentUser));
    if (!saved)
        return SaveStatus::failure(joinMessageLines(
            {QStringLiteral(
                 u"印面はクリップボードにセットしましたが、プロファイルを保存できませんでした。"),
             saved.error}));
    return saved;
}

} // namespace pellimo
