// harmonet-render: plays a MIDI file through the built-in synthesizer without
// any audio device and writes what it produced as a 16-bit stereo WAV file.
//   harmonet-render [--sample-rate N] FILE OUT.wav
// Exit status 0 on success; 1 when the file cannot be read, no SoundFont is
// found or the WAV file cannot be written; 2 on bad usage.
#include "core/ErrorReport.h"
#include "midiout/MidiOutError.h"
#include "sequencer/MidiFile.h"
#include "tools/render/SongRenderer.h"
#include "tools/render/WavWriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>
#include <unistd.h>

using namespace harmonet;
using namespace harmonet::tools;

namespace {

constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

int usage()
{
    std::fputs("usage: harmonet-render [--sample-rate N] FILE OUT.wav\n"
               "  N: samples per second, 8000 to 96000 (default 44100)\n",
               stderr);
    return exitUsage;
}

int fail(const QString& message)
{
    std::fprintf(stderr, "harmonet-render: %s\n", message.toLocal8Bit().constData());
    return exitFailure;
}

QString minutesSeconds(qint64 ms)
{
    return QStringLiteral("%1:%2").arg(ms / 60000).arg((ms / 1000) % 60, 2, 10, QLatin1Char('0'));
}

// A progress line on a terminal, redrawn about every second of song time.
SongRenderer::Progress terminalProgress()
{
    if (!isatty(STDERR_FILENO)) {
        return {};
    }
    return [](qint64 renderedMs, qint64 totalMs) {
        if (renderedMs % 1000 != 0 && renderedMs < totalMs) {
            return;
        }
        std::fprintf(stderr, "\rrendering %s / %s (%3d%%)", minutesSeconds(renderedMs).toLatin1().constData(),
                     minutesSeconds(totalMs).toLatin1().constData(), int(renderedMs * 100 / totalMs));
        if (renderedMs >= totalMs) {
            std::fputc('\n', stderr);
        }
    };
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);

    int sampleRate = Synthesizer::defaultSampleRate;
    if (!args.isEmpty() && args.first() == QStringLiteral("--sample-rate")) {
        bool ok = false;
        sampleRate = args.value(1).toInt(&ok);
        if (!ok || sampleRate < 8000 || sampleRate > 96000) {
            return usage();
        }
        args = args.mid(2);
    }
    if (args.size() != 2) {
        return usage();
    }
    const QString& inputPath = args[0];
    const QString& outputPath = args[1];

    TMidiFile song;
    song.setObjectName(QStringLiteral("MidiFile1"));
    song.SetFilename(inputPath);
    try {
        song.LoadSong();
    } catch (const std::exception& error) {
        return fail(QStringLiteral("cannot read %1: %2").arg(inputPath, QString::fromLocal8Bit(error.what())));
    }

    int dispatchErrors = 0;
    setErrorReporter([&dispatchErrors](const QString& message) {
        ++dispatchErrors;
        fail(message);
    });

    try {
        SongRenderer renderer(sampleRate);
        WavWriter wav(outputPath, sampleRate);
        renderer.render(song, [&wav](std::span<const qint16> stereo) { wav.write(stereo); }, terminalProgress());
        wav.close();
    } catch (const std::exception& error) {
        return fail(QString::fromLocal8Bit(error.what()));
    }
    return dispatchErrors == 0 ? 0 : exitFailure;
}
