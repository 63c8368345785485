// harmonet-bench-practice-view: the practice view on a long choir score
// while it plays, in the real main window (offscreen, into a recording
// output device): how long opening the view takes (the first time, when the
// voices are found, and again), how many frames a second it paints at
// 1280 x 720 and how long one takes, and the CPU time of the whole program
// while the song plays for some seconds without the view and with it.
//
//   harmonet-bench-practice-view [SONG.mid] [seconds]
//
// Without a song it writes a 22-minute score of 19 tracks laid out as
// LilyPond writes one (9 voices, each with a words track of its own).
#include "bench/BenchSongs.h"
#include "midiout/MidiDeviceList.h"
#include "midiout/RecordingBackend.h"
#include "mixer/SystemMixer.h"
#include "player/StartupWindows.h"
#include "player/UnitMain.h"
#include "sequencer/MidiFile.h"
#include "session/PlayingSession.h"
#include "windows/UnitPracticeView.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <memory>

using namespace harmonet;

namespace {

double processCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Runs the event loop for seconds and returns the share of one core the process used.
double cpuShareWhileRunning(int seconds)
{
    const double cpuBefore = processCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    return (processCpuSeconds() - cpuBefore) / (double(wall.nsecsElapsed()) / 1e9);
}

// Milliseconds from the menu item to the view painted once.
double openViewMs(TfrmMain& main)
{
    QElapsedTimer timer;
    timer.start();
    main.PracticeView1->trigger();
    TfrmPracticeView& view = *main.PracticeViewWindow();
    const qint64 frames = view.framesPainted();
    while (view.framesPainted() == frames && timer.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The windows store their settings: keep them away from the user's own.
    const QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    auto recorder = std::make_shared<RecordingBackend>(QStringList{QStringLiteral("Recorder")});
    MidiDeviceList::installDefault(std::make_shared<MidiDeviceList>(std::vector<std::shared_ptr<MidiBackend>>{recorder}));
    MixerBackend::installDefault(std::make_shared<SystemMixerBackend>(QString()));

    const bench::SongFolder folder;
    const QStringList arguments = app.arguments();
    const QString path = arguments.size() > 1 ? arguments[1]
                                              : folder.save(QStringLiteral("choir.mid"), bench::lilyPondChoir(9, 22));
    const int seconds = arguments.size() > 2 ? std::max(arguments[2].toInt(), 1) : 10;

    TfrmMain main;
    createSecondaryWindows(main);
    main.SetCommandLine({path});
    main.show();
    if (!main.session().fileLoaded() || main.SongLength <= 0) {
        std::printf("%s: not loaded\n", qPrintable(path));
        return 1;
    }
    std::printf("song: %s, %d tracks, %.1f minutes\n", qPrintable(path), main.MidiFile1->NumberOfTracks(),
                main.SongLength / 60000.0);
    // My part: the first voice.
    if (QAction* first = main.findChild<QAction*>(QStringLiteral("MyPartTrack1"))) {
        first->trigger();
    }

    main.btnPlayClick();
    const double withoutView = cpuShareWhileRunning(seconds);

    const double firstOpen = openViewMs(main);
    TfrmPracticeView& view = *main.PracticeViewWindow();
    view.resize(1280, 720);
    view.close();
    const double secondOpen = openViewMs(main);

    const qint64 framesBefore = view.framesPainted();
    QElapsedTimer wall;
    wall.start();
    const double withView = cpuShareWhileRunning(seconds);
    const double fps = double(view.framesPainted() - framesBefore) / (double(wall.nsecsElapsed()) / 1e9);
    main.btnStopClick();

    // One frame's painting alone, at 1280 x 720 in the middle of the song.
    main.tbPosition->setValue(main.SongLength / 2);
    view.followPosition();
    constexpr int paints = 100;
    QElapsedTimer paintTimer;
    paintTimer.start();
    for (int i = 0; i < paints; ++i) {
        view.roll()->repaint();
    }
    const double paintMs = double(paintTimer.nsecsElapsed()) / 1e6 / paints;

    std::printf("view open: first %.1f ms (voices found), again %.1f ms\n", firstOpen, secondOpen);
    std::printf("view at %dx%d: %.1f frames a second while playing; one frame painted in %.2f ms\n",
                view.roll()->width(), view.roll()->height(), fps, paintMs);
    std::printf("CPU of the program while playing: without the view %.1f %% of a core, with it %.1f %% "
                "(%+.1f %%), over %d s each\n",
                withoutView * 100, withView * 100, (withView - withoutView) * 100, seconds);
    MidiDeviceList::installDefault(nullptr);
    return 0;
}
