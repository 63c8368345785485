// The read-out's text and fields for ordinary, long, negative and extreme times.
#include "widgets/cmpTimeDisplay.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <ostream>
#include <string>

namespace harmonet {
namespace {

struct TextCase {
    qint32 ms;
    const char* text;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.ms << " ms"; }

class TimeDisplayText : public ::testing::TestWithParam<TextCase> {};

TEST_P(TimeDisplayText, FormatsHoursWithSpaceAndOtherFieldsWithZeros)
{
    EXPECT_EQ(TTimeDisplay::formatTime(GetParam().ms), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Table, TimeDisplayText,
    ::testing::Values(TextCase{0, " 0:00:00.00"}, TextCase{3723450, " 1:02:03.45"},
                      TextCase{45296789, "12:34:56.78"}, TextCase{9, " 0:00:00.00"},
                      TextCase{359999999, "99:59:59.99"}, TextCase{360000000, "100:00:00.00"},
                      // Negative times: every non-zero field keeps its own minus sign.
                      TextCase{-37, " 0:00:00.-03"}, TextCase{-1000, " 0:00:-01.00"},
                      TextCase{-3723450, "-1:-02:-03.-45"},
                      TextCase{-45296789, "-12:-34:-56.-78"},
                      TextCase{std::numeric_limits<qint32>::max(), "596:31:23.64"},
                      TextCase{std::numeric_limits<qint32>::min(), "-596:-31:-23.-64"}),
    [](const ::testing::TestParamInfo<TextCase>& info) {
        const qint32 ms = info.param.ms;
        return (ms < 0 ? std::string("Minus") : std::string()) + std::to_string(std::abs(qint64(ms))) + "ms";
    });

TEST(TimeDisplayFields, FollowTimeByNameAndAreReadOnly)
{
    TTimeDisplay display;
    EXPECT_EQ(display.size(), QSize(100, 20));
    ASSERT_TRUE(display.setProperty("Time", -3723450));
    EXPECT_EQ(display.property("Hours").toInt(), -1);
    EXPECT_EQ(display.property("Mins").toInt(), -2);
    EXPECT_EQ(display.property("Secs").toInt(), -3);
    EXPECT_EQ(display.property("CS").toInt(), -45);
    EXPECT_FALSE(display.setProperty("Hours", 5));

    // Hours are never wrapped at a day.
    display.setTime(360000000);
    EXPECT_EQ(display.hours(), 100);
    EXPECT_EQ(display.mins(), 0);
}

} // namespace
} // namespace harmonet
