// SPDX-License-Identifier: MIT
#pragma once

#include "render/stampgeometry.h"

#include <QDialog>
#include <QPointF>
#include <functional>
#include <memory>

class QLabel;
class QSpinBox;
namespace Poppler {
class Document;
}

namespace pellimo {

class PagePreview;

// "PDF に押印": shows a page of the chosen PDF with the stamp at its default place (top-right,
// 15 mm in), lets the user drag it and choose the page, and saves a stamped copy beside the
// original as name-stamped.pdf. The original is never changed; an existing copy is replaced only
// when the user says so.
class PdfStampDialog : public QDialog {
    Q_OBJECT
public:
    PdfStampDialog(const StampGeometry &geometry, double diameterMm, const QString &pdfPath,
                   QWidget *parent = nullptr);
    ~PdfStampDialog() override;

    // Reads the PDF and shows its first page. False (with the reason) for a file that cannot be
    // stamped: damaged, encrypted, not a PDF.
    bool load(QString &error);

    // Asked before an existing file is replaced; true replaces it. A question box by default.
    void setOverwriteQuestion(std::function<bool(const QString &path)> ask);

    // name.pdf -> name-stamped.pdf in the same folder.
    static QString stampedPath(const QString &pdfPath);

    int page() const;
    void setPage(int page);
    QPointF stampCorner() const;
    PagePreview *preview() const { return m_preview; }
    // The copy written by the last save, empty before.
    QString savedPath() const { return m_savedPath; }

    // Writes the stamped copy; on failure the reason has been shown and the dialog stays open.
    bool save();

private:
    void showPage(int page);

    StampGeometry m_geometry;
    double m_diameterMm;
    QString m_pdfPath;
    QString m_savedPath;
    std::unique_ptr<Poppler::Document> m_document;
    std::function<bool(const QString &)> m_askOverwrite;
    QSpinBox *m_spnPage = nullptr;
    QLabel *m_lblPageCount = nullptr;
    PagePreview *m_preview = nullptr;
};

} // namespace pellimo
