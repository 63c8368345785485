// The words of a song: one encoding for all its texts, its sources of words
// (lyric events, karaoke text) and every voice paired with the words its
// singer follows, in built files, in files of other programs and in scores
// rendered by LilyPond.
#include "SequencerTestSupport.h"
#include "sequencer/SongWords.h"
#include "tests/support/LilyPondScores.h"
#include "tests/support/TestPaths.h"

#include <QDir>
#include <map>

using namespace harmonet;
using namespace harmonet::test;

namespace {

// One track of a built song: its name, notes at the onsets (on channel, when
// it has notes) and texts of one meta type at their ticks.
struct SongTrack {
    QByteArray name;
    QList<qint32> onsets;
    QList<std::pair<qint32, QByteArray>> texts;
    quint8 textType = SmfWriter::Lyric;
};

// A format 1 song at 480 ticks a quarter: a tempo track, then the tracks;
// the n-th track with notes plays on channel n.
QByteArray song(const QList<SongTrack>& tracks)
{
    SmfWriter w;
    w.header(1, quint16(tracks.size() + 1), 480);
    w.beginTrack().tempo(0, 500000).endOfTrack().endTrack();
    int channel = 0;
    for (const SongTrack& track : tracks) {
        w.beginTrack();
        if (!track.name.isEmpty()) {
            w.meta(0, SmfWriter::TrackName, track.name);
        }
        // Texts before the note at the same tick, as most programs write them.
        std::multimap<qint32, int> order;
        for (qsizetype k = 0; k < track.texts.size(); ++k) {
            order.emplace(track.texts[k].first, int(k));
        }
        for (const qint32 onset : track.onsets) {
            order.emplace(onset, -1);
        }
        qint32 now = 0;
        for (const auto& [ticks, text] : order) {
            if (text >= 0) {
                w.meta(quint64(ticks - now), track.textType, track.texts[text].second);
                now = ticks;
            } else {
                w.noteOn(quint64(ticks - now), channel, 60, 90).noteOff(100, channel, 60);
                now = ticks + 100;
            }
        }
        channel += track.onsets.isEmpty() ? 0 : 1;
        w.endOfTrack().endTrack();
    }
    return w.bytes();
}

QList<qint32> every(qint32 step, int count, qint32 from = 0)
{
    QList<qint32> ticks;
    for (int k = 0; k < count; ++k) {
        ticks.append(from + k * step);
    }
    return ticks;
}

QList<std::pair<qint32, QByteArray>> syllablesAt(const QList<qint32>& ticks, const QByteArray& word = "la")
{
    QList<std::pair<qint32, QByteArray>> texts;
    for (const qint32 t : ticks) {
        texts.append({t, word});
    }
    return texts;
}

TSongWords wordsOf(TMidiFile& file, const QByteArray& bytes)
{
    file.LoadSongFromBytes(bytes);
    TSongWords words;
    words.build(file);
    return words;
}

QList<QList<int>> pairing(const TSongWords& words)
{
    QList<QList<int>> paired;
    for (const TVoiceWords& voice : words.voices()) {
        paired.append(voice.words);
    }
    return paired;
}

struct EncodingCase {
    const char* what;
    QList<QByteArray> texts;
    const char* encoding;
    QStringList decoded;
};

TEST(SongWords, OneEncodingIsFoundForAllTextsOfAFile)
{
    const QList<EncodingCase> cases = {
        {"plain ASCII", {"Soprano", "Glo", "ry"}, "ASCII", {"Soprano", "Glo", "ry"}},
        {"valid UTF-8", {"Sopr\xC3\xA1n", "\xE6\x98\x8E"}, "UTF-8", {QStringLiteral("Sopr\u00E1n"), QStringLiteral("\u660E")}},
        {"windows-1252 letters and quotes",
         {"\x93\xC7\x61 a \xE9t\xE9 tr\xE8s \xE9l\xE9gant\x94, d\xE9j\xE0 \xE0 c\xF4t\xE9 du ch\x9Cur"},
         "windows-1252",
         {QStringLiteral("\u201C\u00C7a a \u00E9t\u00E9 tr\u00E8s \u00E9l\u00E9gant\u201D, d\u00E9j\u00E0 \u00E0 "
                         "c\u00F4t\u00E9 du ch\u0153ur")}},
        {"too little to guess from: windows-1252, and a UTF-8 text among them stays UTF-8",
         {"Ky\xC3\xA9", "ri\xE9"},
         "windows-1252",
         {QStringLiteral("Ky\u00E9"), QStringLiteral("ri\u00E9")}},
    };
    for (const EncodingCase& c : cases) {
        const QList<QByteArrayView> views(c.texts.begin(), c.texts.end());
        const TTextEncoding encoding = TTextEncoding::detect(views);
        EXPECT_EQ(encoding.name(), c.encoding) << c.what;
        QStringList decoded;
        for (const QByteArray& text : c.texts) {
            decoded.append(encoding.decode(text));
        }
        EXPECT_EQ(decoded, c.decoded) << c.what;
    }
}

TEST(SongWords, AChosenEncodingDecodesStrictlyAndAnUnknownOneIsWindows1252)
{
    EXPECT_EQ(TTextEncoding("GBK").decode("\xC3\xF7\xC9\xBD"), QStringLiteral("\u660E\u5C71"));
    EXPECT_EQ(TTextEncoding("windows-1252").decode("Ky\xC3\xA9"), QStringLiteral("Ky\u00C3\u00A9"))
        << "chosen by hand, the encoding applies to every text";
    EXPECT_EQ(TTextEncoding("no-such-encoding").name(), "windows-1252");
}

struct PairingCase {
    const char* what;
    QList<SongTrack> tracks;
    QList<QList<int>> words;
};

TEST(SongWords, EveryVoiceIsPairedWithTheWordsItsSingerFollows)
{
    const QList<qint32> even = every(480, 20);
    const QList<qint32> dotted = every(720, 20);
    QList<qint32> almostEven = even;
    almostEven[7] += 240; // one note in twenty off the others' beat
    const QList<PairingCase> cases = {
        {"names decide between voices of one rhythm",
         {{":altusNotes", even, {}}, {":tenorNotes", even, {}},
          {"tenorLyrics:", {}, syllablesAt(even)}, {"altusLyrics:", {}, syllablesAt(even)}},
         {{4}, {3}}},
        {"words right after each voice",
         {{"", even, {}}, {"", {}, syllablesAt(even)}, {"", even, {}}, {"", {}, syllablesAt(even)}},
         {{2}, {4}}},
        {"all words at the end, in the voices' order",
         {{"S", even, {}}, {"A", even, {}}, {"", {}, syllablesAt(even)}, {"", {}, syllablesAt(even)}},
         {{3}, {4}}},
        {"onsets outweigh the place",
         {{"", even, {}}, {"", {}, syllablesAt(dotted)}, {"", dotted, {}}, {"", {}, syllablesAt(even)}},
         {{4}, {2}}},
        {"own lyrics first, then a further verse",
         {{"Soprano", even, syllablesAt(even, "Glo")}, {"verse 2", {}, syllablesAt(even)}},
         {{1, 2}}},
        {"verses of the upper staff shared with the lower one, none for the organ",
         {{"upper", even, {}}, {"", {}, syllablesAt(even)}, {"", {}, syllablesAt(even)},
          {"lower", almostEven, {}}, {"organ", dotted, {}}},
         {{2, 3}, {2, 3}, {}}},
    };
    for (const PairingCase& c : cases) {
        TMidiFile file;
        EXPECT_EQ(pairing(wordsOf(file, song(c.tracks))), c.words) << c.what;
    }
}

TEST(SongWords, KaraokeTextCountsAsSyllablesUnlessTheFileHasLyricEvents)
{
    const SongTrack remark{"Info", {}, {{0, "A text, not sung"}}, SmfWriter::Text};
    const SongTrack words{"Words", {}, {{0, "@TTwinkle"}, {0, "\\Twin"}, {240, "kle "}, {480, "/lit"}}, SmfWriter::Text};
    SongTrack melody{"Melody", {0, 240, 480}, {}};

    TMidiFile file;
    const TSongWords kar = wordsOf(file, song({remark, words, melody}));
    ASSERT_EQ(kar.sources().size(), 1) << "only the track in the karaoke layout";
    EXPECT_EQ(kar.sources().constFirst().kind, TWordsSource::Kind::Karaoke);
    EXPECT_EQ(kar.chosenWordsOf(3), 2) << "the melody follows it";

    melody.texts = {{0, "Twin"}};
    const TSongWords both = wordsOf(file, song({remark, words, melody}));
    ASSERT_EQ(both.sources().size(), 1);
    EXPECT_EQ(both.sources().constFirst().kind, TWordsSource::Kind::Lyric) << "lyric events win";
}

TEST(SongWords, BareSyllablesOfAWordsTrackAreShownWithSpacesAndNoFalseVerses)
{
    const QList<qint32> ticks = every(480, 6);
    const SongTrack voice{"Alt", ticks, {}};
    const SongTrack bare{"versealt", {}, {{0, "Hin"}, {480, "ist"}, {960, "al-"}, {1440, "le"}, {1920, "y."}, {2400, "2."}}};
    TMidiFile file;
    const TSongWords words = wordsOf(file, song({voice, bare}));
    QStringList shown;
    int verses = 0;
    for (const TWordsSyllable& syllable : words.sourceOf(2)->syllables) {
        shown.append(syllable.shown);
        verses += syllable.opensVerse ? 1 : 0;
    }
    EXPECT_EQ(shown, QStringList({"Hin ", "ist ", "al-", "le ", "y. ", "2. "}));
    EXPECT_EQ(verses, 1) << "only the numbered marker";
}

struct DecodedFile {
    const char* file;
    const char* encoding;
    int track;
    QString name;
    QString firstSyllable;
};

TEST(SongWords, TextsOfOtherProgramsDecodeToTheirLetters)
{
    HARMONET_REQUIRE_TESTDATA();
    const QList<DecodedFile> files = {
        {"music21/test04.mid", "Shift_JIS", 0, QStringLiteral("\u30D9\u30FC\u30C8\u30FC\u30D9\u30F3"), {}},
        {"music21/test18.mid", "UTF-8", 1, QStringLiteral("\u97F3\u8F681"), QStringLiteral("\u660E")},
        {"music21/test19.mid", "GB18030", 1, QStringLiteral("\u97F3\u8F681"), QStringLiteral("\u660E")},
        {"music21/test20.mid", "UTF-8", 1, QStringLiteral("New Track"), QStringLiteral("\uBE5B")},
        {"music21/test21.mid", "CP949", 1, QStringLiteral("New Track"), QStringLiteral("\uBE5B")},
    };
    for (const DecodedFile& f : files) {
        TMidiFile file;
        file.SetFilename(QDir(thirdPartyDataDir()).filePath(QLatin1String(f.file)));
        file.LoadSong();
        TSongWords words;
        words.build(file);
        EXPECT_EQ(words.encoding().name(), f.encoding) << f.file;
        EXPECT_TRUE(words.encoding().decodeLatin1Held(file.TrackAt(f.track)->TrackName()).startsWith(f.name)) << f.file;
        if (!f.firstSyllable.isEmpty()) {
            ASSERT_NE(words.sourceOf(f.track), nullptr) << f.file;
            EXPECT_EQ(words.sourceOf(f.track)->syllables.constFirst().text, f.firstSyllable) << f.file;
        }
    }
}

TEST(SongWords, AKaraokeFileOfAnotherProgram)
{
    HARMONET_REQUIRE_TESTDATA();
    TMidiFile file;
    file.SetFilename(QDir(thirdPartyDataDir()).filePath("jazz-soft/test-karaoke-kar.mid"));
    file.LoadSong();
    TSongWords words;
    words.build(file);
    ASSERT_EQ(words.chosenWordsOf(2), 1) << "the melody follows the karaoke track";
    EXPECT_EQ(words.sourceOf(1)->syllables.size(), 26) << "the title is a header, not sung";
    EXPECT_EQ(words.sourceOf(1)->firstWords(), "Mary was a little lame,");
}

struct RenderedScore {
    const char* score;
    const char* midi;
    // Every voice's name and the title of the words chosen for it.
    QList<std::pair<QString, QString>> voices;
};

TEST(SongWords, EveryVoiceOfARenderedScoreSingsItsOwnWords)
{
    const QList<RenderedScore> scores = {
        {"Oyseaux-Endfassung", "Oyseaux-Endfassung.midi",
         {{":discantusNotes", "discantusLyrics:"}, {":altusNotes", "altusLyrics:"},
          {":tenorNotes", "tenorLyrics:"}, {":bassusNotes", "bassusLyrics:"}}},
        // Four voices of one rhythm, each with its words right after it.
        {"Mendelssohn-BartholdyF_op_23_No_1", "Mendelssohn-BartholdyF_op_23_No_1.midi",
         {{":sopOneVoice", "Track 3"}, {":alt", "Track 5"}, {":tenOneVoice", "Track 7"}, {":basOneVoice", "Track 9"}}},
        // All words after the voices, in the reverse order: the onsets tell
        // (only the tenor's words begin with "Herr Gott", checked below).
        {"Mendelssohn-BartholdyF_op_23_No_1", "Mendelssohn-BartholdyF_op_23_No_1-1.midi",
         {{":sopTwoVoice", "Track 9"}, {":alt", "Track 8"}, {":tenTwoVoice", "Track 7"}, {":basTwoVoice", "Track 6"}}},
    };
    for (const RenderedScore& s : scores) {
        HARMONET_REQUIRE_LILYPOND_SCORE(folder, QString::fromLatin1(s.score));
        TMidiFile file;
        file.SetFilename(folder + QLatin1Char('/') + QLatin1String(s.midi));
        file.LoadSong();
        TSongWords words;
        words.build(file);
        QList<std::pair<QString, QString>> paired;
        for (const TVoiceWords& voice : words.voices()) {
            const TWordsSource* chosen = words.sourceOf(words.chosenWordsOf(voice.voice));
            paired.append({file.TrackAt(voice.voice)->TrackName(), chosen ? chosen->title() : QString()});
        }
        EXPECT_EQ(paired, s.voices) << s.midi;
        if (QLatin1String(s.midi).endsWith(QLatin1String("-1.midi"))) {
            EXPECT_TRUE(words.sourceOf(6)->firstWords().startsWith(QStringLiteral("Herr Gott, er h")));
        }
    }
}

} // namespace
