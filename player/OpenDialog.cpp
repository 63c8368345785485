#include "player/OpenDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStandardPaths>

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

QString TOpenDialog::startFolder(const QStringList& preferred)
{
    for (const QString& folder : preferred) {
        if (!folder.trimmed().isEmpty() && QFileInfo(folder).isDir()) {
            return folder;
        }
    }
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (!music.isEmpty() && QFileInfo(music).isDir()) {
        return music;
    }
    return QDir::homePath();
}

bool TOpenDialog::isPattern(const QString& text)
{
    return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?'));
}

namespace {

// The file dialog of the component. A pattern typed into its name box names
// no file, so the dialog would refuse it; confirmed with Enter or Open it
// becomes a filter of its own, chosen, and the box is cleared.
class PatternFilteringDialog : public QFileDialog {
public:
    PatternFilteringDialog(QWidget* parent, const QString& title, const QString& folder, const QStringList& filters)
        : QFileDialog(parent, title, folder)
        , m_filters(filters)
    {
        setNameFilters(filters);
    }

    void accept() override
    {
        auto* nameBox = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        const QString typed = nameBox ? nameBox->text().trimmed() : QString();
        if (!TOpenDialog::isPattern(typed)) {
            QFileDialog::accept();
            return;
        }
        setNameFilters(QStringList(typed) + m_filters);
        selectNameFilter(typed);
        nameBox->clear();
    }

private:
    QStringList m_filters;
};

} // namespace

bool TOpenDialog::Execute(QWidget* parent)
{
    PatternFilteringDialog dialog(parent, m_title, m_initialDir, nameFilters(m_filter));
    dialog.setObjectName(QStringLiteral("OpenDialog1Window"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(m_options.testFlag(ofFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(m_options.testFlag(ofEnableSizing));
    // Patterns match names in any letter case.
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
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
