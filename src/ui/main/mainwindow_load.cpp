// SPDX-License-Identifier: MIT
// The main window's load sequence: the filling of its controls from the current profile and the
// drawing. The steps with their warnings are those `pellimo nogui` takes (session/stampsteps.h).

#include "mainwindow.h"
#include "picbox.h"
#include "session/stampsteps.h"
#include "updown.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace pellimo {

void MainWindow::load()
{
    if (m_loaded)
        return; // the window is loaded once
    m_loaded = true;
    m_isLoading = true;
    fillUserList();
    (void)putDateLine(m_state, m_now()); // today's date replaces what the file held
    fillControlsFromProfile();
    m_isLoading = false;
    drawStamp();
}

void MainWindow::fillUserList()
{
    // Entry k belongs to user k + 1. Selecting from code raises no user switch.
    const QSignalBlocker block(m_userList);
    m_userList->clear();
    for (const QString &name : m_state.settings.userNames)
        m_userList->addItem(name);
    m_userList->setCurrentIndex(m_state.currentUser - 1);
}

void MainWindow::fillControlsFromProfile()
{
    // In the window's order; the first value a spinner cannot show stops the filling, the
    // controls not reached keep what they showed, and the warning names the file.
    const std::optional<ProfileField> refused = firstFieldOutOfRange(m_state.profile);
    for (const ProfileField field : kFieldFillOrder) {
        const int line = int(field) - int(ProfileField::OffsetY0);
        if (line >= 0 && line < kItemCount) // a line's text goes in before its offsets
            putText(line, m_state.profile.items[size_t(line)].text);
        if (field == refused)
            break;
        putSpinner(field, fieldValue(m_state.profile, field));
    }
    (void)checkProfileRanges(m_state);
}

void MainWindow::putSpinner(ProfileField field, int16_t value)
{
    // The spinner's change handler runs inside the move.
    const SpinnerControls &controls = spinner(field);
    (void)controls.spinner->setValue(value); // within its range: checked above
    controls.label->setText(QString::number(value));
}

void MainWindow::putText(int line, const QString &text)
{
    m_lineBoxes[size_t(line)]->setText(text);
    m_typedInto[size_t(line)] = false;
}

bool MainWindow::drawStamp()
{
    m_lastDrawSucceeded = drawCurrentStamp(m_state, m_stamp);
    m_stampView->update();
    Q_EMIT stampDrawn();
    return m_lastDrawSucceeded;
}

} // namespace pellimo
