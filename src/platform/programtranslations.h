// SPDX-License-Identifier: MIT
#pragma once

// Pellimo's own messages in the user's language. The texts are written in English in the code
// (context "pellimo" for those outside a window class) and translated by pellimo_<lang>.qm, made
// from translations/pellimo_<lang>.ts at build time and looked for beside the program
// (translations/: a portable folder; the build's src/translations) and in
// ../share/pellimo/translations (the package). A language without a file keeps the English texts.
// The captions the window's layout fixes are not translated.

#include <QString>
#include <memory>

class QCoreApplication;
class QTranslator;

namespace pellimo {

// The translator for the system locale, loaded once; usable before the application object exists
// (the help text, the no-display message). Empty when there is no translation for the language.
QTranslator &programTranslator();

// Installs programTranslator() into the application, so that tr() and
// QCoreApplication::translate() find it. False when there is nothing to install.
bool installProgramTranslations();

// For texts printed before the program makes its application object (the help text, the
// no-display message): a QCoreApplication with the program's translations for as long as this
// lives, when none exists yet.
class TranslatedTexts {
public:
    TranslatedTexts();
    ~TranslatedTexts();
    TranslatedTexts(const TranslatedTexts &) = delete;
    TranslatedTexts &operator=(const TranslatedTexts &) = delete;

private:
    std::unique_ptr<QCoreApplication> m_app;
};

} // namespace pellimo
