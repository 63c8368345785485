#include "windows/ExportPractice.h"

#include "practice/Transposition.h"
#include "sequencer/BarMap.h"
#include "sequencer/MidiFile.h"
#include "session/Song.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>

namespace harmonet {

namespace {

struct LevelChoice {
    int db;
    const char* caption;
};

constexpr LevelChoice LevelChoices[] = {
    {-6, "\u22126 dB"},
    {-12, "\u221212 dB"},
    {-18, "\u221218 dB"},
    {PracticeChoice::SilentDb, "Silent"},
};

template <typename T>
T* named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

TdlgExportPractice::TdlgExportPractice(const ExportRequest& request, SettingsNow settingsNow, QWidget* parent)
    : QDialog(parent), m_request(request), m_settingsNow(std::move(settingsNow))
{
    setObjectName(QStringLiteral("dlgExportPractice"));
    setWindowTitle(tr("Harmonet - Export Practice Tracks"));
    setAttribute(Qt::WA_DeleteOnClose);
    edFolder = named(new QLineEdit(QDir::toNativeSeparators(request.folder), this), "edFolder");
    btnBrowse = named(new QPushButton(tr("&Browse..."), this), "btnBrowse");
    cbFormat = named(new QComboBox(this), "cbFormat");
    auto* formats = static_cast<QStandardItemModel*>(cbFormat->model());
    for (AudioFormat format : AllAudioFormats) {
        const bool available = formatAvailable(format);
        cbFormat->addItem(available ? formatCaption(format)
                                    : tr("%1 (not available on this system)").arg(formatCaption(format)),
                          int(format));
        formats->item(cbFormat->count() - 1)->setEnabled(available);
    }
    const int preferred = cbFormat->findData(int(formatAvailable(AudioFormat::Mp3) ? AudioFormat::Mp3 : AudioFormat::Wav));
    cbFormat->setCurrentIndex(preferred);
    cbEachVoice = named(new QCheckBox(tr("One file per &voice, that voice emphasised"), this), "cbEachVoice");
    cbEachVoice->setChecked(request.perVoice);
    cbFullMix = named(new QCheckBox(tr("&Full mix"), this), "cbFullMix");
    cbFullMix->setChecked(request.fullMix);
    cbOthers = named(new QComboBox(this), "cbOthers");
    for (const LevelChoice& level : LevelChoices) {
        cbOthers->addItem(QString::fromUtf8(level.caption), level.db);
    }
    const int level = request.mix.othersSilent() ? PracticeChoice::SilentDb : request.mix.othersDb;
    cbOthers->setCurrentIndex(std::max(0, cbOthers->findData(level)));
    if (cbOthers->findData(level) < 0) {
        cbOthers->setCurrentIndex(cbOthers->findData(PracticeChoice::DefaultOthersDb));
    }
    cbPanned = named(new QCheckBox(tr("&Panned, my part on the"), this), "cbPanned");
    cbPanned->setChecked(request.mix.panned);
    cbSide = named(new QComboBox(this), "cbSide");
    cbSide->addItem(tr("Left"), int(PanSide::Left));
    cbSide->addItem(tr("Right"), int(PanSide::Right));
    cbSide->setCurrentIndex(request.mix.side == PanSide::Right ? 1 : 0);
    cbSide->setEnabled(cbPanned->isChecked());
    cbBars = named(new QCheckBox(tr("&Only bars"), this), "cbBars");
    edBarsFrom = named(new QSpinBox(this), "edBarsFrom");
    edBarsTo = named(new QSpinBox(this), "edBarsTo");
    edRepeat = named(new QSpinBox(this), "edRepeat");
    edRepeat->setRange(1, 100);
    edRepeat->setSuffix(tr(" times"));
    cbWithoutVoice = named(new QCheckBox(tr("Each voice's file &without that voice"), this), "cbWithoutVoice");
    cbWithoutVoice->setChecked(request.mix.withoutMyPart);
    sbTranspose = named(new QSpinBox(this), "sbTranspose");
    sbTranspose->setRange(TTransposition::Lowest, TTransposition::Highest);
    sbTranspose->setSuffix(tr(" semitones"));
    cbCountIn = named(new QComboBox(this), "cbCountIn");
    cbCountIn->addItem(tr("None"), 0);
    cbCountIn->addItem(tr("1 bar"), 1);
    cbCountIn->addItem(tr("2 bars"), 2);
    cbCountInEachPass = named(new QCheckBox(tr("Before e&ach pass"), this), "cbCountInEachPass");
    cbMetronome = named(new QCheckBox(tr("&Metronome"), this), "cbMetronome");
    lblTempo = named(new QLabel(this), "lblTempo");
    lblStatus = named(new QLabel(this), "lblStatus");
    lblStatus->setWordWrap(true);
    lblStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    btnExport = named(new QPushButton(tr("&Export"), this), "btnExport");
    btnExport->setDefault(true);
    btnCancel = named(new QPushButton(tr("Cancel"), this), "btnCancel");
    btnCancel->setEnabled(false);
    btnClose = named(new QPushButton(tr("Close"), this), "btnClose");

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(edFolder, 1);
    folderRow->addWidget(btnBrowse);
    auto* panRow = new QHBoxLayout;
    panRow->addWidget(cbPanned);
    panRow->addWidget(cbSide);
    panRow->addStretch(1);
    auto* barsRow = new QHBoxLayout;
    barsRow->addWidget(cbBars);
    barsRow->addWidget(edBarsFrom);
    barsRow->addWidget(new QLabel(tr("to"), this));
    barsRow->addWidget(edBarsTo);
    barsRow->addWidget(edRepeat);
    barsRow->addStretch(1);
    auto* form = new QFormLayout;
    // A label of a row that is a layout gets its buddy (and its key) here.
    auto* folderLabel = new QLabel(tr("F&older:"), this);
    folderLabel->setBuddy(edFolder);
    form->addRow(folderLabel, folderRow);
    form->addRow(tr("Fo&rmat:"), cbFormat);
    form->addRow(tr("Files:"), cbEachVoice);
    form->addRow(QString(), cbFullMix);
    form->addRow(tr("O&thers:"), cbOthers);
    form->addRow(QString(), panRow);
    form->addRow(tr("Bars:"), barsRow);
    form->addRow(QString(), cbWithoutVoice);
    form->addRow(tr("Trans&pose:"), sbTranspose);
    auto* countInRow = new QHBoxLayout;
    countInRow->addWidget(cbCountIn);
    countInRow->addWidget(cbCountInEachPass);
    countInRow->addStretch(1);
    auto* countInLabel = new QLabel(tr("Co&unt-in:"), this);
    countInLabel->setBuddy(cbCountIn);
    form->addRow(countInLabel, countInRow);
    form->addRow(QString(), cbMetronome);
    auto* files = new QWidget;
    m_fileRows = new QGridLayout(files);
    m_fileRows->setColumnStretch(1, 1);
    auto* scroll = named(new QScrollArea(this), "sbFiles");
    scroll->setWidget(files);
    scroll->setWidgetResizable(true);
    scroll->setMinimumHeight(190);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnExport);
    buttons->addWidget(btnCancel);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(lblTempo);
    layout->addWidget(scroll, 1);
    layout->addWidget(lblStatus);
    layout->addLayout(buttons);
    resize(480, 460);

