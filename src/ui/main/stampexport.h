// SPDX-License-Identifier: MIT
#pragma once

#include "model/stampprofile.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QMenu;
class QWidget;

namespace pellimo {

// The stamp preview's context menu: "画像として保存…" (PNG, SVG or PDF by the file's type) and
// "PDF に押印…". Works on the profile as the preview shows it, date line included. The commands
// run once the menu has closed and is gone, never inside its signal: a file dialog run there
// (GTK's above all) would return into a menu deleted under it.
class StampExport : public QObject {
    Q_OBJECT
public:
    using ProfileSource = std::function<const StampProfile &()>;
    StampExport(QWidget *preview, ProfileSource profile);

    // The file dialogs, replaceable by tests: a name to save the picture under, a PDF to stamp.
    // An empty name cancels.
    void setFileQuestions(std::function<QString(QWidget *)> saveName,
                          std::function<QString(QWidget *)> pdfName);
    // Asked before an existing file is replaced; true replaces it. A question box by default.
    void setOverwriteQuestion(std::function<bool(const QString &path)> ask);
    // What runs the stamping dialog for a chosen PDF and gives the copy it saved (empty: none);
    // by default a PdfStampDialog, modal.
    void setPdfDialogRunner(std::function<QString(QWidget *, const QString &pdf)> runner);
    // The settings file where the dialog keeps the stamp's last place on each size of page.
    void setSettingsFile(const QString &path) { m_settingsFile = path; }

    // The menu as it pops up over the preview.
    QMenu *buildMenu();

    // The two commands. saveImage returns false when nothing was written (the reason is shown).
    bool saveImage();
    void stampPdf();
    // The stamping dialog on `pdf`, as if it had been chosen in "PDF に押印…"; a file that cannot
    // be read or is no PDF is reported, and nothing more happens.
    void stampPdfFile(const QString &pdf);

    // PNG is drawn four times as large (384 dpi) on transparent, for print; SVG and PDF are
    // vector, at the stamp's size on a 96-dpi screen.
    static constexpr int kPngScale = 4;
    static bool writePicture(const StampProfile &profile, const QString &path, QString &error);

    // Why `path` cannot be opened as a PDF (it cannot be read, or it does not start as one);
    // empty when it may be.
    static QString pdfProblem(const QString &path);

Q_SIGNALS:
    // A stamped copy of a PDF was written to `path`.
    void pdfStamped(const QString &path);

private:
    QString runPdfDialog(QWidget *parent, const QString &pdf);
    void showStampedNote(const QString &path);

    QWidget *m_preview;
    ProfileSource m_profile;
    QString m_settingsFile;
    QPointer<QMenu> m_menu; // the menu popped up last, until it is gone
    std::function<QString(QWidget *)> m_saveName;
    std::function<QString(QWidget *)> m_pdfName;
    std::function<bool(const QString &)> m_askOverwrite;
    std::function<QString(QWidget *, const QString &)> m_pdfDialog;
};

} // namespace pellimo
