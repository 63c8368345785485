// A song sounds the same heard live and rendered to a file: for a set of
// settings (two voices muted, an instrument changed, the track mixer in
// force, my part 12 dB above the others and panned, another tempo), the
// messages the gateway sends while the session plays on a hand-moved clock
// are the ones the offline renderer feeds its synthesizer, each at the same
// moment, from the start and after a seek to the middle. The example song
// and two choir scores rendered by LilyPond.
#include "practice/PracticeMix.h"
#include "render/SongRenderer.h"
#include "sequencer/Clock.h"
#include "sequencer/MidiFile.h"
#include "session/MidiSink.h"
#include "session/PlayingSession.h"
#include "session/Song.h"
#include "tests/practice/AudioMeasure.h"
#include "tests/support/LilyPondScores.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace harmonet::test {
namespace {

struct Sent {
    QByteArray bytes;
    std::optional<TDue> due;
};

std::ostream& operator<<(std::ostream& out, const Sent& sent)
{
    out << sent.bytes.toHex(' ').toStdString();
    if (sent.due) {
        out << " @" << sent.due->ms << " (" << sent.due->exactMs << ")";
    }
    return out;
}

Sent sent(const TMyMidiEvent& message, const std::optional<TDue>& due)
{
    const char bytes[] = {char(message.StatusByte), char(message.FirstData), char(message.SecondData)};
    return {QByteArray(bytes, sizeof bytes), due};
}

class RecordingSink final : public MidiSink {
public:
    bool isOpen() const override { return true; }
    void send(const TMyMidiEvent& message, const std::optional<TDue>& due) override { messages.push_back(sent(message, due)); }
    std::vector<Sent> messages;
};

// The settings a singer might have made: the second and third voice muted,
// the last one on an organ, the track mixer's values for the first voice in
// force, the first voice my part with the others 12 dB below and panned
// apart, and the tempo a quarter faster.
struct Settings {
    SongSettings song;
    PracticeChoice choice;
};

Settings singersSettings(const std::shared_ptr<const Song>& song)
{
    PlayingSession session;
    session.setSong(song);
    Settings settings{session.settings(), {}};
    const QList<TVoice>& voices = song->voices();
    if (voices.size() < 4) {
        ADD_FAILURE() << "four voices wanted, the song has " << voices.size();
        return settings;
    }
    settings.song.bpm = int(std::lround(song->file().Bpm() * 1.25));
    settings.song.trackMixerInForce = true;
    settings.song.tracks[std::size_t(voices[1].track)].muted = true;
    settings.song.tracks[std::size_t(voices[2].track)].muted = true;
    settings.song.tracks[std::size_t(voices.constLast().track)].instrument = QStringLiteral("Church Organ");
    settings.song.tracks[std::size_t(voices[0].track)].volume = 90;
    settings.song.tracks[std::size_t(voices[0].track)].pan = 30;
    settings.choice = {voices[0].key(), -12, true, PanSide::Right};
    return settings;
}

// The player's way: a session on its live sequencer, seeked to fromMs, the
// instruments sent, then playing while its clock moves in uneven steps.
std::vector<Sent> playedLive(const std::shared_ptr<const Song>& song, const Settings& settings, int fromMs)
{
    PlayingSession session;
    session.setSong(song);
    session.applySettings(settings.song);
    session.setPracticeChoice(settings.choice);
    RecordingSink sink;
    session.setSink(&sink);
    ManualClock clock(5000);
    TMidiFile& sequencer = session.sequencer();
    sequencer.SetClock(&clock);
    if (fromMs > 0) {
        session.seek(fromMs);
    }
    session.sendInstruments();
    session.startAt(fromMs);
    for (int step = 0; !sequencer.AllTracksEnded() && step < 1000000; ++step) {
        clock.advanceMs(7);
        sequencer.Tick();
    }
    sequencer.HaltPlay();
    EXPECT_TRUE(sequencer.AllTracksEnded());
    return sink.messages;
}

std::vector<Sent> renderedOffline(const std::shared_ptr<const Song>& song, const Settings& settings, int fromMs)
{
    SongRenderer renderer(8000);
    renderer.setSettings(settings.song);
    renderer.setPracticeChoice(settings.choice);
    std::vector<Sent> messages;
    renderer.setMessageTap(
        [&messages](const TMyMidiEvent& message, const std::optional<TDue>& due) { messages.push_back(sent(message, due)); });
    EXPECT_TRUE(renderer.render(song, [](std::span<const qint16>) {}, {}, fromMs));
    return messages;
}

// An output plays every message at its moment: of what one advance of the
// live sequencer delivers (track by track), the order heard is the order of
// the moments.
std::vector<Sent> inOrderHeard(std::vector<Sent> messages)
{
    std::stable_sort(messages.begin(), messages.end(), [](const Sent& a, const Sent& b) {
        return (a.due ? a.due->ms : -1) < (b.due ? b.due->ms : -1);
    });
    return messages;
}

void expectSameStream(const std::vector<Sent>& live, const std::vector<Sent>& offline)
{
    ASSERT_EQ(live.size(), offline.size());
    for (std::size_t i = 0; i < live.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(live[i].bytes, offline[i].bytes) << live[i] << " / " << offline[i];
        ASSERT_EQ(live[i].due.has_value(), offline[i].due.has_value()) << live[i] << " / " << offline[i];
        if (live[i].due) {
            ASSERT_EQ(live[i].due->ms, offline[i].due->ms) << live[i] << " / " << offline[i];
            ASSERT_NEAR(live[i].due->exactMs, offline[i].due->exactMs, 1e-6) << live[i] << " / " << offline[i];
        }
    }
}

void expectLiveEqualsOffline(const QString& path)
{
    SCOPED_TRACE(path.toStdString());
    const std::shared_ptr<const Song> song = Song::read(path);
    const Settings settings = singersSettings(song);
    const int middle = song->file().SongLengthMs() / 2;
    for (const int fromMs : {0, middle}) {
        SCOPED_TRACE(fromMs);
        const std::vector<Sent> live = inOrderHeard(playedLive(song, settings, fromMs));
        const std::vector<Sent> offline = renderedOffline(song, settings, fromMs);
        ASSERT_GT(live.size(), 20u);
        expectSameStream(live, offline);
        // The settings took effect: no note of a muted voice, my part's levels.
        EXPECT_NE(std::find_if(live.begin(), live.end(), [](const Sent& s) { return quint8(s.bytes[1]) == 123; }),
                  live.end());
    }
}

TEST(SameStream, TheExampleSongLiveAndOffline)
{
    HARMONET_REQUIRE_SOUNDFONT();
    expectLiveEqualsOffline(sourceDir() + QStringLiteral("/examples/old-hundredth.mid"));
}

TEST(SameStream, ChoirScoresLiveAndOffline)
{
    HARMONET_REQUIRE_SOUNDFONT();
    for (const char* score : {"Oyseaux-Endfassung", "Mendelssohn-BartholdyF_op_23_No_1"}) {
        HARMONET_REQUIRE_LILYPOND_SCORE(folder, QString::fromLatin1(score));
        expectLiveEqualsOffline(folder + QLatin1Char('/') + QLatin1String(score) + QStringLiteral(".midi"));
    }
}

} // namespace
} // namespace harmonet::test
