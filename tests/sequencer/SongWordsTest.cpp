// The words of a song: one encoding for all its texts, its sources of words
// (lyric events, karaoke text) and every voice paired with the words its
// singer follows, in built files, in files of other programs and in scores
// rendered by LilyPond.
#include "SequencerTestSupport.h"
#include "sequencer/SongWords.h"
#include "tests/support/LilyPondScores.h"
#include "tests/support/TestPaths.h"

#include <QDir>
#include <algorithm>
#include <map>

using namespace harmonet;
using namespace harmonet::test;

namespace {

// One track of a built song: its name, notes at the onsets (on channel, when
// it has notes) and texts of one meta type at their ticks.
struct TrackSpec {
    QByteArray name;
    QList<qint32> onsets;
    QList<std::pair<qint32, QByteArray>> texts;
    quint8 textType = SmfWriter::Lyric;
};

// A format 1 song at 480 ticks a quarter: a tempo track, then the tracks;
// the n-th track with notes plays on channel n.
QByteArray song(const QList<TrackSpec>& tracks)
{
    SmfWriter w;
    w.header(1, quint16(tracks.size() + 1), 480);
    w.beginTrack().tempo(0, 500000).endOfTrack().endTrack();
    int channel = 0;
    for (const TrackSpec& track : tracks) {
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
    EXPECT_EQ(TTextEncoding("SHIFT_JIS").name(), "Shift_JIS") << "the converter's spelling";
    EXPECT_EQ(TTextEncoding("UTF-8").decode("ri\xE9!"), QStringLiteral("ri\uFFFD!")) << "nothing around a bad byte is lost";
}

struct PairingCase {
    const char* what;
    QList<TrackSpec> tracks;
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
    const QList<std::pair<qint32, QByteArray>> karaoke = {
        {0, "@KMIDI KARAOKE FILE"}, {0, "@LENGL"}, {0, "@TTwinkle"}, {0, "\\Twin"}, {240, "kle "},
        {480, "twin"},              {720, "kle"},  {960, "/lit"},    {1200, "tle "}, {1440, "star"},
        {1920, "\\Up "},            {2160, "a"},   {2400, "bove"}};
    QList<qint32> onsets;
    for (const auto& [ticks, text] : karaoke) {
        if (!text.startsWith('@')) {
            onsets.append(ticks);
        }
    }
    const TrackSpec words{"Words", {}, karaoke, SmfWriter::Text};
    const TrackSpec melody{"Melody", onsets, {}};
    const TrackSpec remark{"Info", {}, {{0, "A text, not sung"}}, SmfWriter::Text};

    TMidiFile file;
    const TSongWords kar = wordsOf(file, song({remark, words, melody}));
    ASSERT_EQ(kar.sources().size(), 1) << "only the track in the karaoke layout";
    const TWordsSource& source = kar.sources().constFirst();
    EXPECT_EQ(source.kind, TWordsSource::Kind::Karaoke);
    EXPECT_EQ(source.track, 2);
    QStringList shown;
    QList<int> verses;
    for (const TWordsSyllable& syllable : source.syllables) {
        shown.append(syllable.shown);
        if (syllable.opensVerse) {
            verses.append(syllable.ticks);
        }
    }
    EXPECT_EQ(shown, QStringList({"Twin", "kle ", "twin", "kle ", "\nlit", "tle ", "star ", "Up ", "a", "bove"}))
        << "headers dropped, marks removed, a space before each break";
    EXPECT_EQ(verses, QList<int>({0, 1920}));
    EXPECT_EQ(source.firstWords(), "Twinkle twinkle little star Up");
    EXPECT_EQ(kar.chosenWordsOf(3), 2);

    TrackSpec lyricMelody = melody;
    lyricMelody.texts = {{0, "Twin"}};
    const TSongWords both = wordsOf(file, song({remark, words, lyricMelody}));
    ASSERT_EQ(both.sources().size(), 1);
    EXPECT_EQ(both.sources().constFirst().kind, TWordsSource::Kind::Lyric) << "lyric events win";
}

TEST(SongWords, BareSyllablesOfAWordsTrackAreShownWithSpacesAndNoFalseVerses)
{
    const QList<qint32> ticks = every(480, 6);
    const TrackSpec voice{"Alt", ticks, {}};
    const TrackSpec bare{"versealt", {}, {{0, "Hin"}, {480, "ist"}, {960, "al-"}, {1440, "le"}, {1920, "y."}, {2400, "2."}}};
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
    EXPECT_EQ(words.sourceOf(2)->title(), "versealt");
    EXPECT_EQ(words.sourceOf(1), nullptr);
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
    ASSERT_EQ(words.sources().size(), 1);
    const TWordsSource& lyrics = words.sources().constFirst();
    EXPECT_EQ(lyrics.name, "Lyrics");
    EXPECT_EQ(lyrics.kind, TWordsSource::Kind::Karaoke);
    EXPECT_EQ(lyrics.syllables.size(), 26) << "the title is a header, not sung";
    EXPECT_EQ(lyrics.firstWords(), "Mary was a little lame,");
    EXPECT_EQ(lyrics.syllables[7].breakBefore, TWordsSyllable::Break::Line);
    EXPECT_EQ(words.chosenWordsOf(2), 1) << "the melody follows them";
}

// The voices of a rendered score with the first words of the words chosen for each.
QList<std::pair<QString, QString>> voicesAndWords(const QString& path)
{
    TMidiFile file;
    file.SetFilename(path);
    file.LoadSong();
    TSongWords words;
    words.build(file);
    QList<std::pair<QString, QString>> paired;
    for (const TVoiceWords& voice : words.voices()) {
        const TWordsSource* chosen = words.sourceOf(words.chosenWordsOf(voice.voice));
        paired.append({file.TrackAt(voice.voice)->TrackName(), chosen ? chosen->title() : QString()});
    }
    return paired;
}

TEST(SongWords, EveryVoiceOfLeChantDesOyseauxSingsItsNamedWords)
{
    HARMONET_REQUIRE_LILYPOND_SCORE(folder, QStringLiteral("Oyseaux-Endfassung"));
    EXPECT_EQ(voicesAndWords(folder + "/Oyseaux-Endfassung.midi"),
              (QList<std::pair<QString, QString>>{{":discantusNotes", "discantusLyrics:"},
                                                  {":altusNotes", "altusLyrics:"},
                                                  {":tenorNotes", "tenorLyrics:"},
                                                  {":bassusNotes", "bassusLyrics:"}}));
}

TEST(SongWords, MendelssohnWordsRightAfterEachVoiceAndAllAtTheEnd)
{
    HARMONET_REQUIRE_LILYPOND_SCORE(folder, QStringLiteral("Mendelssohn-BartholdyF_op_23_No_1"));
    const QString base = folder + "/Mendelssohn-BartholdyF_op_23_No_1";
    EXPECT_EQ(voicesAndWords(base + ".midi"),
              (QList<std::pair<QString, QString>>{
                  {":sopOneVoice", "Track 3"}, {":alt", "Track 5"}, {":tenOneVoice", "Track 7"}, {":basOneVoice", "Track 9"}}))
        << "four voices of one rhythm, each with the words after it";

    // The second part sets its four words tracks after all voices, in the
    // reverse order; only the tenor begins with "Herr Gott".
    TMidiFile file;
    file.SetFilename(base + "-1.midi");
    file.LoadSong();
    TSongWords words;
    words.build(file);
    EXPECT_EQ(pairing(words), (QList<QList<int>>{{8}, {7}, {6}, {5}}));
    EXPECT_TRUE(words.sourceOf(words.chosenWordsOf(3))->firstWords().startsWith(QStringLiteral("Herr Gott, er h")));
}

} // namespace
