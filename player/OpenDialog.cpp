#include "player/OpenDialog.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace harmonet {

TOpenDialog::TOpenDialog(QObject* owner)
    : QObject(owner)
{
}

QStringList TOpenDialog::nameFilters(const QString& filter)
{
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        description.remove(trailingPatterns);
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            for (const QString& variant : {pattern.trimmed().toLower(), pattern.trimmed().toUpper()}) {
                if (!patterns.contains(variant)) {
                    patterns.append(variant);
                }
            }
        }
        result.append(QStringLiteral("%1 (%2)").arg(description.trimmed(), patterns.join(QLatin1Char(' '))));
    }
    return result;
}

bool TOpenDialog::Execute(QWidget* parent)
{
    QFileDialog dialog(parent, m_title, m_initialDir);
    dialog.setObjectName(QStringLiteral("OpenDialog1Window"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(m_options.testFlag(ofFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(m_options.testFlag(ofEnableSizing));
    dialog.setNameFilters(nameFilters(m_filter));
    if (!m_fileName.isEmpty()) {
        dialog.selectFile(m_fileName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    m_fileName = dialog.selectedFiles().constFirst();
    return true;
}

} // namespace harmonet
