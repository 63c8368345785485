#pragma once

#include <QString>

namespace harmonet::test {

// The folder holding the MIDI files LilyPond writes for one score of the
// shared test data (NAME.midi, or NAME.midi, NAME-1.midi, ... for a book of
// several scores), rendered once into the build tree and reused by later
// runs; an empty string when lilypond, the test data or the score is absent,
// or when LilyPond wrote no MIDI file.
QString renderedLilyPondScore(const QString& name);

// The same for a copy of the score whose every \midi block starts with
// midiSettings (context modifications such as
// "\context { \Staff midiChannelMapping = #'voice }"), cached under
// NAME-variant; empty also when the score has no \midi block.
QString renderedLilyPondScore(const QString& name, const QString& variant, const QString& midiSettings);

} // namespace harmonet::test

// Sets folder to the rendered score, or skips the current test.
#define HARMONET_REQUIRE_LILYPOND_SCORE(folder, name)                                 \
    const QString folder = ::harmonet::test::renderedLilyPondScore(name);             \
    do {                                                                              \
        if (folder.isEmpty())                                                         \
            GTEST_SKIP() << "lilypond or the score is not present: "                   \
                         << ::QString(name).toStdString();                            \
    } while (false)
