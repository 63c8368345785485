#include "translations/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace harmonet {

QStringList shippedLanguages()
{
    return {QStringLiteral("de"), QStringLiteral("fr")};
}

QString installTranslations(QCoreApplication& app, const QLocale& locale)
{
    const QStringList shipped = shippedLanguages();
    for (const QString& wanted : locale.uiLanguages()) {
        const QString language = QLocale(wanted).name().section(QLatin1Char('_'), 0, 0);
        if (language == QLatin1String("en")) {
            break;
        }
        if (!shipped.contains(language)) {
            continue;
        }
        auto* own = new QTranslator(&app);
        if (!own->load(QStringLiteral("harmonet_") + language, QStringLiteral(":/i18n"))) {
            delete own;
            break;
        }
        app.installTranslator(own);
        // Qt's own texts; without them its dialogs stay English.
        auto* qt = new QTranslator(&app);
        if (qt->load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            app.installTranslator(qt);
        } else {
            delete qt;
        }
        return language;
    }
    return QStringLiteral("en");
}

} // namespace harmonet
