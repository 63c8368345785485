#include "player/OpenDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
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
            if (!patterns.contains(pattern.trimmed(), Qt::CaseInsensitive)) {
                patterns.append(pattern.trimmed());
            }
        }
        result.append(QStringLiteral("%1 (%2)").arg(description.trimmed(), patterns.join(QLatin1Char(' '))));
    }
    return result;
}

bool TOpenDialog::isPattern(const QString& text)
{
    return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?'));
}

namespace {

// A pattern typed into the name box names no file, so the dialog would refuse
// it; confirmed with Enter it becomes a filter of its own, chosen, and the box
// is cleared.
void filterByTypedPattern(QFileDialog& dialog, const QStringList& filters)
{
    auto* nameBox = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (nameBox == nullptr) {
        return;
    }
    QObject::connect(nameBox, &QLineEdit::returnPressed, &dialog, [&dialog, nameBox, filters] {
        const QString typed = nameBox->text().trimmed();
        if (!TOpenDialog::isPattern(typed)) {
            return;
        }
        dialog.setNameFilters(QStringList(typed) + filters);
        dialog.selectNameFilter(typed);
        nameBox->clear();
    });
}

} // namespace

bool TOpenDialog::Execute(QWidget* parent)
{
    QFileDialog dialog(parent, m_title, m_initialDir);
    dialog.setObjectName(QStringLiteral("OpenDialog1Window"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(m_options.testFlag(ofFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(m_options.testFlag(ofEnableSizing));
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    const QStringList filters = nameFilters(m_filter);
    dialog.setNameFilters(filters);
    if (!m_fileName.isEmpty()) {
        dialog.selectFile(m_fileName);
    }
    // Once the dialog is open its name box exists (unless the platform's own
    // dialog is shown, which handles patterns itself).
    QMetaObject::invokeMethod(
        &dialog, [&dialog, filters] { filterByTypedPattern(dialog, filters); }, Qt::QueuedConnection);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    m_fileName = dialog.selectedFiles().constFirst();
    return true;
}

} // namespace harmonet
