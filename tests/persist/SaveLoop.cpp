// Saves settings many times over, as one of several programs sharing a
// settings file: arguments are the writer's number and the number of saves.
// Exits with 0 when every save reached the file.
#include "persist/SettingsStore.h"

#include <QCoreApplication>
#include <QStringList>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3)
        return 1;
    const QString writer = arguments.at(1);
    const int saves = arguments.at(2).toInt();
    for (int i = 0; i < saves; ++i) {
        harmonet::TSettingsStore store(harmonet::CURRENT_USER);
        if (!store.openKey(QStringLiteral("Software\\Harmonet\\Writer") + writer, true))
            return 2;
        store.writeString(QStringLiteral("Count"), QString::number(i));
        store.closeKey();
        if (!store.openKey(QStringLiteral("Software\\Harmonet"), true))
            return 2;
        store.writeString(QStringLiteral("Last"), writer + QLatin1Char('-') + QString::number(i));
        if (!store.flush())
            return 3;
    }
    return 0;
}
