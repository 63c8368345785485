// The gateway: messages made by name with their data kept to 7 bits, and the
// one check of the output: the song's messages and the user's changes need
// an open output, what the session sends of its own accord waits for one.
#include "midiout/MidiOutError.h"
#include "session/MidiSink.h"
#include "session/PlayingSession.h"
#include "session/Song.h"
#include "sequencer/SmfWriter.h"

#include <gtest/gtest.h>

namespace harmonet::test {
namespace {

QByteArray bytes(const TMyMidiEvent& message)
{
    const char raw[] = {char(message.StatusByte), char(message.FirstData), char(message.SecondData)};
    return QByteArray(raw, sizeof raw);
}

class SwitchedSink final : public MidiSink {
public:
    bool isOpen() const override { return open; }
    void send(const TMyMidiEvent& message, const std::optional<TDue>&) override { sent.append(bytes(message)); }
    bool open = false;
    QList<QByteArray> sent;
};

TEST(Gateway, BuildersNameTheMessageAndKeepDataToSevenBits)
{
    const struct {
        const char* what;
        TMyMidiEvent message;
        QByteArray expected;
    } cases[] = {
        {"note on channel 1", MidiGateway::note(1, 60, 100), QByteArray("\x90\x3C\x64", 3)},
        {"note off by velocity 0 on channel 16", MidiGateway::note(16, 72, 0), QByteArray("\x9F\x48\x00", 3)},
        {"controller out of range", MidiGateway::controller(3, 7, 300), QByteArray("\xB2\x07\x7F", 3)},
        {"program below 0", MidiGateway::program(10, -5), QByteArray("\xC9\x00\x00", 3)},
        {"all notes off", MidiGateway::allNotesOff(2), QByteArray("\xB1\x7B\x00", 3)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(bytes(c.message), c.expected) << c.what;
    }
}

TEST(Gateway, TheSongsMessagesNeedAnOpenOutputWhatTheSessionSendsItselfWaits)
{
    SmfWriter writer;
    writer.header(1, 2, 480);
    writer.beginTrack().tempo(0, 500000).endOfTrack().endTrack();
    writer.beginTrack().meta(0, 0x03, "Soprano").programChange(0, 0, 52).noteOn(0, 0, 60, 100).noteOff(480, 0, 60)
        .endOfTrack().endTrack();
    PlayingSession session;
    session.setSong(Song::fromBytes(writer.bytes()));
    SwitchedSink sink;
    session.setSink(&sink);

    session.gateway().silence();
    session.gateway().silenceTrack(1);
    session.setMuted(1, true);
    EXPECT_TRUE(sink.sent.isEmpty());
    EXPECT_THROW(session.setInstrument(1, 19), EmidioutputError);
    EXPECT_EQ(session.track(1).instrument, QStringLiteral("Choir Aahs")) << "not recorded";
    EXPECT_THROW(session.setTrackVolume(1, 90), EmidioutputError);
    EXPECT_THROW(session.dispatch(*session.sequencer().TrackAt(1)->EventAt(1)), EmidioutputError);

    sink.open = true;
    session.gateway().silenceTrack(1);
    session.setInstrument(1, 20);
    session.dispatch(*session.sequencer().TrackAt(1)->EventAt(1));
    EXPECT_EQ(sink.sent, (QList<QByteArray>{QByteArray("\xB0\x7B\x00", 3), QByteArray("\xC0\x14\x00", 3),
                                            QByteArray("\xC0\x14\x00", 3), QByteArray("\xB0\x7B\x00", 3)}))
        << "a program change of the file gives way to the instrument; muted, it silences the channel";
}

} // namespace
} // namespace harmonet::test
