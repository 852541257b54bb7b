// SPDX-License-Identifier: MIT
#include "programtranslations.h"

#include "programfolder.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace pellimo {

QTranslator &programTranslator()
{
    static QTranslator translator;
    static const bool loaded = [&] {
        const QString folder = programFolder();
        if (folder.isEmpty())
            return false;
        // Beside the program (a portable folder, the build's src/), one folder up (the build's
        // src/stamptool/), or the package's share folder.
        for (const QString &where :
             {folder + QStringLiteral("/translations"), folder + QStringLiteral("/../translations"),
              folder + QStringLiteral("/../share/pellimo/translations")})
            if (translator.load(QLocale::system(), QStringLiteral("pellimo"), QStringLiteral("_"),
                                where))
                return true;
        return false;
    }();
    Q_UNUSED(loaded);
    return translator;
}

bool installProgramTranslations()
{
    QTranslator &translator = programTranslator();
    return !translator.isEmpty() && QCoreApplication::installTranslator(&translator);
}

TranslatedTexts::TranslatedTexts()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "pellimo";
    static char *argv[] = {name, nullptr};
    m_app = std::make_unique<QCoreApplication>(argc, argv);
    installProgramTranslations();
}

TranslatedTexts::~TranslatedTexts() = default;

} // namespace pellimo
