#pragma once

#include "startup/appsettings.h"

#include <QDateTime>
#include <QDialog>

#include <functional>

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
};

} // namespace pellimo
