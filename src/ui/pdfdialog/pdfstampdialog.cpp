// SPDX-License-Identifier: MIT
#include "pdfstampdialog.h"

#include "model/warning.h"
#include "pagepreview.h"
#include "pdfstamp/pdfstamp.h"
#include "sealpanel.h"
#include "stampplaces.h"
#include "ui/common/filequestions.h"
#include "ui/common/savetarget.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <dlfcn.h>
#include <unistd.h>

namespace pellimo {

namespace {

constexpr double kPointsPerMm = 72 / 25.4;
// The picture is drawn for the preview's size, within these bounds (pixels, either side).
constexpr int kLeastRenderSide = 1200; // about 100 dpi for an A4 page
constexpr int kMostRenderSide = 2000;
// A page not there by then says that it is on its way.
constexpr int kLoadingNoticeMs = 400;

const char kAnchor = 0; // an address inside the file that holds this code

// The renderer's sizes (Poppler's reading, in points) in millimetres as the stamp is placed:
// libqpdf applies /UserUnit, which Poppler leaves out. A first page that libqpdf reads larger by
// one factor both ways is taken to give the unit of the whole document, and the first page is
// libqpdf's own.
QList<QSizeF> placementSizesMm(const QList<QSizeF> &sizesPt, QSizeF firstPageMm)
{
    QList<QSizeF> sizes;
    sizes.reserve(sizesPt.size());
    for (const QSizeF &size : sizesPt)
        sizes << (size.isValid() ? size / kPointsPerMm : QSizeF());
    if (sizes.isEmpty() || !sizes.first().isValid())
        return sizes;
    const double rx = firstPageMm.width() / sizes.first().width();
    const double ry = firstPageMm.height() / sizes.first().height();
    if (std::abs(rx - ry) < 1e-3 * rx && std::abs(rx - 1) > 1e-3) {
        for (QSizeF &size : sizes) {
            if (size.isValid())
                size *= rx;
        }
    }
    sizes.first() = firstPageMm;
    return sizes;
}

} // namespace

PdfStampDialog::PdfStampDialog(const StampGeometry &geometry, double diameterMm,
                               const QString &pdfPath, QWidget *parent)
    : QDialog(parent), m_geometry(geometry), m_diameterMm(diameterMm), m_pdfPath(pdfPath),
      m_rendererProgram(defaultRendererProgram())
{
    setObjectName(QStringLiteral("PdfStampDialog"));
    setWindowTitle(QStringLiteral(u"PDF に押印 - %1").arg(QFileInfo(pdfPath).fileName()));

    auto *pageLabel = new QLabel(QStringLiteral(u"ページ(&P):"), this);
    pageLabel->setObjectName(QStringLiteral("lblPage"));
    m_spnPage = new QSpinBox(this);
    m_spnPage->setObjectName(QStringLiteral("spnPage"));
    m_spnPage->setRange(1, 1);
    pageLabel->setBuddy(m_spnPage);
    m_lblPageCount = new QLabel(this);
    m_lblPageCount->setObjectName(QStringLiteral("lblPageCount"));
    auto *hint = new QLabel(QStringLiteral(u"印影はドラッグして動かせます。"), this);
    hint->setObjectName(QStringLiteral("lblHint"));

    m_preview = new PagePreview(geometry, diameterMm, this);
    m_preview->setObjectName(QStringLiteral("pagePreview"));

    auto *buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("buttons"));
    QPushButton *saveButton =
        buttons->addButton(QStringLiteral(u"押印して保存(&S)"), QDialogButtonBox::AcceptRole);
    saveButton->setObjectName(QStringLiteral("cmdSave"));
    saveButton->setDefault(true);
    QPushButton *cancel =
        buttons->addButton(QStringLiteral(u"キャンセル"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdCancel"));

    auto *top = new QHBoxLayout;
    top->addWidget(pageLabel);
    top->addWidget(m_spnPage);
    top->addWidget(m_lblPageCount);
    top->addStretch();
    top->addWidget(hint);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_preview, 1);
    m_seal = new SealPanel(this);
    m_seal->setObjectName(QStringLiteral("sealPanel"));
    layout->addWidget(m_seal);
    layout->addWidget(buttons);

    m_loadingNotice = new QTimer(this);
    m_loadingNotice->setSingleShot(true);
    m_loadingNotice->setInterval(kLoadingNoticeMs);
    connect(m_loadingNotice, &QTimer::timeout, this, [this] {
        if (!m_preview->hasPicture() && m_preview->notice().isEmpty())
            m_preview->setNotice(QStringLiteral(u"ページを読み込んでいます…"));
    });

    connect(m_spnPage, &QSpinBox::valueChanged, this, &PdfStampDialog::showPage);
    connect(saveButton, &QPushButton::clicked, this, [this] {
        if (save())
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_askOverwrite = [this](const QString &path) { return askReplaceFile(this, path); };
    m_askOutput = [this](const QString &proposed) {
        return askSaveFileName(this, QStringLiteral(u"押印した PDF の保存先"), proposed,
                               {QStringLiteral("PDF (*.pdf)")});
    };
}

PdfStampDialog::~PdfStampDialog() = default;

QString PdfStampDialog::defaultRendererProgram()
{
    QString folder = QCoreApplication::applicationDirPath();
    Dl_info info{};
    if (::dladdr(&kAnchor, &info) && info.dli_fname)
        folder = QFileInfo(QFile::decodeName(info.dli_fname)).absolutePath();
    return QDir(folder).filePath(QStringLiteral("pellimo-pdfpage"));
}

void PdfStampDialog::setOverwriteQuestion(std::function<bool(const QString &)> ask)
{
    m_askOverwrite = std::move(ask);
}

void PdfStampDialog::setOutputQuestion(std::function<QString(const QString &)> ask)
{
    m_askOutput = std::move(ask);
}

QString PdfStampDialog::proposedPath() const
{
    const QString beside = stampedPath(m_pdfPath);
    const QString folder = QFileInfo(beside).absolutePath();
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0)
        return beside;
    QString elsewhere = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (elsewhere.isEmpty() || !QFileInfo(elsewhere).isDir())
        elsewhere = QDir::homePath();
    return QDir(elsewhere).filePath(QFileInfo(beside).fileName());
}

QString PdfStampDialog::stampedPath(const QString &pdfPath)
{
    const QFileInfo info(pdfPath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("-stamped.pdf"));
}

bool PdfStampDialog::load(QString &error)
{
    delete m_renderer;
    m_renderer = new PageRenderer(m_rendererProgram, m_pdfPath, m_limits, this);
    m_renderer->setObjectName(QStringLiteral("pageRenderer"));
    connect(m_renderer, &PageRenderer::pageReady, this, &PdfStampDialog::pageReady);
    connect(m_renderer, &PageRenderer::pageFailed, this, &PdfStampDialog::pageFailed);
    // The renderer reads the file while libqpdf decides whether it can be stamped.
    m_renderer->start();
    PdfPageInfo info;
    if (const PdfResult r = describePdfPage(m_pdfPath, 1, info); !r) {
        error = r.error;
        delete std::exchange(m_renderer, nullptr);
        return false;
    }
    m_firstPageMm = info.pageMm;
    // The sizes of all pages, read once; without them (the renderer failed) every page is taken
    // to be as large as the first, and says that it cannot be shown.
    QList<QSizeF> sizesPt;
    m_sizesMm = m_renderer->waitForPages(info.pageCount, sizesPt)
                    ? placementSizesMm(sizesPt, info.pageMm)
                    : QList<QSizeF>();
    m_spnPage->setRange(1, info.pageCount);
    m_lblPageCount->setText(QStringLiteral("/ %1").arg(info.pageCount));
    m_lblPageCount->setToolTip(QCoreApplication::translate("pellimo", "This PDF has %n page(s).",
                                                           nullptr, info.pageCount));
    showPage(1);
    m_preview->setStampCorner(rememberedStampPlace(m_settingsFile, info.pageMm)
                                  .value_or(defaultStampCorner(info.pageMm, m_diameterMm)));
    return true;
}

int PdfStampDialog::page() const
{
    return m_spnPage->value();
}

void PdfStampDialog::setPage(int page)
{
    m_spnPage->setValue(page);
}

QPointF PdfStampDialog::stampCorner() const
{
    return m_preview->stampCorner();
}

QSizeF PdfStampDialog::pageSizeMm(int page) const
{
    if (page >= 1 && page <= m_sizesMm.size() && m_sizesMm[page - 1].isValid())
        return m_sizesMm[page - 1];
    return m_firstPageMm;
}

QSize PdfStampDialog::renderBox() const
{
    const double side =
        std::max(m_preview->width(), m_preview->height()) * m_preview->devicePixelRatioF();
    const int bounded = std::clamp(int(side), kLeastRenderSide, kMostRenderSide);
    return {bounded, bounded};
}

// The outline at once, the picture when the renderer has it.
void PdfStampDialog::showPage(int page)
{
    if (!m_renderer)
        return;
    m_preview->setPage(QImage(), pageSizeMm(page));
    m_preview->setNotice(QString());
    m_loadingNotice->start();
    m_renderer->request(page, renderBox());
}

void PdfStampDialog::pageReady(int page, const QImage &picture)
{
    if (page != this->page())
        return;
    m_loadingNotice->stop();
    m_preview->setNotice(QString());
    m_preview->setPage(picture, pageSizeMm(page));
}

void PdfStampDialog::pageFailed(int page, const QString &why)
{
    if (page != this->page())
        return;
    m_loadingNotice->stop();
    m_preview->setNotice(
        QStringLiteral(u"このページは表示できません: %1。\n印影はこの枠の中に置いて保存できます。")
            .arg(why));
}

bool PdfStampDialog::save()
{
    const QString out = m_askOutput(proposedPath());
    if (out.isEmpty())
        return false;
    QString refusal;
    if (!confirmSaveTarget(out, m_askOverwrite, refusal)) {
        if (!refusal.isEmpty())
            showWarning(refusal);
        return false;
    }
    const PdfStampPlace place{page(), stampCorner(), m_diameterMm};
    const PdfResult r = m_seal->isSigning() ? m_seal->sign(m_pdfPath, out, place, m_geometry)
                                            : stampPdfFile(m_pdfPath, out, place, m_geometry);
    if (!r) {
        showWarning(r.error);
        return false;
    }
    m_savedPath = out;
    // The next PDF with pages of this size opens with the stamp here; a settings file that
    // cannot be written costs only that.
    (void)rememberStampPlace(m_settingsFile, m_preview->pageSizeMm(), stampCorner());
    return true;
}

} // namespace pellimo
