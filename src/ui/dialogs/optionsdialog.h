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

    QGroupBox *m_userFrame = nullptr;
    QLabel *m_startUpCaption = nullptr;
    std::array<QLabel *, kUserCount> m_userCaptions{};
    std::array<QLineEdit *, kUserCount> m_userNameBoxes{};
    std::array<QRadioButton *, kUserCount> m_startUpButtons{};
    QButtonGroup *m_startUpGroup = nullptr;

    QGroupBox *m_dateFrame = nullptr;
    QLabel *m_patternCaption = nullptr;
    QLineEdit *m_patternBox = nullptr;
    QLabel *m_sampleCaption = nullptr;
    QLabel *m_sample = nullptr;

    QGroupBox *m_behaviourFrame = nullptr;
    QCheckBox *m_autoCloseBox = nullptr;

    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
};

} // namespace pellimo
