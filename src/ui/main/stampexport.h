// SPDX-License-Identifier: MIT
#pragma once

#include "model/stampprofile.h"

#include <QObject>
#include <QString>
#include <functional>

class QMenu;
class QWidget;

namespace pellimo {

// The stamp preview's context menu: "画像として保存…" (PNG, SVG or PDF by the file's type) and
// "PDF に押印…". Works on the profile as the preview shows it, date line included.
class StampExport : public QObject {
    Q_OBJECT
public:
    using ProfileSource = std::function<const StampProfile &()>;
    StampExport(QWidget *preview, ProfileSource profile);

    // The file dialogs, replaceable by tests: a name to save the picture under, a PDF to stamp.
    // An empty name cancels.
    void setFileQuestions(std::function<QString(QWidget *)> saveName,
                          std::function<QString(QWidget *)> pdfName);
    // What runs the stamping dialog for a chosen PDF; by default a PdfStampDialog, modal.
    void setPdfDialogRunner(std::function<void(QWidget *, const QString &pdf)> runner);

    // The menu as it pops up over the preview.
    QMenu *buildMenu();

    // The two commands. saveImage returns false when nothing was written (the reason is shown).
    bool saveImage();
    void stampPdf();

    // PNG is drawn four times as large (384 dpi) on transparent, for print; SVG and PDF are
    // vector, at the stamp's size on a 96-dpi screen.
    static constexpr int kPngScale = 4;
    static bool writePicture(const StampProfile &profile, const QString &path, QString &error);

private:
    void runPdfDialog(QWidget *parent, const QString &pdf);

    QWidget *m_preview;
    ProfileSource m_profile;
    std::function<QString(QWidget *)> m_saveName;
    std::function<QString(QWidget *)> m_pdfName;
    std::function<void(QWidget *, const QString &)> m_pdfDialog;
};

} // namespace pellimo
