#pragma once

#include "practice/Clicks.h"
#include "practice/PracticeMemory.h"

#include <QList>
#include <QObject>
#include <QString>

class QAction;
class QActionGroup;
class QKeySequence;
class QMenu;

namespace harmonet {

class PlayingSession;
class TfrmMain;

// The main window's pitch, tempo and click controls, all acting on the
// playing session: Controls > "Give Me My Note" (N), "Faster" (T) and
// "Slower" (Shift+T) in steps of the song's own tempo; Options >
// "Transpose" (Ctrl+Up, Ctrl+Down, Ctrl+0), "Count-In" (K steps through
// none, one and two bars), "Metronome" (M), its level and whether the clicks
// go to a system port. The tempo, transposition and count-in are remembered
// for the file.
class TPitchClickMenus : public QObject {
    Q_OBJECT

public:
    static constexpr int TempoStepPercent = 5;

    TPitchClickMenus(TfrmMain& main, QMenu* controlsMenu, QMenu* optionsMenu);

    // A file was loaded: what was remembered for it takes effect (the tempo
    // through the window's tempo change).
    void fileLoaded();
    void fileClosed();
    // The tempo changed (on the slider, a preset, a step): remembered for the file.
    void tempoChanged();

    void setTranspose(int semitones);
    void setCountInBars(int bars);

    QAction* GiveMyNote1;
    QAction* Faster1;
    QAction* Slower1;
    QMenu* Transpose1;
    QAction* TransposeUp1;
    QAction* TransposeDown1;
    QAction* TransposeReset1;
    QMenu* CountIn1;
    QList<QAction*> CountInBars;
    QAction* NextCountIn1;
    QAction* CountInEachPass1;
    QAction* Metronome1;
    QMenu* ClickLevel1;
    QList<QAction*> ClickLevels;
    QAction* ClicksToPorts1;

private:
    PlayingSession& session() const;
    // A checked item of the menu that switches one choice of the clicks.
    QAction* addClickSwitch(QMenu* menu, const char* name, const QString& caption, const QKeySequence& key,
                            bool ClickSettings::*choice);
    void giveMyNote();
    void stepTempo(int direction);
    void setClicks(const ClickSettings& clicks);
    void show();
    void remember();

    TfrmMain& m_main;
    TPracticeMemory m_memory;
    QString m_songHash;
    // While what was remembered is being put in force, nothing is remembered.
    bool m_recalling = false;
};

} // namespace harmonet
