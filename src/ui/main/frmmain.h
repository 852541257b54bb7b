#pragma once

// Public face of the main window, shared by start-up (src/app) and the tests. The window's
// implementation adds its controls and handlers below the marked line.

#include "loadsequence.h"
#include "model/appstate.h"
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
class StampPickers;
class UpDown;

class frmMain : public QWidget, private LoadTarget {
    Q_OBJECT
public:
    // The window reads and writes `state` directly; `now` is its only clock (tests pass a fixed
    // one).
    explicit frmMain(AppState &state, std::function<QDateTime()> now = &QDateTime::currentDateTime,
                     QWidget *parent = nullptr);
    ~frmMain() override;

    // The load sequence: user list, today's date into the date line, controls from the profile,
    // one drawing; under noGuiMode it ends by running Set.
    void Form_Load();

    // The Set command. Returns what happened: on failure the user has been told which step failed.
    SaveStatus cmdSet_Click();

    // Whether the last Set put the stamp on the clipboard and saved the profile (false before any).
    bool lastSetSucceeded() const;

    // ---- implementation below (controls, handlers) ----

    // True while the controls are being filled from a profile: the change handlers then neither
    // redraw nor copy band and offset spinners back into the profile.
    bool isLoading() const { return m_isLoading; }

    // What drawStamp last left on PicBase (200 x 200 stamp pixels), and the Set command's cut-out.
    const QImage &picBaseImage() const { return m_picBase; }
    const QImage &picTempImage() const { return m_picTemp; }

    // Replaces the font and colour pickers (Qt's dialogs by default).
    void setPickers(std::unique_ptr<StampPickers> pickers);

    // Fills the spinners, value labels and text boxes from the current profile. The first value a
    // spinner refuses stops the filling and shows the warning naming the current user's file.
    void ProfileToControls();

    // Editing handlers; each writes into the current profile and redraws unless isLoading.
    void RadUpDown_Change();
    void WtUpDown_Change();
    void AreaUpdown_Change(int index);
    void ScUpDown_Change(int index);
    void txtItem_GotFocus(int index);
    void txtItem_LostFocus(int index);
    void cmbUserName_Click();

    // Font of line `index`, colour of the stamp: through the pickers, into the profile, redraw.
    void cmdFont_Click(int index);
    void cmdColor_Click();

    // Options (then user list, date line and stamp refreshed), About, Exit (nothing saved).
    void cmdOption_Click();
    void cmdAbout_Click();
    void cmdEnd_Click();

    // Redraws the whole stamp from the current profile onto PicBase.
    void drawStamp() override;

    // The four-line warning shown when a stored value does not fit its control.
    static QString profileToControlsWarningText(int16_t user);

Q_SIGNALS:
    // Emitted after every drawing of the stamp.
    void stampDrawn();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The load sequence's steps on this window's controls.
    bool putSpinner(SpinnerId id, int16_t field) override;
    void putText(int line, const QString &text) override;
    void setLoading(bool loading) override { m_isLoading = loading; }
    void fillUserList() override;
    void runSet() override { (void)cmdSet_Click(); }
    UpDown *spinner(SpinnerId id) const;
    QLabel *valueLabel(SpinnerId id) const;

    void buildControls();
    void connectHandlers();
    void centreOnScreen();
    void commitEditedText();
    void refuseUnstorableText(int index);
    int textBoxIndex(const QObject *object) const;

    AppState &m_state;
    std::function<QDateTime()> m_now;
    std::unique_ptr<StampPickers> m_pickers;
    bool m_isLoading = false;
    bool m_loaded = false;
    bool m_lastSetSucceeded = false;
    int m_editingItem = -1;            // the text box that has the focus, -1 for none
    std::array<bool, 4> m_typedInto{}; // typed into since the box last gave its text to the profile
    int m_selectOnRelease = -1; // a text box focused by a click selects all when the click ends

    QImage m_picBase;
    QImage m_picTemp;

    QComboBox *m_cmbUserName = nullptr;
    PicBox *m_PicBase = nullptr;
    PicBox *m_PicTemp = nullptr;
    QLabel *m_LBLRad = nullptr;
    UpDown *m_RadUpDown = nullptr;
    QLabel *m_LBLWt = nullptr;
    UpDown *m_WtUpDown = nullptr;
    std::array<QLabel *, 2> m_LBLArea{};
    std::array<UpDown *, 2> m_AreaUpdown{};
    std::array<QLineEdit *, 4> m_txtItem{};
    std::array<QPushButton *, 4> m_cmdFont{};
    std::array<QLabel *, 8> m_LBLSet{};
    std::array<UpDown *, 8> m_ScUpDown{};
    QPushButton *m_cmdSet = nullptr;
    QPushButton *m_cmdColor = nullptr;
    QPushButton *m_cmdOption = nullptr;
    QPushButton *m_cmdAbout = nullptr;
    QPushButton *m_cmdEnd = nullptr;
};

} // namespace pellimo
