#pragma once

#include <QLocale>
#include <QString>

class QCoreApplication;

namespace harmonet {

// The languages the interface is shipped in besides English, its own.
QStringList shippedLanguages();

// Installs the interface's translation and that of Qt's own dialogs (file,
// font and colour choosers, message boxes) for the first of the locale's
// languages that the program is shipped in; nothing for English. Returns
// the language taken ("de", "fr" or "en"). The translators belong to app.
QString installTranslations(QCoreApplication& app, const QLocale& locale = QLocale());

} // namespace harmonet
