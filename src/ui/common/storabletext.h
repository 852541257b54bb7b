// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QLineEdit;

namespace pellimo {

// What the text boxes do, as text is typed or pasted, with characters the data files (CP932)
// cannot hold.

// Look-alikes that CP932 holds (〜 → ～, − → －, ...) take their place silently; the cursor stays.
void replaceLookAlikesIn(QLineEdit *box);

// Takes every occurrence of `characters` (distinct characters, a surrogate pair counting as one)
// out of the box, keeping the cursor after the text it followed.
void takeCharactersOut(QLineEdit *box, const QString &characters);

// What the notice says when `characters` (distinct, in order of first appearance) were taken out.
QString unstorableTextNotice(const QString &characters);

// A notice beside the box, inside its window (a WindowNote, not a dialog nor a window of its
// own): the focus and the keys typed next stay in the box, a click on any control reaches it,
// and the notice covers no control. It goes after a few seconds.
void showNoticeAt(QLineEdit *box, const QString &text);

} // namespace pellimo
