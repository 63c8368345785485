// libFuzzer target: every input is a MIDI file. It is written to a scratch
// file and loaded through TMidiFile::LoadSong, as the player loads a song;
// then the loaded model is walked, its bars and phrases are laid out and
// asked about, and it is played to its end on a hand-driven clock.
// Besides the sanitizers' findings, a broken invariant of the model aborts.
//
// The scratch file lives in memory (memfd) and is opened by its /proc path:
// a file on disk rewritten thousands of times a second makes the file system
// flush it on every close, which slows fuzzing tenfold.
#include "fuzz/Invariant.h"
#include "sequencer/BarMap.h"
#include "sequencer/MidiFile.h"
#include "sequencer/PhraseStart.h"

#include <QCoreApplication>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

using namespace harmonet;

namespace {

QString g_scratchPath;
int g_scratchFd = -1;
// Keeps the model walk's reads from being optimised away.
volatile unsigned g_checksumSink = 0;

using fuzz::invariantBroken;

bool writeScratchFile(const uint8_t* data, size_t size)
{
    if (::ftruncate(g_scratchFd, 0) != 0)
        return false;
    size_t written = 0;
    while (written < size) {
        const ssize_t n = ::pwrite(g_scratchFd, data + written, size - written, off_t(written));
        if (n <= 0)
            return false;
        written += size_t(n);
    }
    return true;
}

// Reads every field of every event (the text through its pool reference, so a
// reference outside the file's bytes shows up under the address sanitizer) and
// checks what the model promises.
void walkModel(const TMidiFile& song)
{
    unsigned checksum = 0;
    for (int index = 0; index < song.NumberOfTracks(); ++index) {
        const TMidiTrack& track = *song.TrackAt(index);
        if (track.TrackNumber() != index)
            invariantBroken("a track's number differs from its place in the list");
        if (track.Channel() < 0 || track.Channel() > 16)
            invariantBroken("a track's channel is outside 0..16");
        qint32 previousTicks = 0;
        for (int i = 0; i < track.EventCount(); ++i) {
            const PMidiEvent event = track.EventAt(i);
            if (event == nullptr)
                invariantBroken("EventAt gave null inside the track");
            if (event->Ticks < previousTicks)
                invariantBroken("Ticks decrease within a track");
            if (event->DeltaTicks < 0)
                invariantBroken("a negative delta time");
            if (event->Status != 0xFF && !event->Text().isEmpty())
                invariantBroken("a text on an event that is not a meta event");
            previousTicks = event->Ticks;
            for (const char c : event->Text())
                checksum += static_cast<unsigned char>(c);
            checksum += event->Status + event->Value1 + event->Value2 + unsigned(event->NoteTicks);
        }
        if (track.EventAt(-1) != nullptr || track.EventAt(track.EventCount()) != nullptr)
            invariantBroken("EventAt gave an event outside the track");
        if (track.LastEventTicks() != (track.EventCount() ? track.EventAt(track.EventCount() - 1)->Ticks : 0))
            invariantBroken("LastEventTicks is not the last event's Ticks");
        checksum += unsigned(track.CountChannelEvents() + track.TrackName().size() + track.InstrumentName().size());
    }
    if (song.NumberOfTracks() > 0) {
        for (int channel = 1; channel <= 16; ++channel)
            checksum += unsigned(song.TrackForChannel(channel)->TrackNumber());
    }
    g_checksumSink = checksum;
}

// The bars of the song with its own upbeat or the one set by hand: each of
// the first and the last bars (a song may hold billions) lies where the map
// says, in order, with a metre and a finite time; and the phrase each part is
// in at its end started before it.
void walkBars(const TMidiFile& song, bool followTempoChanges, double pickupBeats)
{
    const TBarMap bars = TBarMap::ofSong(song, followTempoChanges, pickupBeats);
    if (bars.IsEmpty() != (song.TicksPerQuarter() <= 0))
        invariantBroken("a bar map is empty with a division, or has bars without one");
    if (bars.IsEmpty())
        return;
    if (bars.FirstBar() != (bars.PickupBeats() > 0.0 ? 0 : 1) || bars.LastBar() < bars.FirstBar())
        invariantBroken("the bars do not start at 0 with an upbeat and at 1 without");
    unsigned checksum = 0;
    double previousTicks = -1.0;
    const qint64 head = std::min<qint64>(bars.LastBar(), bars.FirstBar() + 32);
    const qint64 tail = std::max<qint64>(head + 1, bars.LastBar() - 32);
    for (qint64 bar = bars.FirstBar(); bar <= bars.LastBar() + 1; bar = bar == head ? tail : bar + 1) {
        const double ticks = bars.TicksOfBar(bar);
        if (!(ticks > previousTicks) && !(bar > bars.LastBar() && ticks >= previousTicks))
            invariantBroken("bars do not start one after another");
        previousTicks = ticks;
        if (!std::isfinite(bars.MsOfBar(bar)) || !std::isfinite(bars.BeatsOfBar(bar)))
            invariantBroken("a bar's time or length is not a number");
        const TMetre metre = bars.MetreOfBar(bar);
        if (metre.Numerator < 1 || metre.Denominator < 1 || metre.Denominator > 128)
            invariantBroken("a bar without a metre");
        if (bar <= bars.LastBar() && bars.BarAtTicks(ticks).Bar != bar)
            invariantBroken("the start of a bar lies in another bar");
        checksum += unsigned(barBeatText(bars.BarAtMs(bars.MsOfBar(bar))).size());
    }
    for (int index = 0; index < song.NumberOfTracks(); ++index) {
        const std::vector<TNoteSpan> notes = notesOfTrack(*song.TrackAt(index));
        const double end = double(song.TrackAt(index)->LastEventTicks()) + 1.0;
        const std::optional<qint64> start = phraseStartBefore(notes, end, bars);
        if (start.has_value() != !notes.empty() || (start && double(*start) >= end))
            invariantBroken("a part's phrase does not start before its end");
        checksum += unsigned(start.value_or(0));
    }
    g_checksumSink = g_checksumSink + checksum;
}

// Plays the whole song from its start to just past its end in at most about
// a hundred advances: every event must be dispatched exactly once, in order
// within its track. Then seeks back to the middle and plays on a little.
void playModel(TMidiFile& song, uint8_t tempoByte)
{
    const int trackCount = song.NumberOfTracks();
    std::vector<qint64> dispatched(size_t(trackCount), 0);
    bool outOfOrder = false;
    // Tracks dispatch in list order, so the owner of an event is looked for
    // from the owner of the one before, which keeps a song of thousands of
    // tracks quick to play.
    int owner = 0;
    song.SetOnMidiEvent([&](PMidiEvent event) {
        for (int k = 0; k < trackCount; ++k) {
            const int index = (owner + k) % trackCount;
            const auto events = song.TrackAt(index)->Events();
            if (!events.empty() && event >= events.data() && event < events.data() + events.size()) {
                outOfOrder |= event - events.data() != dispatched[size_t(index)];
                ++dispatched[size_t(index)];
                owner = index;
                return;
            }
        }
        invariantBroken("a dispatched event belongs to no track");
    });

    ManualClock clock(0);
    song.SetClock(&clock);
    song.PlayFromStart();
    const qint64 lengthMs = song.SongLengthMs();
    // One tick past the last event, so that its rounded position is passed;
    // through the tempo map that tick may be slower than the first.
    qint64 endMs = lengthMs + qint64(song.MicrosecondsPerTick() / 1000.0) + 2;
    if (song.FollowsTempoChanges()) {
        qint64 lastTicks = 0;
        for (int index = 0; index < trackCount; ++index)
            lastTicks = std::max<qint64>(lastTicks, song.TrackAt(index)->LastEventTicks());
        endMs = qint64(std::min(std::ceil(song.MsAtTicks(double(lastTicks) + 1.0)), 1.0e15)) + 2;
    }
    const qint64 step = std::max<qint64>(1, endMs / 100);
    for (qint64 ms = step; ms < endMs + step; ms += step) {
        clock.setNowMs(ms);
        song.AdvanceTo(int(std::min<qint64>(ms, INT_MAX)));
    }
    if (song.MicrosecondsPerTick() > 0.0 && endMs < INT_MAX / 2) {
        for (int index = 0; index < trackCount; ++index) {
            if (dispatched[size_t(index)] != song.TrackAt(index)->EventCount())
                invariantBroken("playing to the end did not dispatch every event exactly once");
        }
        if (!song.AllTracksEnded())
            invariantBroken("tracks not ended after playing to the end");
    }
    if (outOfOrder)
        invariantBroken("events of a track were dispatched out of order");

    const int middle = int(std::min<qint64>(lengthMs / 2, INT_MAX));
    song.SeekTo(middle);
    song.AdvanceTo(middle);
    try {
        song.SetBpm(1 + tempoByte * 4);
    } catch (const Exception&) {
        // A tempo the song cannot take is refused with an error; fine here.
    }
    song.AdvanceTo(int(std::min<qint64>(qint64(middle) + step, INT_MAX)));
    song.HaltPlay();
    song.SetOnMidiEvent(nullptr);
    song.SetClock(nullptr);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The engine's timers need an application object; no event loop runs.
    static QCoreApplication app(*argc, *argv);
    g_scratchFd = ::memfd_create("harmonet-fuzz-input", 0);
    if (g_scratchFd < 0) {
        std::perror("harmonet-fuzz-reader: cannot create a scratch file");
        std::exit(1);
    }
    g_scratchPath = QStringLiteral("/proc/self/fd/%1").arg(g_scratchFd);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!writeScratchFile(data, size)) {
        std::perror("harmonet-fuzz-reader: cannot write the scratch file");
        std::abort();
    }
    TMidiFile song;
    song.SetFilename(g_scratchPath);
    // The second load starts from what the first left (header fields, tempo,
    // a played song), as when the player opens one file after another, and
    // follows the file's tempo changes.
    for (int load = 0; load < 2; ++load) {
        song.SetFollowTempoChanges(load == 1);
        try {
            song.LoadSong();
        } catch (const Exception&) {
            // A damaged file fails with a message; the tracks read so far stay.
        }
        walkModel(song);
        walkBars(song, load == 1, size > 1 ? data[size - 2] / 16.0 : 0.0);
        playModel(song, size > 0 ? data[size - 1] : 0);
    }
    return 0;
}
