// SPDX-License-Identifier: MIT
#include "pdfstampdialog.h"

#include "model/warning.h"
#include "pagepreview.h"
#include "pdfstamp/pdfstamp.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <poppler-qt6.h>

namespace pellimo {

namespace {

constexpr double kPreviewDpi = 100; // enough for a 420-pixel-wide view of an A4 page

} // namespace

PdfStampDialog::PdfStampDialog(const StampGeometry &geometry, double diameterMm,
                               const QString &pdfPath, QWidget *parent)
    : QDialog(parent), m_geometry(geometry), m_diameterMm(diameterMm), m_pdfPath(pdfPath)
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
    layout->addWidget(buttons);

    connect(m_spnPage, &QSpinBox::valueChanged, this, &PdfStampDialog::showPage);
    connect(saveButton, &QPushButton::clicked, this, [this] {
        if (save())
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_askOverwrite = [this](const QString &path) {
        return QMessageBox::question(this, QStringLiteral("Pellimo"),
                                     QStringLiteral(u"%1 はすでにあります。置き換えますか?")
                                         .arg(QFileInfo(path).fileName()),
                                     QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    };
}

PdfStampDialog::~PdfStampDialog() = default;

void PdfStampDialog::setOverwriteQuestion(std::function<bool(const QString &)> ask)
{
    m_askOverwrite = std::move(ask);
}

QString PdfStampDialog::stampedPath(const QString &pdfPath)
{
    const QFileInfo info(pdfPath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("-stamped.pdf"));
}

bool PdfStampDialog::load(QString &error)
{
    // qpdf decides what can be stamped; Poppler only draws it.
    PdfPageInfo info;
    if (const PdfResult r = describePdfPage(m_pdfPath, 1, info); !r) {
        error = r.error;
        return false;
    }
    m_document = Poppler::Document::load(m_pdfPath);
    if (!m_document || m_document->isLocked() || m_document->numPages() != info.pageCount) {
        error = QStringLiteral("%1 cannot be shown").arg(QFileInfo(m_pdfPath).fileName());
        return false;
    }
    m_document->setRenderHint(Poppler::Document::Antialiasing);
    m_document->setRenderHint(Poppler::Document::TextAntialiasing);
    m_spnPage->setRange(1, info.pageCount);
    m_lblPageCount->setText(QStringLiteral("/ %1").arg(info.pageCount));
    showPage(1);
    m_preview->setStampCorner(defaultStampCorner(info.pageMm, m_diameterMm));
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

void PdfStampDialog::showPage(int page)
{
    PdfPageInfo info;
    if (!m_document || !describePdfPage(m_pdfPath, page, info))
        return;
    const std::unique_ptr<Poppler::Page> p = m_document->page(page - 1);
    m_preview->setPage(p ? p->renderToImage(kPreviewDpi, kPreviewDpi) : QImage(), info.pageMm);
}

bool PdfStampDialog::save()
{
    const QString out = stampedPath(m_pdfPath);
    if (QFileInfo::exists(out) && !m_askOverwrite(out))
        return false;
    const PdfResult r =
        stampPdfFile(m_pdfPath, out, {page(), stampCorner(), m_diameterMm}, m_geometry);
    if (!r) {
        showWarning(r.error);
        return false;
    }
    m_savedPath = out;
    return true;
}

} // namespace pellimo
