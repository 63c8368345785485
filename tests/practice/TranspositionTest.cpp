// The transposition on the way out: shifted keys whose note-offs end what
// their note-ons started, whatever the transposition is by then; channel
// tunings that leave the song's own parameter choice in place; drums and
// the clicks' channel untouched.
#include "practice/Transposition.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>

#include <bitset>

namespace harmonet::test {
namespace {

QByteArray bytes(const TMyMidiEvent& message)
{
    const char raw[] = {char(message.StatusByte), char(message.FirstData), char(message.SecondData)};
    return QByteArray(raw, sizeof raw);
}

QByteArray msg(int status, int first, int second)
{
    return bytes(TMyMidiEvent(quint8(status), quint8(first), quint8(second)));
}

// What goes out of the message (empty when it is left out).
QByteArray through(TTransposition& transposition, int status, int first, int second)
{
    TMyMidiEvent message{quint8(status), quint8(first), quint8(second)};
    return transposition.route(message) ? bytes(message) : QByteArray();
}

TEST(Transposition, ShiftedNoteOffsEndTheKeysTheirNoteOnsStarted)
{
    // Each step: a transposition to set first (or keep), the message, and what goes out.
    const struct {
        int semitones;
        int status, key, velocity;
        QByteArray out;
    } steps[] = {
        {2, 0x90, 60, 100, msg(0x90, 62, 100)},
        {-3, 0x90, 64, 100, msg(0x90, 61, 100)},
        {-3, 0x80, 60, 0, msg(0x80, 62, 0)},      // started at +2
        {5, 0x90, 64, 0, msg(0x90, 61, 0)},       // a note-on of velocity 0 ends it too
        {5, 0x99, 38, 100, msg(0x99, 38, 100)},   // the drums keep their keys
        {5, 0x89, 38, 0, msg(0x89, 38, 0)},
        {12, 0x90, 120, 90, QByteArray()},        // beyond 127: left out
        {0, 0xA0, 120, 30, QByteArray()},         // with what follows it
        {0, 0x80, 120, 0, QByteArray()},
        {7, 0x91, 50, 80, msg(0x91, 57, 80)},
        {0, 0xA1, 50, 30, msg(0xA1, 57, 30)},     // key pressure follows its note
        {0, 0x91, 50, 80, msg(0x91, 50, 80)},     // the same key again, now unshifted
        {0, 0x81, 50, 0, msg(0x81, 57, 0)},       // the first one ends first
        {0, 0x81, 50, 0, msg(0x81, 50, 0)},
        {0, 0x81, 50, 0, msg(0x81, 50, 0)},       // a note-off without its note-on passes
    };
    TTransposition transposition;
    int index = 0;
    for (const auto& step : steps) {
        transposition.setSemitones(step.semitones, {});
        EXPECT_EQ(through(transposition, step.status, step.key, step.velocity), step.out) << "step " << index++;
    }
    EXPECT_EQ(transposition.shiftedNotesSounding(), 0) << "every note-on ended";
    transposition.setSemitones(TTransposition::Highest + 5, {});
    EXPECT_EQ(transposition.semitones(), TTransposition::Highest);
}

TEST(Transposition, AllNotesOffForgetsWhatSoundsOnItsChannelOnly)
{
    TTransposition transposition;
    transposition.setSemitones(3, {});
    through(transposition, 0x90, 60, 100);
    through(transposition, 0x91, 60, 100);
    EXPECT_EQ(through(transposition, 0xB0, 123, 0), msg(0xB0, 123, 0));
    EXPECT_EQ(transposition.shiftedNotesSounding(), 1);
    transposition.setSemitones(0, {});
    EXPECT_EQ(through(transposition, 0x80, 60, 0), msg(0x80, 60, 0)) << "ended by All Notes Off already";
    EXPECT_EQ(through(transposition, 0x81, 60, 0), msg(0x81, 63, 0));
}

TEST(Transposition, TuningSetsEachTouchedChannelAndPutsBackTheSongsParameter)
{
    TTransposition transposition;
    QList<QByteArray> sent;
    const TTransposition::Send record = [&sent](const TMyMidiEvent& message) { sent.append(bytes(message)); };
    transposition.setTunesChannels(true, record);
    EXPECT_TRUE(sent.isEmpty()) << "nothing to tune at 0";
    // The song chose pitch bend range on channel 1 and a non-registered parameter on channel 2.
    const int choices[][3] = {{0xB0, 101, 0}, {0xB0, 100, 0}, {0xB1, 99, 1}, {0xB1, 98, 8}};
    for (const auto& choice : choices) {
        through(transposition, choice[0], choice[1], choice[2]);
    }
    std::bitset<16> untouched;
    untouched.set(9).set(15);
    transposition.setUntouched(untouched, record);
    transposition.setSemitones(-2, record);
    ASSERT_EQ(sent.size(), 14 * 6) << "six messages for each of the fourteen touched channels";
    EXPECT_EQ(sent.mid(0, 6), (QList<QByteArray>{msg(0xB0, 101, 0), msg(0xB0, 100, 2), msg(0xB0, 6, 62), msg(0xB0, 38, 0),
                                                 msg(0xB0, 101, 0), msg(0xB0, 100, 0)}));
    EXPECT_EQ(sent.mid(6, 6), (QList<QByteArray>{msg(0xB1, 101, 0), msg(0xB1, 100, 2), msg(0xB1, 6, 62), msg(0xB1, 38, 0),
                                                 msg(0xB1, 99, 1), msg(0xB1, 98, 8)}));
    EXPECT_EQ(sent.mid(12, 6).at(5), msg(0xB2, 100, 127)) << "no choice made: none again";
    for (const QByteArray& message : sent) {
        EXPECT_NE(message.at(0) & 0x0F, 9) << "channel 10 keeps its tuning";
        EXPECT_NE(message.at(0) & 0x0F, 15);
    }
    EXPECT_EQ(through(transposition, 0x90, 60, 100), msg(0x90, 60, 100)) << "tuned, notes go out as written";

    sent.clear();
    through(transposition, 0xB4, 121, 0);
    transposition.sent(TMyMidiEvent(0xB4, 121, 0), record);
    EXPECT_EQ(sent.mid(0, 3).at(2), msg(0xB4, 6, 62)) << "a reset of the controllers took the tuning: it goes out again";
    EXPECT_EQ(sent.size(), 6);

    sent.clear();
    transposition.setTunesChannels(false, record);
    EXPECT_EQ(sent.size(), 14 * 6);
    EXPECT_EQ(sent.at(2), msg(0xB0, 6, 64)) << "back to shifting, the channels are tuned back";
}

} // namespace
} // namespace harmonet::test
