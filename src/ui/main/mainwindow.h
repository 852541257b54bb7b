// SPDX-License-Identifier: MIT
#pragma once

#include "model/appstate.h"
#include "model/profileranges.h"
#include "model/savestatus.h"

#include <QDateTime>
#include <QImage>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pellimo {

class PicBox;
class SelectAllOnFocus;
class StampExport;
class StampPickers;
class UpDown;

// The stamp editor: the stamp of the current user beside the controls that edit its profile, and
// the commands Set, colour, Options, About and Exit. It reads and writes the program-wide state
// directly; every edit goes straight into the current profile and redraws the stamp. Controls are
// named by their layout names (objectName "cmdSet", "txtItem0", "RadUpDown", ...).
class MainWindow : public QWidget {
    Q_OBJECT
public:
    // `now` is the window's only clock (tests pass a fixed one).
    explicit MainWindow(AppState &state,
                        std::function<QDateTime()> now = &QDateTime::currentDateTime,
                        QWidget *parent = nullptr);
    ~MainWindow() override;

    // The load sequence: user list, today's date into the date line, controls from the profile,
    // one drawing. Runs once; showing the window runs it.
    void load();

    // Whether what PicBase shows is a whole stamp (the last drawing succeeded).
    bool lastDrawSucceeded() const { return m_lastDrawSucceeded; }

    // Whether the last Set put the stamp on the clipboard and saved the profile (false before any).
    bool lastSetSucceeded() const { return m_lastSetSucceeded; }

    // True while the controls are being filled from a profile: the change handlers then neither
    // redraw nor copy band and offset spinners back into the profile.
    bool isLoading() const { return m_isLoading; }

    // What drawStamp last left on PicBase (200 x 200 stamp pixels), and the Set command's cut-out.
    const QImage &drawnStamp() const { return m_stamp; }
    const QImage &cutOut() const { return m_cutOut; }

    // Replaces the font and colour pickers (Qt's dialogs by default).
    void setPickers(std::unique_ptr<StampPickers> pickers);

    // The preview's commands: the picture file and "PDF に押印…".
    StampExport *stampExport() const { return m_export; }

    // Brings the window to the front and opens "PDF に押印…" on `pdf` once the event being
    // handled has ended (a PDF given on the command line or by a second start). A file that cannot
    // be read or is no PDF is reported, and the window stays as it is.
    void openPdf(const QString &pdf);

Q_SIGNALS:
    // Emitted after every drawing of the stamp.
    void stampDrawn();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private Q_SLOTS:
    void onSetClicked();
    void onRadiusChanged(int value);
    void onLineWidthChanged(int value);
    void onUserActivated(int entry);
    void onColourClicked();
    void onOptionsClicked();
    void onAboutClicked();
    void onExitClicked();

private:
    // A spinner and the label that shows its value.
    struct SpinnerControls {
        UpDown *spinner = nullptr;
        QLabel *label = nullptr;
    };

    // Controls, by group (mainwindow_controls.cpp).
    void buildUserAndPreview();
    void buildRadiusAndWidth();
    void buildBandSizes();
    void buildTextLine(int line);
    void buildCommandButtons();
    void arrangeTabOrder();
    void addSpinner(ProfileField field, int designValue, const QString &valueText);
    void connectHandlers();
    void centreOnScreen();

    // Editing (mainwindow_editing.cpp).
    void onBandChanged(ProfileField band);
    void onOffsetChanged(ProfileField offset);
    void onItemFocusLost(int line);
    void onFontClicked(int line);
    void refuseUnstorableText(int line);
    int textBoxIndex(const QObject *object) const;

    // Commands (mainwindow_commands.cpp).
    void commitEditedText();

    // Filling the controls from the current profile, and drawing it (mainwindow_load.cpp).
    void fillUserList();
    void fillControlsFromProfile();
    void putSpinner(ProfileField field, int16_t value);
    void putText(int line, const QString &text);
    bool drawStamp();
    const SpinnerControls &spinner(ProfileField field) const { return m_spinners[size_t(field)]; }

    AppState &m_state;
    std::function<QDateTime()> m_now;
    std::unique_ptr<StampPickers> m_pickers;
    bool m_isLoading = false;
    bool m_loaded = false;
    bool m_lastSetSucceeded = false;
    bool m_lastDrawSucceeded = true; // what PicBase shows is a whole stamp
    int m_editingItem = -1;          // the text box that has the focus, -1 for none
    std::array<bool, kItemCount>
        m_typedInto{}; // typed into since the box last gave its text to the profile
    SelectAllOnFocus *m_selectAllOnFocus = nullptr;
    StampExport *m_export = nullptr;

    QImage m_stamp;  // the stamp surface, shown by m_stampView
    QImage m_cutOut; // the Set command's cut-out, shown by m_cutOutView

    QComboBox *m_userList = nullptr;
    PicBox *m_stampView = nullptr;
    PicBox *m_cutOutView = nullptr;
    std::array<SpinnerControls, kProfileFieldCount> m_spinners{};
    std::array<QLineEdit *, kItemCount> m_lineBoxes{};
    std::array<QPushButton *, kItemCount> m_fontButtons{};
    QPushButton *m_setButton = nullptr;
    QPushButton *m_colourButton = nullptr;
    QPushButton *m_optionsButton = nullptr;
    QPushButton *m_aboutButton = nullptr;
    QPushButton *m_exitButton = nullptr;
};

} // namespace pellimo
