// harmonet-bench-mixer: how soon the main window's master volume slider
// follows a change of the desktop volume made elsewhere. A private PulseAudio
// server with a null sink is ALSA's "default" device; pactl set-sink-volume
// runs (without blocking the window) and the time is taken from its start to
// the moment tbMasterV shows the new value, and from pactl's exit to that
// moment (negative when the slider moved before the exit was noticed).
// Prints median, 95th percentile and maximum in milliseconds.
//
//   harmonet-bench-mixer [changes]   (default 40)
#include "midiout/MidiDeviceList.h"
#include "midiout/OutputStage.h"
#include "midiout/RecordingBackend.h"
#include "mixer/SystemMixer.h"
#include "player/UnitMain.h"
#include "tests/support/PrivateSoundServer.h"
#include "windows/UnitLyrics.h"
#include "windows/UnitSettings.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QSlider>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace harmonet;

namespace {

struct Figures {
    double medianMs = 0;
    double p95Ms = 0;
    double maxMs = 0;
};

Figures summarise(std::vector<double> ms)
{
    Figures result;
    if (ms.empty()) {
        return result;
    }
    std::sort(ms.begin(), ms.end());
    result.medianMs = ms[ms.size() / 2];
    result.p95Ms = ms[std::min(ms.size() - 1, size_t(double(ms.size()) * 0.95))];
    result.maxMs = ms.back();
    return result;
}

void report(const char* what, const Figures& figures, size_t count)
{
    std::printf("%-34s median %7.2f ms  p95 %7.2f ms  max %7.2f ms  over %zu changes\n", what, figures.medianMs,
                figures.p95Ms, figures.maxMs, count);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    const int changes = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 40;

    test::PrivateSoundServer server;
    if (!server.start()) {
        std::printf("harmonet-bench-mixer: skipped, no private sound server (%s)\n", qPrintable(server.why()));
        return 0;
    }
    auto recorder = std::make_shared<RecordingBackend>(QStringList{QStringLiteral("Recorder")});
    MidiDeviceList::installDefault(std::make_shared<MidiDeviceList>(std::vector<std::shared_ptr<MidiBackend>>{recorder}));
    SynthOutputStage stage;
    MixerBackend::installDefault(std::make_shared<SystemMixerBackend>(QStringLiteral("default"), stage));

    auto main = std::make_unique<TfrmMain>();
    new TfrmSettings(main.get(), *main);
    new TfrmLyrics(main.get());
    main->show();
    QSlider* master = main->tbMasterV;
    if (!main->MidiMixer1->Active() || master->maximum() <= 10) {
        std::printf("harmonet-bench-mixer: the window found no master volume on the private server\n");
        return 1;
    }

    std::vector<double> fromStart;
    std::vector<double> fromExit;
    int missed = 0;
    for (int i = 0; i < changes; ++i) {
        const int volume = 20000 + (i % 2) * 20000 + i * 10;
        QElapsedTimer clock;
        qint64 movedAt = -1;
        qint64 exitedAt = -1;
        const auto watch = QObject::connect(master, &QSlider::valueChanged, [&](int value) {
            if (value == volume && movedAt < 0) {
                movedAt = clock.nsecsElapsed();
            }
        });
        QProcess pactl;
        QObject::connect(&pactl, &QProcess::finished, [&] { exitedAt = clock.nsecsElapsed(); });
        clock.start();
        pactl.start(QStringLiteral("pactl"), {QStringLiteral("-s"), server.address(), QStringLiteral("set-sink-volume"),
                                              QStringLiteral("@DEFAULT_SINK@"), QString::number(volume)});
        const QDeadlineTimer deadline(3000);
        while ((movedAt < 0 || exitedAt < 0) && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        QObject::disconnect(watch);
        pactl.waitForFinished(1000);
        if (movedAt < 0 || exitedAt < 0) {
            ++missed;
            continue;
        }
        fromStart.push_back(double(movedAt) / 1e6);
        fromExit.push_back(double(movedAt - exitedAt) / 1e6);
    }
    main.reset();
    MixerBackend::installDefault(nullptr);
    MidiDeviceList::installDefault(nullptr);

    std::printf("harmonet-bench-mixer: master volume slider following pactl set-sink-volume\n");
    report("from pactl's start to the slider", summarise(fromStart), fromStart.size());
    report("from pactl's exit to the slider", summarise(fromExit), fromExit.size());
    if (missed) {
        std::printf("%d changes did not reach the slider within 3 s\n", missed);
    }
    return missed ? 1 : 0;
}
