// SPDX-License-Identifier: MIT
#pragma once

// The program's Japanese texts, as a user under a Japanese locale sees them: the translation the
// build made (translations/pellimo_ja.qm), installed into the test's application.

#include <QCoreApplication>
#include <QTranslator>

namespace pellimo::test {

inline bool installJapaneseTexts()
{
    static QTranslator translator;
    return translator.load(QStringLiteral(PELLIMO_TRANSLATIONS_DIR "/pellimo_ja.qm")) &&
           QCoreApplication::installTranslator(&translator);
}

} // namespace pellimo::test
