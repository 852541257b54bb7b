// SPDX-License-Identifier: MIT
#pragma once

#include <QLocale>

class QCoreApplication;
class QTranslator;

namespace pellimo {

// Loads Qt's own translations (qtbase_<language>.qm from Qt's translations folder, Debian package
// qt6-translations-l10n) for `locale` and installs them, so that the font and colour pickers and
// the standard buttons speak the user's language as the window does. The translator belongs to
// `app`; nothing is installed, and nullptr returned, when Qt has no translation for the language.
QTranslator *installQtTranslations(QCoreApplication &app,
                                   const QLocale &locale = QLocale::system());

} // namespace pellimo
