// SPDX-License-Identifier: MIT
#include "stampexport.h"

#include "model/warning.h"
#include "render/stampgeometry.h"
#include "render/stampvector.h"
#include "storage/datafileio.h"
#include "ui/pdfdialog/pdfdialogmodule.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QWidget>

namespace pellimo {

namespace {

QString askSaveName(QWidget *parent)
{
    return QFileDialog::getSaveFileName(
        parent, QStringLiteral(u"画像として保存"), QString(),
        QStringLiteral(u"PNG 画像 (*.png);;SVG 画像 (*.svg);;PDF (*.pdf)"));
}

QString askPdfName(QWidget *parent)
{
    return QFileDialog::getOpenFileName(parent, QStringLiteral(u"押印する PDF"), QString(),
                                        QStringLiteral("PDF (*.pdf)"));
}

} // namespace

StampExport::StampExport(QWidget *preview, ProfileSource profile)
    : QObject(preview), m_preview(preview), m_profile(std::move(profile)), m_saveName(askSaveName),
      m_pdfName(askPdfName)
{
    m_pdfDialog = [this](QWidget *parent, const QString &pdf) { runPdfDialog(parent, pdf); };
    preview->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(preview, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        QMenu *menu = buildMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(m_preview->mapToGlobal(pos));
    });
}

void StampExport::setFileQuestions(std::function<QString(QWidget *)> saveName,
                                   std::function<QString(QWidget *)> pdfName)
{
    m_saveName = std::move(saveName);
    m_pdfName = std::move(pdfName);
}

void StampExport::setPdfDialogRunner(std::function<void(QWidget *, const QString &)> runner)
{
    m_pdfDialog = std::move(runner);
}

QMenu *StampExport::buildMenu()
{
    auto *menu = new QMenu(m_preview);
    menu->setObjectName(QStringLiteral("mnuStamp"));
    QAction *save = menu->addAction(QStringLiteral(u"画像として保存…"));
    save->setObjectName(QStringLiteral("mnuSaveImage"));
    QAction *stamp = menu->addAction(QStringLiteral(u"PDF に押印…"));
    stamp->setObjectName(QStringLiteral("mnuStampPdf"));
    connect(save, &QAction::triggered, this, [this] { (void)saveImage(); });
    connect(stamp, &QAction::triggered, this, &StampExport::stampPdf);
    return menu;
}

bool StampExport::writePicture(const StampProfile &profile, const QString &path, QString &error)
{
    const std::optional<PictureType> type = pictureTypeOf(path);
    if (!type) {
        error = QStringLiteral(u"%1: 保存できるのは .png、.svg、.pdf のファイルです。")
                    .arg(QFileInfo(path).fileName());
        return false;
    }
    StampGeometry g;
    try {
        g = stampGeometry(profile);
    } catch (const std::exception &e) {
        error = QStringLiteral(u"印面を描けません: %1").arg(QString::fromUtf8(e.what()));
        return false;
    }
    // PNG four times as large on transparent, for print; SVG and PDF at the 96-dpi size.
    const QByteArray bytes = stampPictureFile(g, {*type, kPngScale, true});
    QString why = QStringLiteral(u"画像を作れません");
    if (bytes.isEmpty() || !writeFileAtomically(path, bytes, &why)) {
        error = QStringLiteral(u"%1 を書き込めません: %2").arg(path, why);
        return false;
    }
    return true;
}

bool StampExport::saveImage()
{
    QString path = m_saveName(m_preview->window());
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".png");
    QString error;
    if (!writePicture(m_profile(), path, error)) {
        showWarning(error);
        return false;
    }
    return true;
}

void StampExport::stampPdf()
{
    const QString pdf = m_pdfName(m_preview->window());
    if (!pdf.isEmpty())
        m_pdfDialog(m_preview->window(), pdf);
}

void StampExport::runPdfDialog(QWidget *parent, const QString &pdf)
{
    try {
        const StampGeometry g = stampGeometry(m_profile());
        // Beside the program (a portable folder, the build), or in ../lib/<multiarch>/pellimo
        // (the package's /usr/bin/pellimo).
        const QString programFolder = QCoreApplication::applicationDirPath();
        QString error;
        const RunPdfStampDialog runDialog = loadPdfStampDialog(
            {programFolder,
             programFolder + QStringLiteral("/../lib/" PELLIMO_LIBRARY_ARCH "/pellimo")},
            &error);
        if (!runDialog) {
            showWarning(error);
            return;
        }
        runDialog(g, naturalDiameterMm(g), pdf, parent);
    } catch (const std::exception &e) {
        showWarning(QStringLiteral(u"印面を描けません: %1").arg(QString::fromUtf8(e.what())));
    }
}

} // namespace pellimo
