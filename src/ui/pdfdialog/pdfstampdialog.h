// SPDX-License-Identifier: MIT
#pragma once

#include "pagerenderer.h"
#include "render/stampgeometry.h"

#include <QDialog>
#include <QPointF>
#include <functional>
#include <memory>

class QLabel;
class QSpinBox;
class QTimer;

namespace pellimo {

class PagePreview;
class SealPanel;

// "PDF に押印": shows a page of the chosen PDF with the stamp where it was last put on a page of
// that size (else at its default place, top-right, 15 mm in), lets the user drag it and choose the
// page, and saves a stamped copy under a name the user confirms in a save dialog (name-stamped.pdf
// beside the original proposed). The original is never changed; an existing copy is replaced only
// when the user says so, and a link is never written through. The pages are drawn by
// pellimo-pdfpage, a process of its own: a page that cannot be drawn, or takes too long, is an
// outline with a notice, and the stamp can be placed on it and saved all the same; the window never
// waits for a page.
class PdfStampDialog : public QDialog {
    Q_OBJECT
public:
    PdfStampDialog(const StampGeometry &geometry, double diameterMm, const QString &pdfPath,
                   QWidget *parent = nullptr);
    ~PdfStampDialog() override;

    // The renderer and its limits, before load(). By default pellimo-pdfpage beside the file
    // that holds this code (the module, or the program).
    void setRendererProgram(const QString &program) { m_rendererProgram = program; }
    void setRenderLimits(const RenderLimits &limits) { m_limits = limits; }
    static QString defaultRendererProgram();

    // Reads the PDF and shows its first page. False (with the reason) for a file that cannot be
    // stamped: damaged, encrypted, not a PDF.
    bool load(QString &error);

    // Asked before an existing file is replaced; true replaces it. A question box by default.
    void setOverwriteQuestion(std::function<bool(const QString &path)> ask);
    // Asked for the name to save under, `proposed` filled in; empty cancels. A save dialog by
    // default.
    void setOutputQuestion(std::function<QString(const QString &proposed)> ask);
    // The settings file that keeps the stamp's last place on each size of page (before load()).
    void setSettingsFile(const QString &path) { m_settingsFile = path; }

    // The name proposed for the copy: name-stamped.pdf beside the original, or in the user's
    // documents (else home) folder when the original's folder cannot be written.
    QString proposedPath() const;
    // name.pdf -> name-stamped.pdf in the same folder.
    static QString stampedPath(const QString &pdfPath);

    int page() const;
    void setPage(int page);
    QPointF stampCorner() const;
    PagePreview *preview() const { return m_preview; }
    SealPanel *sealPanel() const { return m_seal; }
    // The copy written by the last save, empty before.
    QString savedPath() const { return m_savedPath; }

    // Writes the stamped copy; on failure the reason has been shown and the dialog stays open.
    bool save();

private:
    void showPage(int page);
    void pageReady(int page, const QImage &picture);
    void pageFailed(int page, const QString &why);
    QSizeF pageSizeMm(int page) const;
    QSize renderBox() const;

    StampGeometry m_geometry;
    double m_diameterMm;
    QString m_pdfPath;
    QString m_savedPath;
    QString m_settingsFile;
    QString m_rendererProgram;
    RenderLimits m_limits;
    PageRenderer *m_renderer = nullptr;
    QList<QSizeF> m_sizesMm; // every page's, from the renderer; invalid where unknown
    QSizeF m_firstPageMm;    // as libqpdf reads it; for a page of unknown size
    QTimer *m_loadingNotice = nullptr;
    std::function<bool(const QString &)> m_askOverwrite;
    std::function<QString(const QString &)> m_askOutput;
    QSpinBox *m_spnPage = nullptr;
    QLabel *m_lblPageCount = nullptr;
    PagePreview *m_preview = nullptr;
    SealPanel *m_seal = nullptr;
};

} // namespace pellimo
