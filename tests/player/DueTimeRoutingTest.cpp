// What the main window routes for a dispatched event carries the moment the
// event fell due, however late the window got to it; what it sends of its own
// accord (the instruments at Play) carries none.
#include "tests/player/PlayerFixture.h"

#include "sequencer/MidiFile.h"
#include "tests/support/ScriptedSteadyClock.h"

#include <chrono>

namespace harmonet::test {
namespace {

using namespace std::chrono;

using DueTimeRoutingTest = PlayerTest;

TEST_F(DueTimeRoutingTest, RoutedMessagesCarryTheirEventsDueMoment)
{
    TfrmMain& main = showWindow({writeFile(QStringLiteral("choir.mid"), choirSong({"Soprano", "Alto"}))});
    ScriptedSteadyClock clock(5000);
    main.MidiFile1->SetClock(&clock);
    recorder->clearMessages();
    main.Play1->trigger(); // playing time 0 at clock 5000
    for (const RecordedMessage& message : recorder->messages()) {
        EXPECT_FALSE(message.due.has_value()) << "sent by the window itself";
    }
    recorder->clearMessages();
    // 50 ms late: the notes ending at tick 960 (1000 ms) fell due at 1001 ms.
    clock.nowMsValue = 5000 + 1050;
    main.MidiFile1->Tick();
    int endings = 0;
    for (const RecordedMessage& message : recorder->messages()) {
        const quint8 kind = quint8(message.bytes[0]) & 0xF0;
        if (kind == 0x80 || (kind == 0x90 && quint8(message.bytes[2]) == 0)) {
            ++endings;
            ASSERT_TRUE(message.due.has_value());
            EXPECT_EQ(*message.due, steady_clock::time_point(milliseconds(5000 + 1001)));
        }
    }
    EXPECT_EQ(endings, 2);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

} // namespace
} // namespace harmonet::test
