// SPDX-License-Identifier: MIT
#include "pagedocument.h"

#include "pageprotocol.h"

#include <QFile>
#include <poppler-qt6.h>

namespace pellimo::pdfpage {

PageDocument::PageDocument() = default;
PageDocument::~PageDocument() = default;

bool PageDocument::open(const QByteArray &path)
{
    // Poppler's complaints about a damaged file would cost time on a hostile one and go nowhere.
    Poppler::setDebugErrorFunction([](const QString &, const QVariant &) {}, QVariant());
    // Poppler keeps the file open: the pages come from this reading of it, whatever happens to
    // the name afterwards. (Opened through a QIODevice instead, a page of many forms took 70%
    // longer: every form read again through seek and read.)
    m_document = Poppler::Document::load(QFile::decodeName(path));
    if (!m_document || m_document->isLocked())
        return false;
    m_document->setRenderHint(Poppler::Document::Antialiasing);
    m_document->setRenderHint(Poppler::Document::TextAntialiasing);
    return true;
}

int PageDocument::pageCount() const
{
    return m_document ? m_document->numPages() : 0;
}

QList<QSizeF> PageDocument::pageSizes() const
{
    QList<QSizeF> sizes;
    sizes.reserve(pageCount());
    for (int i = 0; i < pageCount(); ++i) {
        const std::unique_ptr<Poppler::Page> page = m_document->page(i);
        sizes << (page ? page->pageSizeF() : QSizeF());
    }
    return sizes;
}

bool PageDocument::locate(int page)
{
    m_located = 0;
    if (page < 1 || page > pageCount() ||
        !std::unique_ptr<Poppler::Page>(m_document->page(page - 1)))
        return false;
    m_located = page;
    return true;
}

QImage PageDocument::draw(QSize box)
{
    if (!m_located)
        return {};
    const std::unique_ptr<Poppler::Page> page = m_document->page(m_located - 1);
    const double dpi = page ? fittingDpi(page->pageSizeF(), box) : 0;
    if (dpi <= 0)
        return {};
    QImage picture = page->renderToImage(dpi, dpi);
    if (qint64(picture.width()) * picture.height() > kMaxImagePixels)
        return {};
    return picture;
}

} // namespace pellimo::pdfpage
