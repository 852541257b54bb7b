// SPDX-License-Identifier: MIT
#include "pagedocument.h"

#include "pageprotocol.h"

#include <fcntl.h>
#include <poppler-qt6.h>
#include <unistd.h>

namespace pellimo::pdfpage {

PageDocument::PageDocument() = default;
PageDocument::~PageDocument() = default;

bool PageDocument::open(const QByteArray &path)
{
    // Poppler's complaints about a damaged file would cost time on a hostile one and go nowhere.
    Poppler::setDebugErrorFunction([](const QString &, const QVariant &) {}, QVariant());
    // Opened by its bytes: a name that is not valid UTF-8 is the same file here as for the dialog.
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    if (!m_file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    m_document = Poppler::Document::load(&m_file);
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
