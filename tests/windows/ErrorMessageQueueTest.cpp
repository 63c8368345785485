#include "windows/ErrorMessageQueue.h"

#include <gtest/gtest.h>

using namespace harmonet;

namespace {

// Errors raised while a message box is open (its event loop keeps playback
// ticking) wait for it instead of opening boxes inside boxes.
TEST(ErrorMessageQueue, ErrorsDuringAShownMessageWaitTheirTurnWithoutRepeats)
{
    QStringList shown;
    int depth = 0;
    int deepest = 0;
    TErrorMessageQueue* queue = nullptr;
    TErrorMessageQueue errors([&](const QString& message) {
        shown.append(message);
        deepest = std::max(deepest, ++depth);
        if (message == "MIDI Output device not open") {
            // The same error from every tick, and one other, while this box is open.
            queue->report("MIDI Output device not open");
            queue->report("Invalid device ID");
            queue->report("MIDI Output device not open");
            queue->report("Invalid device ID");
        }
        --depth;
    });
    queue = &errors;

    errors.report("MIDI Output device not open");
    EXPECT_EQ(shown, QStringList({"MIDI Output device not open", "Invalid device ID"}));
    EXPECT_EQ(deepest, 1);

    // Once every box is closed, the same message is shown again when it recurs.
    errors.report("MIDI Output device not open");
    EXPECT_EQ(shown.size(), 4);
}

TEST(ErrorMessageQueue, AMessageThatCannotBeShownDoesNotStopTheNext)
{
    QStringList shown;
    TErrorMessageQueue* queue = nullptr;
    TErrorMessageQueue errors([&](const QString& message) {
        shown.append(message);
        if (message == "first") {
            queue->report("second");
            throw std::runtime_error("no display");
        }
    });
    queue = &errors;
    errors.report("first");
    errors.report("third");
    EXPECT_EQ(shown, QStringList({"first", "second", "third"}));
}

} // namespace
