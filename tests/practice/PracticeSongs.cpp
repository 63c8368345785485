#include "tests/practice/PracticeSongs.h"

#include "sequencer/SmfWriter.h"

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
