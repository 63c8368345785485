#include "tests/practice/PracticeSongs.h"

#include "sequencer/SmfWriter.h"

#include <iterator>

namespace harmonet::test {

namespace {

constexpr quint8 ChoirAahs = 52;
constexpr quint8 GrandPiano = 0;
constexpr int Quarter = 480;

void voiceTrack(SmfWriter& song, const char* name, int channel, quint8 program, quint8 key, int startTicks)
{
    song.beginTrack()
        .meta(0, SmfWriter::TrackName, name)
        .programChange(0, channel, program)
        .controlChange(0, channel, 7, 100)
        .controlChange(0, channel, 10, 64)
        .noteOn(quint64(startTicks), channel, key, 100)
        .noteOff(Quarter, channel, key)
        .endOfTrack()
        .endTrack();
}

} // namespace

QByteArray windowedSong(bool withPiano)
{
    SmfWriter song;
    song.header(1, withPiano ? 4 : 3, Quarter);
    song.beginTrack().meta(0, SmfWriter::TrackName, "Windows").tempo(0, 500000).endOfTrack().endTrack();
    voiceTrack(song, "Soprano", 0, ChoirAahs, 72, 0);
    voiceTrack(song, "Alto", 1, ChoirAahs, 64, 2 * Quarter);
    if (withPiano) {
        voiceTrack(song, "Piano", 2, GrandPiano, 60, 4 * Quarter);
    }
    return song.bytes();
}

QByteArray ensembleSong()
{
    struct Part {
        const char* name;
        int channel;
        quint8 program;
        quint8 key;
        quint8 volume;
        quint8 pan;
        quint8 reverb;
        quint8 chorus;
    };
    constexpr Part parts[] = {
        {"Soprano", 0, ChoirAahs, 72, 110, 30, 90, 0},  {"Alto", 1, 53, 67, 90, 100, 40, 70},
        {"Tenor", 2, ChoirAahs, 60, 100, 64, 127, 30}, {"Bass", 3, 53, 48, 120, 80, 0, 127},
        {"Piano", 4, GrandPiano, 55, 70, 64, 60, 0},    {"Drums", 9, 0, 38, 100, 64, 80, 0},
    };
    SmfWriter song;
    song.header(1, quint16(std::size(parts) + 1), Quarter);
    song.beginTrack().meta(0, SmfWriter::TrackName, "Ensemble").tempo(0, 500000).endOfTrack().endTrack();
    for (const Part& part : parts) {
        song.beginTrack()
            .meta(0, SmfWriter::TrackName, part.name)
            .programChange(0, part.channel, part.program)
            .controlChange(0, part.channel, 7, part.volume)
            .controlChange(0, part.channel, 10, part.pan)
            .controlChange(0, part.channel, 91, part.reverb)
            .controlChange(0, part.channel, 93, part.chorus);
        for (int beat = 0; beat < 6; ++beat) {
            const quint8 key = quint8(part.key + (beat % 3) * 2);
            song.noteOn(beat == 0 ? 0 : Quarter / 4, part.channel, key, quint8(70 + 10 * (beat % 4)));
            if (part.channel == 2) {
                song.channel(Quarter / 4, quint8(0xE0 | part.channel), 0, 80)
                    .noteOff(Quarter / 2, part.channel, key);
            } else {
                song.noteOff(3 * Quarter / 4, part.channel, key);
            }
        }
        song.endOfTrack().endTrack();
    }
    return song.bytes();
}

QByteArray closedScoreSong(bool everyChannelTaken)
{
    SmfWriter song;
    song.header(1, everyChannelTaken ? 17 : 2, Quarter);
    song.beginTrack().tempo(0, 500000).endOfTrack().endTrack();
    song.beginTrack()
        .meta(0, SmfWriter::TrackName, "Women")
        .controlChange(0, 0, 0, 0)
        .programChange(0, 0, ChoirAahs)
        .controlChange(0, 0, 7, 100)
        .controlChange(0, 0, 11, 110)
        .controlChange(0, 0, 10, 64)
        .controlChange(0, 0, 101, 0)
        .controlChange(0, 0, 100, 0)
        .controlChange(0, 0, 6, 12)
        .controlChange(0, 0, 38, 0)
        .channel(0, 0xE0, 0x00, 0x40);
    for (int chord = 0; chord < ClosedScoreChords; ++chord) {
        song.noteOn(0, 0, UpperKey, 100).noteOn(0, 0, LowerKey, 100).noteOff(Quarter, 0, UpperKey).noteOff(0, 0, LowerKey);
    }
    song.endOfTrack().endTrack();
    for (int channel = 1; channel < 16 && everyChannelTaken; ++channel) {
        song.beginTrack().noteOn(0, channel, 40, 1).noteOff(10, channel, 40).endOfTrack().endTrack();
    }
    return song.bytes();
}

QByteArray longSong(int minutes)
{
    SmfWriter song;
    song.header(1, 3, Quarter);
    song.beginTrack().tempo(0, 500000).endOfTrack().endTrack();
    const int quarters = minutes * 120;
    for (int channel = 0; channel < 2; ++channel) {
        song.beginTrack().meta(0, SmfWriter::TrackName, channel == 0 ? "Soprano" : "Alto");
        for (int q = 0; q < quarters; q += 8) {
            song.noteOn(q == 0 ? 0 : 7 * Quarter, channel, quint8(60 + 7 * channel), 90).noteOff(Quarter, channel, quint8(60 + 7 * channel));
        }
        song.endOfTrack().endTrack();
    }
    return song.bytes();
}

} // namespace harmonet::test
