// SPDX-License-Identifier: MIT
#include "stampexport.h"

#include "model/warning.h"
#include "render/stampgeometry.h"
#include "render/stampvector.h"
#include "storage/datafileio.h"
#include "ui/common/filequestions.h"
#include "ui/common/savetarget.h"
#include "ui/common/windownote.h"
#include "ui/pdfdialog/pdfdialogmodule.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QUrl>
#include <QWidget>

namespace pellimo {

namespace {

QString askSaveName(QWidget *parent)
{
    return askSaveFileName(parent, QStringLiteral(u"画像として保存"), QString(),
                           {QStringLiteral(u"PNG 画像 (*.png)"),
                            QStringLiteral(u"SVG 画像 (*.svg)"), QStringLiteral("PDF (*.pdf)")});
}

QString askPdfName(QWidget *parent)
{
    return askOpenFileName(parent, QStringLiteral(u"押印する PDF"),
                           {QStringLiteral("PDF (*.pdf)")});
}

} // namespace

StampExport::StampExport(QWidget *preview, ProfileSource profile)
    : QObject(preview), m_preview(preview), m_profile(std::move(profile)), m_saveName(askSaveName),
      m_pdfName(askPdfName)
{
    m_askOverwrite = [this](const QString &path) { return askReplaceFile(m_preview, path); };
    m_pdfDialog = [this](QWidget *parent, const QString &pdf) { return runPdfDialog(parent, pdf); };
    preview->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(preview, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        delete m_menu.data(); // one at a time; not shown any more, or this would not come
        m_menu = buildMenu();
        // Deleted by the command it runs, or after it closed without one: never inside its own
        // signal.
        connect(m_menu, &QMenu::aboutToHide, m_menu, &QObject::deleteLater);
        m_menu->popup(m_preview->mapToGlobal(pos));
    });
}

void StampExport::setFileQuestions(std::function<QString(QWidget *)> saveName,
                                   std::function<QString(QWidget *)> pdfName)
{
    m_saveName = std::move(saveName);
    m_pdfName = std::move(pdfName);
}

void StampExport::setOverwriteQuestion(std::function<bool(const QString &)> ask)
{
    m_askOverwrite = std::move(ask);
}

void StampExport::setPdfDialogRunner(std::function<QString(QWidget *, const QString &)> runner)
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
    // The menu is still inside its mouse or key handler when it emits `triggered`.
    connect(save, &QAction::triggered, this, [this] {
        runAfterCurrentEvent(this, [this] {
            delete m_menu.data();
            (void)saveImage();
        });
    });
    connect(stamp, &QAction::triggered, this, [this] {
        runAfterCurrentEvent(this, [this] {
            delete m_menu.data();
            stampPdf();
        });
    });
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
    // The name as it will be written is the one asked about.
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".png");
    QString error;
    if (!confirmSaveTarget(path, m_askOverwrite, error)) {
        if (!error.isEmpty())
            showWarning(error);
        return false;
    }
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
        stampPdfFile(pdf);
}

QString StampExport::pdfProblem(const QString &path)
{
    const QString name = QFileInfo(path).fileName().isEmpty() ? path : QFileInfo(path).fileName();
    QFile file(path);
    QString why;
    if (!openRegularFile(file, path, &why)) {
        // A name given in bytes that are not UTF-8 (CP932 from a Windows archive, say) comes
        // decoded with replacement characters and names no file: "no such file" would be false.
        if (path.contains(QChar::ReplacementCharacter) && !QFileInfo::exists(path))
            why = QCoreApplication::translate("pellimo",
                                              "its name is not UTF-8 text. Rename the file to "
                                              "UTF-8 (for example with convmv) and open it again.");
        return QCoreApplication::translate("pellimo", "%1 cannot be opened: %2").arg(name, why);
    }
    // Readers accept the header anywhere in the first kilobyte.
    if (!file.read(1024).contains("%PDF-"))
        return QCoreApplication::translate("pellimo", "%1 is not a PDF file.").arg(name);
    return QString();
}

void StampExport::stampPdfFile(const QString &pdf)
{
    if (const QString problem = pdfProblem(pdf); !problem.isEmpty()) {
        showWarning(problem);
        return;
    }
    const QString saved = m_pdfDialog(m_preview->window(), pdf);
    if (saved.isEmpty())
        return;
    showStampedNote(saved);
    Q_EMIT pdfStamped(saved);
}

void StampExport::showStampedNote(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    WindowNote::showWithLink(m_preview,
                             QCoreApplication::translate("pellimo", "The stamped PDF was saved: %1")
                                 .arg(QDir::toNativeSeparators(path)),
                             QCoreApplication::translate("pellimo", "Open folder"),
                             [folder] { QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); });
}

QString StampExport::runPdfDialog(QWidget *parent, const QString &pdf)
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
            return QString();
        }
        QString saved;
        runDialog({&g, naturalDiameterMm(g), pdf, m_settingsFile, parent}, &saved);
        return saved;
    } catch (const std::exception &e) {
        showWarning(QStringLiteral(u"印面を描けません: %1").arg(QString::fromUtf8(e.what())));
    }
    return QString();
}

} // namespace pellimo
