#pragma once

// Public face of the main window, shared by start-up (src/app) and the tests. The window's
// implementation adds its controls and handlers below the marked line.

#include "startup/appstate.h"
#include "startup/savestatus.h"

#include <QDateTime>
#include <QWidget>

#include <functional>

namespace pellimo {

class frmMain : public QWidget {
    Q_OBJECT
public:
    // The window reads and writes `state` directly; `now` is its only clock (tests pass a fixed one).
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
};

} // namespace pellimo
