#pragma once

#include "model/appsettings.h"

#include <QDateTime>
#include <QDialog>
#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace pellimo {

// The options dialog: user names, start-up user, date pattern with a live sample, auto-close.
// Loaded from `settings` each time it is shown; OK copies the controls back into `settings` and
// writes `settingsPath`; Cancel, Escape and the close box change nothing.
class frmOption : public QDialog {
    Q_OBJECT
public:
    frmOption(AppSettings &settings, QString settingsPath,
              std::function<QDateTime()> now = &QDateTime::currentDateTime,
              QWidget *owner = nullptr);
    ~frmOption() override;

    // Fills the controls from the settings record; runs each time the dialog is shown.
    void Form_Load();

    // The live sample: the pattern box's text applied to the current moment, or nothing for an
    // empty pattern.
    void txtDformat_Change();

    // Focus entering a name box or the pattern box selects its whole text.
    void txtUser_GotFocus(int index);
    void txtDformat_GotFocus();

    // Copies the controls into the settings record and writes the settings file. When the file
    // cannot be written the user is told, the record stays as it was and the dialog stays open
    // with the edits, so that OK can be tried again or the edits dropped with Cancel.
    void cmdOK_Click();

    // Closes the dialog; nothing changes.
    void cmdCancel_Click();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUserFrame();
    void buildDateFrame();
    void buildBehaviourFrame();
    void buildButtons();
    void arrangeTabOrder();
    AppSettings settingsFromControls() const;

    AppSettings &m_settings;
    QString m_settingsPath;
    std::function<QDateTime()> m_now;
    bool m_hadFocus = false; // some box has had the focus since the dialog was last shown

    QGroupBox *fraUser = nullptr;
    QLabel *LBLStUp = nullptr;
    std::array<QLabel *, 5> LBLUser{};
    std::array<QLineEdit *, 5> txtUser{};
    std::array<QRadioButton *, 5> optStUp{};
    QButtonGroup *grpStUp = nullptr;

    QGroupBox *fraDformat = nullptr;
    QLabel *LBLDformat = nullptr;
    QLineEdit *txtDformat = nullptr;
    QLabel *LBLSample = nullptr;
    QLabel *LBLDFSample = nullptr;

    QGroupBox *fraAction = nullptr;
    QCheckBox *chkAutoClose = nullptr;

    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
};

} // namespace pellimo
