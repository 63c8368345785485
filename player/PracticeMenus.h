#pragma once

#include "practice/PracticeChoice.h"
#include "practice/PracticeMemory.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;

namespace harmonet {

class PlayingSession;
class TfrmMain;
class TPanel;
class TdlgExportPractice;

// The main window's practice controls: Options > "My Part", "Others" (with
// "Without My Part"), "Panned" and the side of my part, the "My Part" item of each track panel's
// right-click menu, and File > "Export Practice Tracks...". A choice takes
// effect at once through the session's practice mix, which the gateway hands
// every message it sends, and is remembered for the file.
class TPracticeMenus : public QObject {
    Q_OBJECT

public:
    // Adds the items to the window's File and Options menus.
    TPracticeMenus(TfrmMain& main, QMenu* fileMenu, QMenu* optionsMenu);
    ~TPracticeMenus() override;

    // A file was loaded and its panels bound: the menu lists its voices and
    // the choice remembered for it (or none) takes effect.
    void fileLoaded();
    void fileClosed();

    // Makes the choice (its part one of the voices, or none), sends it,
    // shows it in the menus and remembers it for the file.
    void choose(const PracticeChoice& choice);
    // Makes the voice at that place in the session's voices my part (-1: none).
    void chooseVoice(int voice);

    QMenu* MyPart1;
    QAction* MyPartNone1;
    QMenu* Others1;
    // Minus-one: my part silent, the others at their full level.
    QAction* WithoutMyPart1;
    QAction* Panned1;
    QAction* PanLeft1;
    QAction* PanRight1;
    QAction* ExportPracticeTracks1;
    QMenu* pmTrackPanel;
    QAction* TrackPanelMyPart1;
    // What the singer should know of how my part is heard (see PlayingSession::partNotice).
    QLabel* lblPartNotice;

private:
    void rebuildPartMenu();
    void showChoice();
    void trackPanelMenu(TPanel* panel, const QPoint& pos);
    void exportPracticeTracks();

    PlayingSession& session() const;

    TfrmMain& m_main;
    // Between fileLoaded and fileClosed: the menus show the song's voices.
    bool m_songShown = false;
    TPracticeMemory m_memory;
    // The level and sides a new file starts with: the last ones chosen.
    PracticeChoice m_preference;
    QActionGroup* m_partGroup;
    QList<QAction*> m_levelItems;
    // The panel menu's items for the voices that share the panel's track.
    QList<QAction*> m_panelVoiceItems;
    bool m_panelMenusBound = false;
    QString m_songHash;
    QPointer<TdlgExportPractice> m_exportDialog;
};

} // namespace harmonet
