// SPDX-License-Identifier: MIT
#include "selectallonfocus.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>

namespace pellimo {

SelectAllOnFocus::SelectAllOnFocus(QObject *parent) : QObject(parent) {}

void SelectAllOnFocus::watch(QLineEdit *box)
{
    box->installEventFilter(this);
}

bool SelectAllOnFocus::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QLineEdit *>(watched);
    if (box == nullptr)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn: {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        const bool entered = reason != Qt::PopupFocusReason &&
                             (reason != Qt::ActiveWindowFocusReason || !m_hadFocus);
        m_hadFocus = true;
        m_selectOnRelease = nullptr;
        if (entered && reason == Qt::MouseFocusReason)
            m_selectOnRelease = box;
        else if (entered)
            box->selectAll();
        break;
    }
    case QEvent::FocusOut:
        m_selectOnRelease = nullptr;
        break;
    case QEvent::MouseButtonRelease:
        if (m_selectOnRelease == box) {
            m_selectOnRelease = nullptr;
            QCoreApplication::sendEvent(box, event); // the box finishes the click first
            if (!box->hasSelectedText())             // unless the user dragged a selection
                box->selectAll();
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}

} // namespace pellimo
