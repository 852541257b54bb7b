// SPDX-License-Identifier: MIT
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

class SelectAllOnFocus;

// The options dialog: user names, start-up user, date pattern with a live sample, auto-close.
// Loaded from `settings` each time it is shown; OK copies the controls back into `settings` and
// writes `settingsPath`; Cancel, Escape and the close box change nothing.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(AppSettings &settings, QString settingsPath,
                  std::function<QDateTime()> now = &QDateTime::currentDateTime,
                  QWidget *owner = nullptr);
    ~OptionsDialog() override;

protected:
    void showEvent(QShowEvent *event) override;

private Q_SLOTS:
    // The live sample: the pattern box's text applied to the current moment, or nothing for an
    // empty pattern.
    void onPatternChanged();

    // Copies the controls into the settings record and writes the settings file. When the file
    // cannot be written the user is told, the record stays as it was and the dialog stays open
    // with the edits, so that OK can be tried again or the edits dropped with Cancel.
    void onOkClicked();

    // Closes the dialog; nothing changes.
    void onCancelClicked();

private:
    // Fills the controls from the settings record; runs each time the dialog is shown.
    void load();
    void buildUserFrame();
    void buildDateFrame();
    void buildBehaviourFrame();
    void buildButtons();
    void arrangeTabOrder();
    AppSettings settingsFromControls() const;

    AppSettings &m_settings;
    QString m_settingsPath;
    std::function<QDateTime()> m_now;
    SelectAllOnFocus *m_selectAllOnFocus = nullptr; // typing into a box entered replaces its text

    QGroupBox *m_fraUser = nullptr;
    QLabel *m_LBLStUp = nullptr;
    std::array<QLabel *, 5> m_LBLUser{};
    std::array<QLineEdit *, 5> m_txtUser{};
    std::array<QRadioButton *, 5> m_optStUp{};
    QButtonGroup *m_grpStUp = nullptr;

    QGroupBox *m_fraDformat = nullptr;
    QLabel *m_LBLDformat = nullptr;
    QLineEdit *m_txtDformat = nullptr;
    QLabel *m_LBLSample = nullptr;
    QLabel *m_LBLDFSample = nullptr;

    QGroupBox *m_fraAction = nullptr;
    QCheckBox *m_chkAutoClose = nullptr;

    QPushButton *m_cmdOK = nullptr;
    QPushButton *m_cmdCancel = nullptr;
};

} // namespace pellimo
