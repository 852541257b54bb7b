// SPDX-License-Identifier: MIT
// The main window's commands: Set, Options, About and Exit.

#include "mainwindow.h"
#include "model/warning.h"
#include "picbox.h"
#include "platform/wlcopy.h"
#include "session/setcommand.h"
#include "session/stampsteps.h"
#include "storage/settingsfile.h"
#include "ui/common/windownote.h"
#include "ui/dialogs/aboutdialog.h"
#include "ui/dialogs/optionsdialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <cstdio>

namespace pellimo {

namespace {

// How long the note after Set stays: long enough to read, gone before the next stamp.
constexpr int kSetNoteMs = 3000;

} // namespace

void MainWindow::commitEditedText()
{
    // A click on Set takes the focus first, which commits the text being edited. When Set runs
    // any other way (Enter, the load sequence, a caller), the focus is moved here for the same
    // effect; while the window is not active no focus event comes, and the text is committed here.
    const bool tracked = m_editingItem >= 0;
    const int index = tracked ? m_editingItem : textBoxIndex(focusWidget());
    if (index >= 0) {
        m_setButton->setFocus(Qt::OtherFocusReason);
        if (!tracked || m_editingItem == index) {
            m_editingItem = -1;
            onItemFocusLost(index);
        }
    }
    // Focus can move between the boxes without focus events while the window is not active
    // (Tab with no window manager); what was typed is what is shown, so it is what gets saved.
    for (int i = 0; i < kItemCount; ++i) {
        if (m_typedInto[i])
            onItemFocusLost(i);
    }
}

void MainWindow::onSetClicked()
{
    commitEditedText();
    m_lastSetSucceeded = false;
    if (!m_lastDrawSucceeded) {
        // What PicBase shows is not the stamp: putting it on the clipboard and saving would
        // report a success that is none.
        showWarning(failedDrawingSetText());
        return;
    }
    const SaveStatus status = runSetCommand(m_state, m_stamp, m_cutOut);
    m_cutOutView->update();
    if (!status) {
        showWarning(status.error);
        return;
    }
    m_lastSetSucceeded = true;
    if (isVisible() && !m_state.settings.autoClose)
        WindowNote::showFor(
            m_setButton,
            QCoreApplication::translate("pellimo", "The stamp is on the clipboard."),
            kSetNoteMs);
    // On Wayland nothing of this process serves the stamp once the window has closed.
    QString why;
    if (!keepOnWaylandClipboard(m_cutOut, &why))
        std::fprintf(stderr,
                     "Pellimo: the stamp stays on the clipboard only while the window is "
                     "open: %s.\n",
                     why.toLocal8Bit().constData());
    if (m_state.settings.autoClose)
        close();
}

void MainWindow::onOptionsClicked()
{
    {
        OptionsDialog dialog(m_state.settings, settingsFilePath(m_state.dataFolder), m_now, this);
        dialog.exec();
    }
    // However the dialog was closed: names, the loaded user's entry, the date line.
    {
        // Reselecting the loaded user's entry must not reload its file (that would drop edits).
        const QSignalBlocker block(m_userList);
        for (int n = 0; n < kUserCount; ++n) {
            const QString &name = m_state.settings.userNames[n];
            if (n < m_userList->count())
                m_userList->setItemText(n, name);
            else
                m_userList->addItem(name);
        }
        m_userList->setCurrentIndex(m_state.currentUser - 1);
    }
    (void)putDateLine(m_state, m_now());
    m_lineBoxes[1]->setText(m_state.profile.items[1].text);
    m_typedInto[1] = false;
    drawStamp();
}

void MainWindow::onAboutClicked()
{
    AboutDialog about(this);
    about.exec();
}

void MainWindow::onExitClicked()
{
    close(); // nothing is saved
}

} // namespace pellimo
