#pragma once

#include "render/PracticeExport.h"

#include <QDialog>
#include <QList>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QThread;

namespace harmonet {

// File > "Export Practice Tracks...": the folder, the format, which files
// (one per voice with that voice emphasised, and the full mix), the level
// and panning of the others or each voice left out, the transposition, the
// count-in and the metronome; the tempo, mutes and instruments are the
// player's when Export is pressed. The files render on a worker thread, each
// with its own progress bar, while the window (and playback) goes on; Cancel
// stops them and removes the file being written.
class TdlgExportPractice : public QDialog {
    Q_OBJECT

public:
    // The player's settings of the song's tracks as they are now.
    using SettingsNow = std::function<SongSettings()>;

    // The request holds the song, its settings, the folder and the mix to
    // start with.
    // settingsNow (when given) brings the settings up to date whenever the
    // dialog is shown and when Export is pressed.
    TdlgExportPractice(const ExportRequest& request, SettingsNow settingsNow = {}, QWidget* parent = nullptr);
    ~TdlgExportPractice() override;

    bool isRendering() const { return m_thread != nullptr; }
    // The player has closed the song: its settings are no longer this song's.
    void detachFromPlayer() { m_settingsNow = {}; }
    // The files the current settings make.
    const std::vector<PracticeFile>& plannedFiles() const { return m_files; }

    QLineEdit* edFolder;
    QPushButton* btnBrowse;
    QComboBox* cbFormat;
    QCheckBox* cbEachVoice;
    QCheckBox* cbFullMix;
    QComboBox* cbOthers;
    QCheckBox* cbPanned;
    QComboBox* cbSide;
    // Only bars edBarsFrom to edBarsTo, edRepeat times over (the player's loop to start with).
    QCheckBox* cbBars;
    QSpinBox* edBarsFrom;
    QSpinBox* edBarsTo;
    QSpinBox* edRepeat;
    // Each voice's file without that voice, the others at their own level.
    QCheckBox* cbWithoutVoice;
    // Semitones up or down, the bars counted in and the metronome; the
    // player's when the dialog is shown.
    QSpinBox* sbTranspose;
    QComboBox* cbCountIn;
    // Every pass of the bars counted in, not only the first.
    QCheckBox* cbCountInEachPass;
    QCheckBox* cbMetronome;
    QLabel* lblTempo;
    QLabel* lblStatus;
    QPushButton* btnExport;
    QPushButton* btnCancel;
    QPushButton* btnClose;
    // One per planned file, in order: its name and its progress.
    QList<QLabel*> fileLabels;
    QList<QProgressBar*> fileBars;

signals:
    // Every file of the export is written, cancelled or failed.
    void exportFinished();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    // The player's settings, and the dialog's own fields (bars, transposition,
    // clicks) set from them: as the dialog opens.
    void takePlayerSettings();
    // Only what the dialog does not show (tempo, mutes, instruments) as the
    // player has it now: as Export is pressed, keeping the fields' edits.
    void refreshPlayerSettings();
    // The bar range and repeats as the settings' loop has them, within the song's bars.
    void showBars();
    QList<QWidget*> barEdits() const;
    ExportRequest currentRequest() const;
    void replan();
    void btnBrowseClick();
    void btnExportClick();
    void btnCancelClick();
    void fileProgress(int file, int percent);
    void fileFinished(int file, FileOutcome outcome, const QString& message);
    void renderingEnded();
    void setEditable(bool editable);
    void stopRendering();

    ExportRequest m_request;
    SettingsNow m_settingsNow;
    std::vector<PracticeFile> m_files;
    QGridLayout* m_fileRows;
    QThread* m_thread = nullptr;
    std::atomic<bool> m_cancel{false};
    int m_written = 0;
    QString m_failure;
};

} // namespace harmonet
