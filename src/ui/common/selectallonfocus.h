// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class QLineEdit;

namespace pellimo {

// Selects a text box's whole text when the focus enters it, so that typing replaces it: at once
// when the focus comes by keyboard (Tab, a shortcut) or from code; after the click when it comes
// by mouse, since the click places the caret first (a selection the click dragged is kept).
// Focus that comes back with the window or from a popup (a context menu) is no new entry into
// the box, except for the first box to take the focus after restart().
class SelectAllOnFocus : public QObject {
    Q_OBJECT
public:
    explicit SelectAllOnFocus(QObject *parent);

    void watch(QLineEdit *box);

    // The next box to take the focus, for whatever reason, is entered (a dialog just shown).
    void restart() { m_hadFocus = false; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_hadFocus = true;
    QObject *m_selectOnRelease = nullptr;
};

} // namespace pellimo
