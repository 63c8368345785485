#include "windows/SingResults.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QHBoxLayout>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

namespace harmonet {

QString keyName(int key)
{
    static const char* const names[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    return QStringLiteral("%1%2").arg(QLatin1String(names[((key % 12) + 12) % 12])).arg(key / 12 - 1);
}

QString signedText(std::optional<double> value)
{
    if (!value) {
        return QString();
    }
    const long rounded = std::lround(*value);
    return rounded > 0 ? QStringLiteral("+%1").arg(rounded)
                       : rounded < 0 ? QStringLiteral("\u2212%1").arg(-rounded) : QStringLiteral("0");
}

QString verdictText(NoteVerdict verdict)
{
    switch (verdict) {
    case NoteVerdict::Good:
        return TfrmSingResults::tr("in tune");
    case NoteVerdict::Flat:
        return TfrmSingResults::tr("flat");
    case NoteVerdict::Sharp:
        return TfrmSingResults::tr("sharp");
    case NoteVerdict::Late:
        return TfrmSingResults::tr("late");
    case NoteVerdict::Early:
        return TfrmSingResults::tr("early");
    case NoteVerdict::Missed:
        break;
    }
    return TfrmSingResults::tr("not sung");
}

TfrmSingResults::TfrmSingResults(QWidget* owner)
    : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("frmSingResults"));
    setWindowTitle(tr("Sing Along Results"));
    auto* layout = new QVBoxLayout(this);
    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setWordWrap(true);
    layout->addWidget(lblSummary);

    tblNotes = new QTableWidget(0, 5, this);
    tblNotes->setObjectName(QStringLiteral("tblNotes"));
    tblNotes->setHorizontalHeaderLabels({tr("Bar"), tr("Note"), tr("Cents"), tr("Onset (ms)"), tr("Verdict")});
    tblNotes->verticalHeader()->setVisible(false);
    tblNotes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblNotes->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblNotes->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(tblNotes, 1);

    lblWorstBars = new QLabel(this);
    lblWorstBars->setObjectName(QStringLiteral("lblWorstBars"));
    btnLoopWorstBar = new QPushButton(this);
    btnLoopWorstBar->setObjectName(QStringLiteral("btnLoopWorstBar"));
    btnLoopWorstBar->setVisible(false);
    connect(btnLoopWorstBar, &QPushButton::clicked, this, [this] {
        if (m_worstBar) {
            emit loopBarRequested(*m_worstBar);
        }
    });
    auto* worstRow = new QHBoxLayout;
    worstRow->addWidget(lblWorstBars, 1);
    worstRow->addWidget(btnLoopWorstBar);
    layout->addLayout(worstRow);

    auto* passesCaption = new QLabel(tr("Passes sung on this song:"), this);
    layout->addWidget(passesCaption);
    lstPasses = new QTreeWidget(this);
    lstPasses->setObjectName(QStringLiteral("lstPasses"));
    lstPasses->setRootIsDecorated(false);
    lstPasses->setHeaderLabels({tr("Date"), tr("Bars"), tr("Tempo"), tr("In tune"), tr("Cents off"), tr("Late")});
    layout->addWidget(lstPasses);
    resize(520, 560);
}

void TfrmSingResults::showPass(const std::vector<NoteResult>& results, const TakeSummary& summary,
                               const QList<PassRecord>& passes)
{
    lblSummary->setText(tr("%1 of %2 notes within ±50 cents; %3 cents off on average; %4 late by more than "
                           "100 ms; %5 not sung.")
                            .arg(summary.withinTolerance)
                            .arg(summary.notes)
                            .arg(QLocale().toString(summary.meanAbsCents, 'f', 0))
                            .arg(summary.late)
                            .arg(summary.missed));
    tblNotes->setRowCount(int(results.size()));
    for (int row = 0; row < int(results.size()); ++row) {
        const NoteResult& result = results[std::size_t(row)];
        QString note = keyName(result.note.key);
        if (result.cents && result.octaves != 0) {
            note += QLatin1Char(' ') + tr("(sung %n octave(s) %1)", nullptr, std::abs(result.octaves))
                                           .arg(result.octaves < 0 ? tr("lower") : tr("higher"));
        }
        const QStringList cells{QStringLiteral("%1.%2").arg(result.note.bar).arg(int(std::floor(result.note.beat))),
                                note, signedText(result.cents), signedText(result.onsetMs),
                                verdictText(result.verdict)};
        for (int column = 0; column < cells.size(); ++column) {
            tblNotes->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
    }
    QStringList worst;
    for (const BarScore& bar : summary.worstBars) {
        worst.append(QString::number(bar.bar));
    }
    lblWorstBars->setText(worst.isEmpty() ? tr("Every bar went well.") : tr("Worst bars: %1").arg(worst.join(QStringLiteral(", "))));
    m_worstBar = summary.worstBars.empty() ? std::nullopt : std::optional<qint64>(summary.worstBars.front().bar);
    btnLoopWorstBar->setText(m_worstBar ? tr("&Loop Bar %1").arg(*m_worstBar) : QString());
    btnLoopWorstBar->setVisible(m_worstBar.has_value());

    lstPasses->clear();
    for (auto pass = passes.crbegin(); pass != passes.crend(); ++pass) {
        lstPasses->addTopLevelItem(new QTreeWidgetItem(QStringList{
            QLocale().toString(pass->when.toLocalTime(), QLocale::ShortFormat),
            QStringLiteral("%1\u2013%2").arg(pass->fromBar).arg(pass->toBar), QString::number(pass->bpm),
            QStringLiteral("%1/%2").arg(pass->withinTolerance).arg(pass->notes),
            QLocale().toString(pass->meanAbsCents, 'f', 0), QString::number(pass->late)}));
    }
}

void TfrmSingResults::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace harmonet
