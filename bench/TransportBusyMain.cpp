// harmonet-bench-transport: how long the GUI thread is busy in one go while
// the user drags the position slider across a whole song, or holds fast
// forward for its whole length, in the real main window (offscreen, into a
// recording output device). Each drag step and each fast-forward tick is one
// uninterrupted stretch of work on the GUI thread; prints the longest and the
// mean in milliseconds, stopped and playing, for the example song and for a
// 16-track song of 100 000 events.
//
//   harmonet-bench-transport
#include "bench/BenchSongs.h"
#include "midiout/MidiDeviceList.h"
#include "midiout/RecordingBackend.h"
#include "mixer/SystemMixer.h"
#include "player/UnitMain.h"
#include "sequencer/MidiFile.h"
#include "session/PlayingSession.h"
#include "widgets/ImageButton.h"
#include "player/StartupWindows.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

using namespace harmonet;

namespace {

struct Busy {
    double longestMs = 0;
    double totalMs = 0;
    int stretches = 0;
};

// Times one stretch of work and adds it to busy.
void timed(Busy& busy, const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    busy.longestMs = std::max(busy.longestMs, ms);
    busy.totalMs += ms;
    ++busy.stretches;
}

void report(const char* song, const char* what, bool playing, const Busy& busy)
{
    std::printf("%-18s %-14s %-8s longest %7.2f ms  mean %6.3f ms  over %d steps\n", song, what,
                playing ? "playing" : "stopped", busy.longestMs, busy.totalMs / std::max(1, busy.stretches),
                busy.stretches);
}

// The thumb dragged from one end of the track to the other, one pixel of
// the slider's width at a time.
Busy dragAcross(TfrmMain& main)
{
    Busy busy;
    QSlider* position = main.tbPosition;
    const int pixels = position->width();
    position->setSliderDown(true);
    for (int x = 0; x <= pixels; ++x) {
        const int value = int(qint64(position->maximum()) * x / pixels);
        timed(busy, [&] { position->setSliderPosition(value); });
    }
    timed(busy, [&] { position->setSliderDown(false); });
    return busy;
}

// Fast forward held from the start until the slider reaches the end.
Busy holdFastForward(TfrmMain& main)
{
    Busy busy;
    timed(busy, [&] { QTest::mousePress(main.btnFastForward, Qt::LeftButton); });
    while (main.tbPosition->value() < main.tbPosition->maximum()) {
        timed(busy, [&] { QMetaObject::invokeMethod(main.TimerFastForward, "timeout"); });
    }
    timed(busy, [&] { QTest::mouseRelease(main.btnFastForward, Qt::LeftButton); });
    return busy;
}

void measure(const char* name, const QString& path)
{
    TfrmMain main;
    createSecondaryWindows(main);
    main.SetCommandLine({path});
    main.show();
    if (!main.session().outputOpen() || main.SongLength <= 0) {
        std::printf("%s: not loaded or no output\n", name);
        return;
    }
    for (const bool playing : {false, true}) {
        main.btnStopClick();
        main.btnStopClick();
        if (playing) {
            main.btnPlayClick();
        }
        report(name, "drag", playing, dragAcross(main));
        main.btnStopClick();
        main.btnStopClick();
        if (playing) {
            main.btnPlayClick();
        }
        report(name, "fast forward", playing, holdFastForward(main));
    }
    main.btnStopClick();
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
    // The window's mixer is the synthesizer's output stage alone: the desktop's own volume is left alone.
    MixerBackend::installDefault(std::make_shared<SystemMixerBackend>(QString()));

    measure("example song", QStringLiteral(HARMONET_EXAMPLE_SONG));
    const bench::SongFolder folder;
    measure("16 x 6250 events", folder.save(QStringLiteral("large.mid"), bench::choirSong(16, 6250)));
    MidiDeviceList::installDefault(nullptr);
    return 0;
}
