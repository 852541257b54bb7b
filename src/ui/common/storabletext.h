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

// A notice under the box that leaves the focus in it (a tooltip, not a dialog), so that the keys
// typed next still go into the box. It goes when the user moves on or after a while.
void showNoticeAt(QLineEdit *box, const QString &text);

} // namespace pellimo