    connect(btnBrowse, &QPushButton::clicked, this, &TdlgExportPractice::btnBrowseClick);
    connect(btnExport, &QPushButton::clicked, this, &TdlgExportPractice::btnExportClick);
    connect(btnCancel, &QPushButton::clicked, this, &TdlgExportPractice::btnCancelClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::close);
    connect(cbPanned, &QCheckBox::toggled, cbSide, &QWidget::setEnabled);
    for (QWidget* edit : barEdits()) {
        connect(cbBars, &QCheckBox::toggled, edit, &QWidget::setEnabled);
    }
    connect(edFolder, &QLineEdit::textChanged, this, &TdlgExportPractice::replan);
    connect(cbFormat, &QComboBox::currentIndexChanged, this, &TdlgExportPractice::replan);
    connect(cbEachVoice, &QCheckBox::toggled, this, &TdlgExportPractice::replan);
    connect(cbFullMix, &QCheckBox::toggled, this, &TdlgExportPractice::replan);
    takePlayerSettings();
}

void TdlgExportPractice::refreshPlayerSettings()
{
    if (m_settingsNow) {
        m_request.settings = m_settingsNow();
    }
    const int fileBpm = m_request.song ? m_request.song->file().Bpm() : 0;
    lblTempo->setText(tr("Tempo %1 bpm; mutes and instruments as set in the player.")
                          .arg(m_request.settings.bpm > 0 ? m_request.settings.bpm : fileBpm));
}

void TdlgExportPractice::takePlayerSettings()
{
    refreshPlayerSettings();
    showBars();
    sbTranspose->setValue(m_request.settings.transpose);
    cbCountIn->setCurrentIndex(std::max(0, cbCountIn->findData(m_request.settings.clicks.countInBars)));
    cbCountInEachPass->setChecked(m_request.settings.clicks.beforeEachPass);
    cbMetronome->setChecked(m_request.settings.clicks.metronome);
    replan();
}

void TdlgExportPractice::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!isRendering()) {
        takePlayerSettings();
    }
}

TdlgExportPractice::~TdlgExportPractice()
{
    stopRendering();
}

