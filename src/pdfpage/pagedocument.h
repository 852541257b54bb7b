// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QSizeF>
#include <memory>

namespace Poppler {
class Document;
}

namespace pellimo::pdfpage {

// One PDF held open by Poppler, its pages drawn on request.
class PageDocument {
public:
    PageDocument();
    ~PageDocument();

    // False for a file Poppler cannot open or that is locked.
    bool open(const QByteArray &path);
    int pageCount() const;
    // Every page's size as shown (its visible box, turned by its /Rotate), in points. Reading
    // them all walks the page tree once, after which any page is found at once.
    QList<QSizeF> pageSizes() const;
    // Finds the page (slow for a late page of a file with many pages: Poppler walks its page
    // tree up to there once); false for a page that is not there.
    bool locate(int page);
    // The located page drawn to fit `box` pixels, never more than kMaxImagePixels; null when it
    // could not be drawn.
    QImage draw(QSize box);

private:
    std::unique_ptr<Poppler::Document> m_document;
    int m_located = 0;
};

} // namespace pellimo::pdfpage
