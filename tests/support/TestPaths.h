#pragma once

#include <QString>

namespace harmonet::test {

// Folder of the third-party MIDI files, or an empty string when it is absent
// (tests that need it then skip).
QString thirdPartyDataDir();

// The project's source folder (for the example song and other committed files).
QString sourceDir();

} // namespace harmonet::test

// Skips the current test when the third-party data folder is not present.
#define HARMONET_REQUIRE_TESTDATA()                                                   \
    do {                                                                              \
        if (::harmonet::test::thirdPartyDataDir().isEmpty())                          \
            GTEST_SKIP() << "third-party MIDI test data not present";                 \
    } while (false)
