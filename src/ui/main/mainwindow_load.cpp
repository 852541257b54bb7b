// SPDX-License-Identifier: MIT
// The main window's load sequence and the filling of its controls from the current profile; the
// steps themselves are shared with the hidden run (loadsequence.h, profilecontrols.h).

#include "mainwindow.h"
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
    runLoadSequence(m_state, m_now, *this);
}

void MainWindow::fillUserList()
{
    // Entry k belongs to user k + 1. Selecting from code raises no user switch.
    const QSignalBlocker block(m_cmbUserName);
    m_cmbUserName->clear();
    for (const QString &name : m_state.settings.userNames)
        m_cmbUserName->addItem(name);
    m_cmbUserName->setCurrentIndex(m_state.currentUser - 1);
}

void MainWindow::fillControlsFromProfile()
{
    (void)profileToControls(m_state.profile, m_state.currentUser, *this);
}

bool MainWindow::putSpinner(SpinnerId id, int16_t field)
{
    // The spinner refuses a value outside its range; its change handler runs inside the move.
    const SpinnerControls &controls = spinner(id);
    if (!controls.spinner->setValue(field))
        return false;
    controls.label->setText(QString::number(field));
    return true;
}

void MainWindow::putText(int line, const QString &text)
{
    m_txtItem[size_t(line)]->setText(text);
    m_typedInto[size_t(line)] = false;
}

} // namespace pellimo
