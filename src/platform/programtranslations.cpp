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
        for (const QString &where : {folder + QStringLiteral("/translations"),
                                     folder + QStringLiteral("/../share/pellimo/translations")})
            if (translator.load(QLocale::system(), QStringLiteral("pellimo"), QStringLiteral("_"),
                                where))
                return true;
        return false;
    }();
    Q_UNUSED(loaded);
    return translator;
}

bool installProgramTranslations(QCoreApplication &app)
{
    Q_UNUSED(app);
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
    installProgramTranslations(*m_app);
}

TranslatedTexts::~TranslatedTexts() = default;

} // namespace pellimo
