#pragma once

#include "singing/PitchTracker.h"
#include "singing/SingingMemory.h"
#include "singing/TargetNotes.h"
#include "windows/SingResults.h"

#include <QObject>
#include <QPointer>

#include <chrono>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QTimer;

namespace harmonet {

class PlayingSession;
class SingAlongPass;
class TakePlayer;
class TfrmMain;

// The main window's Practice menu for singing along: "Sing Along" plays the
// song from where it stands and listens to the microphone; when playing
// stops, each note of my part in the stretch sung is scored and shown, and
// the pass is remembered for the file. The take is kept for "Export Take...".
// A microphone that is missing, refused or pulled out is a notice in the
// status bar; playing goes on. The microphone is never played back.
class TSingAlong : public QObject {
    Q_OBJECT

public:
    TSingAlong(TfrmMain& main, QMenuBar* bar);
    ~TSingAlong() override;

    QMenu* Practice1;
    QAction* SingAlong1;
    QAction* PlayTake1;
    // Whether my part is silent beside the take ("Play Take" and "Export Take"), else emphasised.
    QAction* TakeWithPartMuted1;
    QAction* ExportTake1;
    QAction* CalibrateLatency1;
    QAction* Latency1;
    // The notice about the microphone, in the status bar.
    QLabel* lblSingNotice;

    // The window of the last pass's results (null before the first).
    TfrmSingResults* resultsWindow() const { return m_results; }
    // Whether a pass is listening now.
    bool singing() const;

    void singAlong();
    // The pass is over: scores it, remembers it and shows the results.
    void finishPass();
    // The pitch heard drawn over my part in the practice view, when it is open.
    void drawSungPitch(const std::vector<PitchFrame>& frames);
    // Plays the song from where it stands with the take beside it, aligned.
    void playTake();
    bool playingTake() const;
    void exportTake();
    void setLatency();
    // Plays clicks through the output and finds them in the microphone's
    // recording; the delay found is remembered for the microphone. Where no
    // click is heard (headphones), the latency is asked for by hand.
    void calibrateLatency();
    // The calibration's recording is complete: measures it.
    void finishCalibration();
    bool calibrating() const { return m_calibration != nullptr; }

    // A new file or none: the last take belongs to the song before.
    void fileChanged();

private:
    PlayingSession& session() const;
    void showNotice(const QString& notice);

    TfrmMain& m_main;
    TSingingMemory m_memory;
    std::unique_ptr<SingAlongPass> m_pass;
    std::unique_ptr<SingAlongPass> m_calibration;
    std::unique_ptr<TakePlayer> m_takePlayer;
    // The track muted for the take's playing, to be heard again after it; -1: none.
    int m_mutedForTake = -1;
    void stopTake();
    std::vector<TargetNote> m_targets;
    double m_fromMs = 0.0;
    double m_lastMs = 0.0;
    // When playing time stood at m_fromMs.
    std::chrono::steady_clock::time_point m_steadyFrom;
    int m_bpm = 0;
    QString m_device;
    QTimer* m_watch;
    QPointer<TfrmSingResults> m_results;
};

} // namespace harmonet
