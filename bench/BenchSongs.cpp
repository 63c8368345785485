#include "bench/BenchSongs.h"

#include "core/Exception.h"
#include "sequencer/SmfWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace harmonet::bench {

namespace {

constexpr quint32 kTempo120 = 500000;

void tempoTrack(SmfWriter& w)
{
    w.beginTrack().meta(0, SmfWriter::TrackName, "Tempo").tempo(0, kTempo120).endOfTrack().endTrack();
}

} // namespace

QByteArray choirSong(int noteTracks, int eventsPerTrack, quint16 ticksPerQuarter)
{
    SmfWriter w;
    w.header(1, quint16(noteTracks + 1), ticksPerQuarter);
    tempoTrack(w);
    const quint8 eighth = quint8(ticksPerQuarter / 8);
    for (int track = 0; track < noteTracks; ++track) {
        const int channel = track % 16;
        const quint8 noteOn = quint8(0x90 | channel);
        w.beginTrack();
        int events = 0;
        int note = 0;
        // The status byte the next channel message would run on, if any.
        quint8 running = 0;
        auto message = [&](quint64 delta, quint8 status, quint8 key, quint8 value) {
            if (status == running)
                w.running(delta, key, value);
            else
                w.channel(delta, status, key, value);
            running = status;
            ++events;
        };
        // Room for the end-of-track event and for a full lyric-and-note group.
        while (events + 4 <= eventsPerTrack) {
            if (note % 32 == 0) {
                w.meta(0, SmfWriter::Lyric, "Al-");
                running = 0;
                ++events;
            }
            const quint8 key = quint8(48 + (note * 7 + track) % 36);
            message(0, noteOn, key, 90);
            if (note % 2 == 0)
                message(eighth, noteOn, key, 0);
            else
                message(eighth, quint8(0x80 | channel), key, 64);
            ++note;
        }
        while (events + 1 < eventsPerTrack) {
            w.meta(0, SmfWriter::Text, "pad");
            ++events;
        }
        w.endOfTrack().endTrack();
    }
    return w.bytes();
}

QByteArray unmatchedNoteOffs(int count)
{
    SmfWriter w;
    w.header(0, 1, 480);
    w.beginTrack();
    w.noteOff(0, 0, 0);
    for (int i = 1; i < count; ++i)
        w.running(1, quint8(i % 128), 64);
    return w.endTrack().bytes();
}

QByteArray songWithLongRest(int noteTracks, qint32 restTicks)
{
    SmfWriter w;
    w.header(1, quint16(noteTracks + 1), 480);
    tempoTrack(w);
    for (int track = 0; track < noteTracks; ++track) {
        w.beginTrack().noteOn(quint64(restTicks), track % 16, 60, 90).noteOff(240, track % 16, 60);
        w.endOfTrack().endTrack();
    }
    return w.bytes();
}

QByteArray steadyEighths(int noteTracks, int seconds, quint16 ticksPerQuarter)
{
    SmfWriter w;
    w.header(1, quint16(noteTracks + 1), ticksPerQuarter);
    tempoTrack(w);
    const int notes = seconds * 4;    // four eighths a second at 120 bpm
    const quint64 eighth = ticksPerQuarter / 2;
    for (int track = 0; track < noteTracks; ++track) {
        const int channel = track % 16;
        w.beginTrack();
        for (int i = 0; i < notes; ++i) {
            const quint8 key = quint8(48 + (i + track) % 24);
            w.noteOn(i == 0 ? 0 : 1, channel, key, 80).noteOff(eighth - 1, channel, key);
        }
        w.endOfTrack().endTrack();
    }
    return w.bytes();
}

QByteArray lilyPondChoir(int voices, int minutes)
{
    constexpr quint16 ticksPerQuarter = 384;
    constexpr qint32 phraseQuarters = 16;
    SmfWriter w;
    w.header(1, quint16(2 * voices + 1), ticksPerQuarter);
    w.beginTrack().meta(0, SmfWriter::TrackName, "Tempo").tempo(0, kTempo120).timeSignature(0, 4, 2).endOfTrack().endTrack();
    const qint32 endTicks = minutes * 60 * 2 * ticksPerQuarter;
    for (int voice = 0; voice < voices; ++voice) {
        const int channel = voice % 16;
        const int low = 40 + voice * 4;
        // The onsets of the voice's notes: phrases of quarters and pairs of eighths, a bar's rest between.
        QList<std::pair<qint32, qint32>> notes;
        for (qint32 tick = 0, n = 0; tick < endTicks; ++n) {
            const qint32 inPhrase = tick / ticksPerQuarter % (phraseQuarters + 4);
            if (inPhrase >= phraseQuarters) {
                tick += ticksPerQuarter;
                continue;
            }
            const qint32 length = (n + voice) % 3 == 0 ? ticksPerQuarter / 2 : ticksPerQuarter;
            notes.append({tick, length});
            tick += length;
        }
        w.beginTrack().meta(0, SmfWriter::TrackName, QByteArray("voice") + QByteArray::number(voice + 1) + "Notes");
        qint32 now = 0;
        for (qsizetype i = 0; i < notes.size(); ++i) {
            const quint8 key = quint8(low + (i * 5 + voice) % 12);
            w.noteOn(quint64(notes[i].first - now), channel, key, 90).noteOff(quint64(notes[i].second), channel, key);
            now = notes[i].first + notes[i].second;
        }
        w.endOfTrack().endTrack();
        static const char* const syllables[] = {"Glo", "ri", "a", "in", "ex", "cel", "sis", "De", "o"};
        w.beginTrack().meta(0, SmfWriter::TrackName, QByteArray("voice") + QByteArray::number(voice + 1) + "Lyrics");
        now = 0;
        for (qsizetype i = 0; i < notes.size(); ++i) {
            w.meta(quint64(notes[i].first - now), SmfWriter::Lyric, syllables[i % 9]);
            now = notes[i].first;
        }
        w.endOfTrack().endTrack();
    }
    return w.bytes();
}

QByteArray lilypondMidi(const QString& source)
{
    const QString lilypond = QStandardPaths::findExecutable(QStringLiteral("lilypond"));
    if (!QFileInfo(source).isFile() || lilypond.isEmpty()) {
        return {};
    }
    QTemporaryDir work;
    QProcess process;
    process.setWorkingDirectory(work.path());
    process.start(lilypond, {QStringLiteral("-dmidi-extension=mid"), QStringLiteral("-dno-print-pages"),
                             QStringLiteral("-o"), QStringLiteral("piece"), source});
    if (!process.waitForFinished(300000) || process.exitCode() != 0) {
        return {};
    }
    QFile midi(work.filePath(QStringLiteral("piece.mid")));
    return midi.open(QIODevice::ReadOnly) ? midi.readAll() : QByteArray();
}

SongFolder::SongFolder()
{
    if (!dir_.isValid())
        throw Exception(QStringLiteral("Cannot create a temporary folder: %1").arg(dir_.errorString()));
}

QString SongFolder::save(const QString& name, const QByteArray& bytes) const
{
    const QString path = dir_.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw Exception(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    return path;
}

} // namespace harmonet::bench