ExportRequest TdlgExportPractice::currentRequest() const
{
    ExportRequest request = m_request;
    request.folder = QDir::fromNativeSeparators(edFolder->text().trimmed());
    request.format = AudioFormat(cbFormat->currentData().toInt());
    request.perVoice = cbEachVoice->isChecked();
    request.fullMix = cbFullMix->isChecked();
    request.mix.othersDb = cbOthers->currentData().toInt();
    request.mix.panned = cbPanned->isChecked();
    request.mix.side = PanSide(cbSide->currentData().toInt());
    request.settings.loop.reset();
    if (cbBars->isChecked()) {
        request.settings.loop = BarLoop{std::min(edBarsFrom->value(), edBarsTo->value()),
                                        std::max(edBarsFrom->value(), edBarsTo->value()), edRepeat->value()};
    }
    request.mix.withoutMyPart = cbWithoutVoice->isChecked();
    request.settings.transpose = sbTranspose->value();
    request.settings.clicks.countInBars = cbCountIn->currentData().toInt();
    request.settings.clicks.beforeEachPass = cbCountInEachPass->isChecked();
    request.settings.clicks.metronome = cbMetronome->isChecked();
    return request;
}

QList<QWidget*> TdlgExportPractice::barEdits() const
{
    return {edBarsFrom, edBarsTo, edRepeat};
}

void TdlgExportPractice::showBars()
{
    const TBarMap bars = m_request.song ? TBarMap::ofSong(m_request.song->file(), m_request.settings.followTempoChanges,
                                                          m_request.settings.pickupBeats)
                                        : TBarMap();
    const int first = int(std::min<qint64>(bars.FirstBar(), std::numeric_limits<int>::max()));
    const int last = int(std::clamp<qint64>(bars.LastBar(), first, std::numeric_limits<int>::max()));
    const std::optional<BarLoop>& loop = m_request.settings.loop;
    for (QSpinBox* edit : {edBarsFrom, edBarsTo}) {
        edit->setRange(first, last);
    }
    edBarsFrom->setValue(loop ? int(loop->firstBar) : first);
    edBarsTo->setValue(loop ? int(loop->lastBar) : last);
    edRepeat->setValue(loop ? std::max(1, loop->passes) : 1);
    cbBars->setChecked(loop.has_value());
    cbBars->setEnabled(!bars.IsEmpty());
    for (QWidget* edit : barEdits()) {
        edit->setEnabled(cbBars->isChecked());
    }
}

void TdlgExportPractice::replan()
{
    if (isRendering()) {
        return;
    }
    m_files = harmonet::plannedFiles(currentRequest());
    for (QLabel* label : std::as_const(fileLabels)) {
        delete label;
    }
    for (QProgressBar* bar : std::as_const(fileBars)) {
        delete bar;
    }
    fileLabels.clear();
    fileBars.clear();
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        auto* label = new QLabel(QFileInfo(m_files[i].path).fileName());
        label->setObjectName(QStringLiteral("lblFile%1").arg(i + 1));
        auto* bar = new QProgressBar;
        bar->setObjectName(QStringLiteral("pbFile%1").arg(i + 1));
        bar->setRange(0, 100);
        bar->setValue(0);
        m_fileRows->addWidget(label, int(i), 0);
        m_fileRows->addWidget(bar, int(i), 1);
        fileLabels.append(label);
        fileBars.append(bar);
    }
    m_fileRows->setRowStretch(int(m_files.size()), 1);
    btnExport->setEnabled(!m_files.empty() && !isRendering());
}

void TdlgExportPractice::btnBrowseClick()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Folder for the practice tracks"),
                                                             edFolder->text());
    if (!folder.isEmpty()) {
        edFolder->setText(QDir::toNativeSeparators(folder));
    }
}

