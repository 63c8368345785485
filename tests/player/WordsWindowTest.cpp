// The words of each voice in the main window: Lyrics buttons choosing words
// tracks without notes, the strip while playing, the Words and Text Encoding
// submenus, karaoke text, and a score rendered by LilyPond.
#include "tests/player/PlayerFixture.h"

#include "player/Panel.h"
#include "player/RightAlignedLabel.h"
#include "sequencer/MidiFile.h"
#include "tests/support/LilyPondScores.h"
#include "windows/Memo.h"
#include "windows/UnitLyrics.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTest>

namespace harmonet::test {
namespace {

struct Words {
    QByteArray name;
    QList<qint32> ticks;
    QList<QByteArray> syllables;
    quint8 type = SmfWriter::Lyric;
};

const QList<qint32> SopranoOnsets = {0, 480, 960, 1440};
const QList<qint32> AltoOnsets = {0, 720, 1440, 2160};

// A tempo track, the voices (Soprano on channel 1, Alto on channel 2, each
// note 100 ticks long) and then words tracks without notes, at 120 bpm.
QByteArray choirWithWordsTracks(const QList<Words>& words, const QByteArray& sopranoName = "Soprano")
{
    SmfWriter song;
    song.header(1, quint16(3 + words.size()), 480);
    song.beginTrack().tempo(0, 500000).endOfTrack().endTrack();
    int channel = 0;
    for (const auto& [name, onsets] : {std::pair{sopranoName, SopranoOnsets}, std::pair{QByteArray("Alto"), AltoOnsets}}) {
        song.beginTrack().meta(0, SmfWriter::TrackName, name);
        qint32 now = 0;
        for (const qint32 onset : onsets) {
            song.noteOn(quint64(onset - now), channel, 60, 90).noteOff(100, channel, 60);
            now = onset + 100;
        }
        song.endOfTrack().endTrack();
        ++channel;
    }
    for (const Words& track : words) {
        song.beginTrack().meta(0, SmfWriter::TrackName, track.name);
        qint32 now = 0;
        for (qsizetype k = 0; k < track.ticks.size(); ++k) {
            song.meta(quint64(track.ticks[k] - now), track.type, track.syllables[k]);
            now = track.ticks[k];
        }
        song.endOfTrack().endTrack();
    }
    return song.bytes();
}

const QList<Words> Verses = {{"Sop", SopranoOnsets, {"Glo", "ri", "a", "in"}},
                             {"Alt 1", AltoOnsets, {"Ky", "e", "lei", "son"}},
                             {"Alt 2", AltoOnsets, {"Chris", "te", "e", "lei"}}};

class WordsWindowTest : public PlayerTest {
protected:
    QStringList strip(const TfrmMain& main) const
    {
        return {main.pnlLyrics->caption(), main.lblLyrics->text(), main.pnlLyrics2->caption()};
    }

    QString lyricsWindowText(const TfrmMain& main) const
    {
        return main.LyricsWindow()->memoLyrics()->toPlainText();
    }

    void clickLyrics(TfrmMain& main, int panel)
    {
        QTest::mouseClick(main.findChild<TPanel*>(QStringLiteral("pLyrics%1").arg(panel)), Qt::LeftButton);
    }

    // The items of a submenu as it opens: caption, with "*" when checked.
    QStringList openItems(QMenu* menu) const
    {
        emit menu->aboutToShow();
        QStringList items;
        for (QAction* item : menu->actions()) {
            if (!item->isSeparator() && !item->menu()) {
                items.append(item->text() + (item->isChecked() ? "*" : ""));
            }
        }
        return items;
    }

