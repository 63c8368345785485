#pragma once

#include "practice/PracticeMemory.h"

#include <QObject>
#include <QString>

class QAction;
class QMenu;

namespace harmonet {

class PlayingSession;
class TfrmMain;

// The main window's controls for bars: Controls > "Go to Bar..." (Ctrl+G),
// one bar back and on (comma, period), the start of the phrase under way
// (Backspace), the loop's start and end at the current bar ([ and ]) and
// its clearing (\), Options > "Upbeat..." (the beats before bar 1 where
// the file does not show them), and the time read-out's right-click menu
// choosing time, bar and beat, or both (kept in the settings). The upbeat
// and the loop are remembered per file.
class TBarControls : public QObject {
    Q_OBJECT
    // "Time", "Bars" or "Both", as the settings keep it.
    Q_PROPERTY(QString ReadOut READ readOut WRITE setReadOut)

public:
    TBarControls(TfrmMain& main, QMenu* controlsMenu, QMenu* optionsMenu);

    QString readOut() const;
    void setReadOut(const QString& text);

    // A file was loaded: its remembered upbeat and loop take effect.
    void fileLoaded();
    void fileClosed();
    // The read-out and the position slider show the place ms (and the loop).
    void showPlace(int ms);

    // The jumps and loop changes, as the menu items make them.
    void goToBar(qint64 bar);
    void barBack();
    void barOn();
    void phraseStart();
    void loopStartHere();
    void loopEndHere();
    void clearLoop();
    // Sets the upbeat in beats (0: none) and remembers it for the file.
    void setPickup(double beats);

    QAction* GoToBar1;
    QAction* BarBack1;
    QAction* BarOn1;
    QAction* PhraseStart1;
    QAction* LoopStart1;
    QAction* LoopEnd1;
    QAction* ClearLoop1;
    QAction* Upbeat1;
    QMenu* pmTimeDisplay;
    QAction* ShowTime1;
    QAction* ShowBars1;
    QAction* ShowBoth1;

private:
    PlayingSession& session() const;
    void openGoToBar();
    void askPickup();
    void loopChanged();
    // The track whose phrases Backspace follows: my part, else the words' track, else the first voice.
    int phraseTrack() const;

    TfrmMain& m_main;
    TPracticeMemory m_memory;
    QString m_songHash;
    // While a file's remembered loop is being restored it is not remembered again.
    bool m_restoring = false;
};

} // namespace harmonet