void TdlgExportPractice::btnExportClick()
{
    if (isRendering()) {
        return;
    }
    // The tempo, mutes and instruments set until now; the bars, pitch and
    // clicks as the dialog shows them.
    refreshPlayerSettings();
    replan();
    if (m_files.empty()) {
        return;
    }
    if (currentRequest().folder.isEmpty()) {
        lblStatus->setText(tr("Choose the folder for the practice tracks."));
        return;
    }
    const auto existing = std::count_if(m_files.cbegin(), m_files.cend(),
                                        [](const PracticeFile& file) { return QFileInfo::exists(file.path); });
    if (existing > 0
        && QMessageBox::question(this, windowTitle(),
                                 tr("%1 of these files exist already. Replace them?").arg(existing))
            != QMessageBox::Yes) {
        return;
    }
    m_written = 0;
    m_failure.clear();
    m_cancel = false;
    lblStatus->setStyleSheet(QString());
    lblStatus->setText(tr("Rendering %1 files...").arg(m_files.size()));
    setEditable(false);

    auto job = std::make_shared<PracticeRenderJob>(currentRequest(), m_files);
    // The job's threads report through queued calls, which this dialog
    // receives on its own thread (and drops once it is gone).
    m_thread = QThread::create([this, job] {
        job->run(
            m_cancel,
            [this](int file, int percent) {
                QMetaObject::invokeMethod(this, [this, file, percent] { fileProgress(file, percent); },
                                          Qt::QueuedConnection);
            },
            [this](int file, FileOutcome outcome, const QString& message) {
                QMetaObject::invokeMethod(
                    this, [this, file, outcome, message] { fileFinished(file, outcome, message); },
                    Qt::QueuedConnection);
            });
    });
    m_thread->setObjectName(QStringLiteral("PracticeExport"));
    connect(m_thread, &QThread::finished, this, &TdlgExportPractice::renderingEnded, Qt::QueuedConnection);
    m_thread->start(QThread::LowPriority);
}

void TdlgExportPractice::btnCancelClick()
{
    m_cancel = true;
    btnCancel->setEnabled(false);
    lblStatus->setText(tr("Cancelling..."));
}

void TdlgExportPractice::fileProgress(int file, int percent)
{
    if (file >= 0 && file < fileBars.size()) {
        fileBars[file]->setValue(percent);
    }
}

void TdlgExportPractice::fileFinished(int file, FileOutcome outcome, const QString& message)
{
    if (file < 0 || file >= fileBars.size()) {
        return;
    }
    QProgressBar* bar = fileBars[file];
    switch (outcome) {
    case FileOutcome::Written:
        ++m_written;
        bar->setValue(100);
        bar->setFormat(tr("Written"));
        break;
    case FileOutcome::Cancelled:
        bar->setValue(0);
        bar->setFormat(tr("Not written"));
        break;
    case FileOutcome::Failed:
        bar->setValue(0);
        bar->setFormat(tr("Failed"));
        bar->setToolTip(message);
        if (m_failure.isEmpty()) {
            m_failure = message;
        }
        break;
    }
}

void TdlgExportPractice::renderingEnded()
{
    if (!m_thread) {
        return;
    }
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    // Every report of the job was queued before its thread ended, so all
    // have arrived by now.
    if (!m_failure.isEmpty()) {
        lblStatus->setStyleSheet(QStringLiteral("color: #b00000"));
        lblStatus->setText(tr("%1\n%2 of %3 files written.").arg(m_failure).arg(m_written).arg(m_files.size()));
    } else if (m_cancel) {
        lblStatus->setText(tr("Cancelled: %1 of %2 files written.").arg(m_written).arg(m_files.size()));
    } else {
        lblStatus->setText(tr("%1 files written to %2.")
                               .arg(m_written)
                               .arg(QDir::toNativeSeparators(currentRequest().folder)));
    }
    setEditable(true);
    emit exportFinished();
}

void TdlgExportPractice::setEditable(bool editable)
{
    for (QWidget* control : {static_cast<QWidget*>(edFolder), static_cast<QWidget*>(btnBrowse),
                             static_cast<QWidget*>(cbFormat), static_cast<QWidget*>(cbEachVoice),
                             static_cast<QWidget*>(cbFullMix), static_cast<QWidget*>(cbOthers),
                             static_cast<QWidget*>(cbPanned), static_cast<QWidget*>(cbWithoutVoice),
                             static_cast<QWidget*>(sbTranspose), static_cast<QWidget*>(cbCountIn),
                             static_cast<QWidget*>(cbCountInEachPass), static_cast<QWidget*>(cbMetronome),
                             static_cast<QWidget*>(btnExport)}) {
        control->setEnabled(editable);
    }
    cbSide->setEnabled(editable && cbPanned->isChecked());
    cbBars->setEnabled(editable);
    for (QWidget* edit : barEdits()) {
        edit->setEnabled(editable && cbBars->isChecked());
    }
    btnCancel->setEnabled(!editable);
    if (editable) {
        btnExport->setEnabled(!m_files.empty());
    }
}

void TdlgExportPractice::stopRendering()
{
    if (m_thread) {
        m_cancel = true;
        m_thread->wait();
        delete m_thread;
        m_thread = nullptr;
    }
}

void TdlgExportPractice::closeEvent(QCloseEvent* event)
{
    // Closing while rendering cancels: the file being written is removed.
    stopRendering();
    QDialog::closeEvent(event);
}

void TdlgExportPractice::reject()
{
    // Esc while rendering cancels the rendering; otherwise it closes.
    if (isRendering()) {
        btnCancelClick();
        return;
    }
    QDialog::reject();
}

} // namespace harmonet