    void trigger(QMenu* menu, const QString& caption)
    {
        emit menu->aboutToShow();
        for (QAction* item : menu->actions()) {
            if (item->text() == caption) {
                item->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no item " << caption.toStdString();
    }
};

TEST_F(WordsWindowTest, TheAltosLyricsButtonShowsTheAltosWordsTrack)
{
    TfrmMain& main = showWindow({writeFile("gloria.mid", choirWithWordsTracks(Verses))});
    EXPECT_EQ(main.LyricTrack, 3) << "the soprano's words come first";
    clickLyrics(main, 2);
    EXPECT_EQ(main.LyricTrack, 4);
    EXPECT_EQ(main.LyricTexts(), QStringList({"Ky ", "e ", "lei ", "son "})) << "bare syllables take a space";
    EXPECT_EQ(lyricsWindowText(main), "Ky e lei son ");
    EXPECT_EQ(main.VerseCount, 1);

    main.tbPosition->setValue(1000); // 960 ticks: the alto sings "lei" from 1440
    EXPECT_EQ(strip(main), QStringList({"Ky e lei ", "lei ", "son "}));
}

TEST_F(WordsWindowTest, WhilePlayingOnlyTheChosenWordsMoveTheStrip)
{
    TfrmMain& main = showWindow({writeFile("gloria.mid", choirWithWordsTracks(Verses))});
    clickLyrics(main, 2);
    ManualClock clock;
    main.MidiFile1->SetClock(&clock);
    main.MidiFile1->PlayFromStart();
    clock.setNowMs(800); // 768 ticks: the alto's "e" at 720
    main.MidiFile1->Tick();
    EXPECT_EQ(strip(main), QStringList({"Ky e ", "e ", "lei son "})) << "a track without a channel";
    clock.setNowMs(1020); // 979 ticks: only the soprano's "a" at 960 falls due
    main.MidiFile1->Tick();
    main.MidiFile1->HaltPlay();
    main.MidiFile1->SetClock(nullptr);
    EXPECT_EQ(strip(main), QStringList({"Ky e ", "e ", "lei son "})) << "another voice's words";
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(WordsWindowTest, TheWordsMenuSwitchesVerseAndTheChoiceHoldsForTheVoice)
{
    TfrmMain& main = showWindow({writeFile("gloria.mid", choirWithWordsTracks(Verses))});
    clickLyrics(main, 2);
    EXPECT_EQ(openItems(main.Words1), QStringList({QStringLiteral("Sop \u2013 Glo ri a in\u2026"),
                                                   QStringLiteral("Alt 1 \u2013 Ky e lei son\u2026*"),
                                                   QStringLiteral("Alt 2 \u2013 Chris te e lei\u2026")}));
    trigger(main.Words1, QStringLiteral("Alt 2 \u2013 Chris te e lei\u2026"));
    EXPECT_EQ(main.LyricTrack, 5);
    EXPECT_EQ(lyricsWindowText(main), "Chris te e lei ");
    EXPECT_EQ(strip(main), QStringList({"Chris ", "Chris ", "te e lei "}));

    clickLyrics(main, 1);
    EXPECT_EQ(main.LyricTrack, 3);
    clickLyrics(main, 2);
    EXPECT_EQ(main.LyricTrack, 5) << "the alto's second verse";
    main.LoadMidiFile();
    EXPECT_EQ(main.LyricTrack, 5) << "the voice and its words are remembered for the file";
    clickLyrics(main, 1);
    clickLyrics(main, 2);
    EXPECT_EQ(main.LyricTrack, 5);
}

TEST_F(WordsWindowTest, TheTextEncodingMenuReadsTheSongAgain)
{
    const QList<Words> words = {{"S\xC3\xA4nger", SopranoOnsets, {"Gl\xC3\xBC", "ck", "auf", "!"}}};
    TfrmMain& main = showWindow({writeFile("glueck.mid", choirWithWordsTracks(words, "Sopr\xC3\xA1n"))});
    const TPanel* soprano = main.TrackPanels[0];
    EXPECT_EQ(soprano->caption(), QStringLiteral("Sopr\u00E1n"));
    EXPECT_EQ(main.LyricTexts().constFirst(), QStringLiteral("Gl\u00FC "));
    const QStringList encodings = openItems(main.TextEncoding1);
    EXPECT_EQ(encodings.constFirst(), "UTF-8*") << "the one found, checked";
    EXPECT_EQ(encodings.size(), 7);

    trigger(main.TextEncoding1, "windows-1252");
    EXPECT_EQ(soprano->caption(), QStringLiteral("Sopr\u00C3\u00A1n"));
    EXPECT_EQ(main.LyricTexts().constFirst(), QStringLiteral("Gl\u00C3\u00BC "));
    EXPECT_EQ(openItems(main.TextEncoding1).mid(0, 2), QStringList({"UTF-8", "windows-1252*"}));
    EXPECT_EQ(openItems(main.Words1).constFirst(), QStringLiteral("S\u00C3\u00A4nger \u2013 Gl\u00C3\u00BC ck auf !\u2026*"));
}

TEST_F(WordsWindowTest, KaraokeTextFillsTheLyricsWindowByLinesAndParagraphs)
{
    const QList<Words> karaoke = {{"Words",
                                   {0, 0, 0, 480, 960, 1440, 1440, 2160},
                                   {"@KMIDI KARAOKE FILE", "@TGloria", "\\Glo", "ri", "/a ", "in", "\\ex", "cel"},
                                   SmfWriter::Text}};
    TfrmMain& main = showWindow({writeFile("gloria.kar", choirWithWordsTracks(karaoke))});
    EXPECT_EQ(main.LyricTrack, 3);
    EXPECT_EQ(lyricsWindowText(main), "Glori \na in \n\nexcel");
    EXPECT_EQ(main.VerseCount, 2);
    EXPECT_EQ(strip(main), QStringList({"Glo", "Glo", "ri a in excel"}));
}

TEST_F(WordsWindowTest, TheAltusOfARenderedScoreFollowsItsOwnWords)
{
    HARMONET_REQUIRE_LILYPOND_SCORE(folder, QStringLiteral("Oyseaux-Endfassung"));
    TfrmMain& main = showWindow({folder + "/Oyseaux-Endfassung.midi"});
    clickLyrics(main, 2);
    EXPECT_EQ(main.TrackPanels[1]->caption(), ":altusNotes");
    EXPECT_EQ(main.LyricTrack, 3);
    EXPECT_TRUE(lyricsWindowText(main).startsWith("Re veil lez vous, cueurs en dor mis,"));
    EXPECT_EQ(main.lblLyrics->text(), "Re ");
}

} // namespace
} // namespace harmonet::test
