// The main window's load sequence and the filling of its controls from the current profile; the
// steps themselves are shared with the hidden run (loadsequence.h, profilecontrols.h).

#include "controlnames.h"
#include "frmmain.h"
#include "updown.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace pellimo {

void frmMain::Form_Load()
{
    if (m_loaded)
        return; // the window is loaded once
    m_loaded = true;
    runLoadSequence(m_state, m_now, *this);
}

void frmMain::fillUserList()
{
    // Entry k belongs to user k + 1. Selecting from code raises no user switch.
    const QSignalBlocker block(m_cmbUserName);
    m_cmbUserName->clear();
    for (const QString &name : m_state.settings.userNames)
        m_cmbUserName->addItem(name);
    m_cmbUserName->setCurrentIndex(m_state.currentUser - 1);
}

QString frmMain::profileToControlsWarningText(int16_t user)
{
    return pellimo::profileToControlsWarningText(user);
}

void frmMain::ProfileToControls()
{
    (void)profileToControls(m_state.profile, m_state.currentUser, *this);
}

UpDown *frmMain::spinner(SpinnerId id) const
{
    const int n = int(id);
    if (id == SpinnerId::RadUpDown)
        return m_RadUpDown;
    if (id == SpinnerId::WtUpDown)
        return m_WtUpDown;
    if (n < int(SpinnerId::ScUpDown0))
        return m_AreaUpdown[size_t(n - int(SpinnerId::AreaUpdown0))];
    return m_ScUpDown[size_t(n - int(SpinnerId::ScUpDown0))];
}

QLabel *frmMain::valueLabel(SpinnerId id) const
{
    const int n = int(id);
    if (id == SpinnerId::RadUpDown)
        return m_LBLRad;
    if (id == SpinnerId::WtUpDown)
        return m_LBLWt;
    if (n < int(SpinnerId::ScUpDown0))
        return m_LBLArea[size_t(n - int(SpinnerId::AreaUpdown0))];
    return m_LBLSet[size_t(n - int(SpinnerId::ScUpDown0))];
}

bool frmMain::putSpinner(SpinnerId id, int16_t field)
{
    // The spinner refuses a position outside its range; its change handler runs inside the move.
    if (!spinner(id)->setPosition(-int(field)))
        return false;
    valueLabel(id)->setText(QString::number(field));
    return true;
}

void frmMain::putText(int line, const QString &text)
{
    m_txtItem[size_t(line)]->setText(text);
    m_typedInto[size_t(line)] = false;
}

} // namespace pellimo
