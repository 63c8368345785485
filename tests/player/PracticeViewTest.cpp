// The practice view as the singer meets it: the roll drawn where the song
// is (notes, words, bars, playhead) at any scale, clicks and drags on bars,
// keys; the words that follow my part into the strip and the lyrics window,
// the lyrics window's line following the music, and the strip that grows.
#include "tests/player/PlayerFixture.h"

#include "persist/SettingsStore.h"
#include "player/Panel.h"
#include "player/RightAlignedLabel.h"
#include "practice/PracticeMemory.h"
#include "sequencer/MidiFile.h"
#include "windows/Memo.h"
#include "windows/UnitLyrics.h"
#include "windows/UnitPracticeView.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QImage>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

namespace harmonet::test {
namespace {

constexpr qint32 Q = 480;
// An upbeat of one beat (a metre change a bar and a beat in), then bars of 3/4.
constexpr qint32 ThreeFourFrom = 5 * Q;
constexpr qint32 BarTicks = 3 * Q;

struct Voice {
    QByteArray name;
    quint8 firstKey;
    QList<std::pair<qint32, QByteArray>> words;
};

// At 120 bpm: a tempo track with the metres, then each voice on its own
// channel with a quarter note on every beat for 24 beats (two keys in
// turn) and its words as lyric events.
QByteArray choir(const QList<Voice>& voices)
{
    SmfWriter song;
    song.header(1, quint16(voices.size() + 1), Q);
    song.beginTrack().tempo(0, 500000).timeSignature(0, 4, 2).timeSignature(ThreeFourFrom, 3, 2).endOfTrack().endTrack();
    for (int v = 0; v < voices.size(); ++v) {
        const Voice& voice = voices[v];
        song.beginTrack().meta(0, SmfWriter::TrackName, voice.name);
        qint32 now = 0;
        qsizetype word = 0;
        for (qint32 tick = 0; tick < 24 * Q; tick += Q) {
            const quint8 key = quint8(voice.firstKey + (tick / Q % 2) * 2);
            while (word < voice.words.size() && voice.words[word].first <= tick) {
                song.meta(quint64(voice.words[word].first - now), SmfWriter::Lyric, voice.words[word].second);
                now = voice.words[word].first;
                ++word;
            }
            song.noteOn(quint64(tick - now), v, key, 100).noteOff(Q, v, key);
            now = tick + Q;
        }
        song.endOfTrack().endTrack();
    }
    return song.bytes();
}

const QList<Voice> Choir = {
    {"Soprano", 72, {{Q, "Glo-"}, {2 * Q, "ri-"}, {3 * Q, "a "}, {6 * Q, "in "}}},
    {"Alto", 65, {{Q, "Ky"}, {2 * Q, "ri"}, {3 * Q, "e "}}},
};

class PracticeViewTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        TSettingsStore(CURRENT_USER).deleteKey(TPracticeMemory::keyPath());
    }

    // The choir loaded, my part chosen (a track, or -1), the view open at
    // 900 x 400 showing the start at 48 pixels a quarter, its roll without the focus.
    TfrmPracticeView& openView(int myPartTrack)
    {
        TfrmMain& main = showWindow({writeFile("gloria.mid", choir(Choir))});
        if (myPartTrack >= 0) {
            main.findChild<QAction*>(QStringLiteral("MyPartTrack%1").arg(myPartTrack))->trigger();
        }
        main.PracticeView1->trigger();
        TfrmPracticeView& view = *main.PracticeViewWindow();
        view.resize(900, 400);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
        view.roll()->setFollowing(false);
        view.roll()->setZoom(48);
        view.roll()->setLeftTick(0);
        view.roll()->clearFocus();
        return view;
    }

    // The colour of a pixel, as 8-bit RGB.
    static QRgb pixel(const QImage& image, double x, double y)
    {
        return image.pixelColor(int(x), int(y)).rgb();
    }

    // Whether something other than the background and the bar lines is drawn in the rectangle.
    static bool anyInk(const QImage& image, const QRect& area, const QWidget& roll)
    {
        const QRgb background = roll.palette().color(QPalette::Base).rgb();
        const QRgb line = roll.palette().color(QPalette::Mid).rgb();
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const QRgb color = image.pixelColor(x, y).rgb();
                if (color != background && color != line) {
                    return true;
                }
            }
        }
        return false;
    }

    static QImage picture(TPracticeRollView& roll, qreal dpr = 1.0)
    {
        QImage image(roll.size() * dpr, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(dpr);
        roll.render(&image);
        return image;
    }
};

TEST_F(PracticeViewTest, MyNoteIsDrawnAtItsTickOnItsRowWithItsSyllableBelow)
{
    TfrmPracticeView& view = openView(1);
    TPracticeRollView& roll = *view.roll();
    const QImage image = roll.grab().toImage();
    const TRollGeometry geometry = roll.rollGeometry();
    const QRgb mine = roll.palette().color(QPalette::Highlight).rgb();

    // The soprano's note at the second beat: key 74, at tick Q.
    const QRectF note = geometry.noteRect({Q, Q, 74});
    EXPECT_DOUBLE_EQ(note.left(), geometry.xOfTick(Q));
    EXPECT_EQ(pixel(image, note.center().x(), note.center().y()), mine);
    EXPECT_NE(pixel(image, note.center().x(), note.top() - geometry.rowHeight()), mine) << "not a row higher";
    EXPECT_NE(pixel(image, note.center().x(), note.bottom() + geometry.rowHeight()), mine) << "not a row lower";

    // "Glo" under it, in the words lane, starting at the note.
    const int wordsTop = int(geometry.noteArea().bottom()) + 1;
    EXPECT_TRUE(anyInk(image, QRect(int(note.left()) + 1, wordsTop, 20, roll.height() - wordsTop), roll));
    EXPECT_FALSE(anyInk(image, QRect(int(note.left()) - 12, wordsTop, 10, roll.height() - wordsTop), roll))
        << "nothing sung just before it";
    ASSERT_EQ(roll.roll().syllables().size(), 4);
    EXPECT_EQ(roll.roll().syllables()[0].text, "Glo");
    EXPECT_TRUE(roll.roll().syllables()[0].hyphenAfter);
    EXPECT_EQ(roll.roll().syllables()[2].extenderEnd, 6 * Q) << "\"a\" held over three notes";
}

TEST_F(PracticeViewTest, BarLinesCarryTheirNumbersAsPrintedWithTheUpbeatAsBarZero)
{
    TfrmPracticeView& view = openView(1);
    TPracticeRollView& roll = *view.roll();
    window->tbPosition->setValue(20000); // the playhead out of sight
    view.followPosition();
    roll.setLeftTick(0);
    const QImage image = roll.grab().toImage();
    const TRollGeometry geometry = roll.rollGeometry();
    const QList<TRollBarLine> lines = geometry.barLines(roll.bars(), 0, geometry.rightTick());
    ASSERT_GE(lines.size(), 4);
    struct Line {
        qint64 bar;
        double tick;
    };
    const Line expected[] = {{0, 0}, {1, Q}, {2, ThreeFourFrom}, {3, ThreeFourFrom + BarTicks}};
    const QRgb lineColor = roll.palette().color(QPalette::Mid).rgb();
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines[qsizetype(i)].bar, expected[i].bar);
        EXPECT_DOUBLE_EQ(lines[qsizetype(i)].tick, expected[i].tick);
        EXPECT_TRUE(lines[qsizetype(i)].labelled);
        const double x = geometry.xOfTick(expected[i].tick);
        EXPECT_EQ(pixel(image, std::round(x), 1), lineColor) << "the line in the number lane";
        EXPECT_TRUE(anyInk(image, QRect(int(x) + 2, 0, 12, int(geometry.noteArea().top()) - 1), roll)) << "its number";
        EXPECT_FALSE(anyInk(image, QRect(int(x) - 14, 0, 12, int(geometry.noteArea().top()) - 1), roll) && i > 0)
            << "no number before the line";
    }
}

TEST_F(PracticeViewTest, ThePlayheadStandsAtThePositionAndMovesBetweenWakeUps)
{
    TfrmPracticeView& view = openView(1);
    TfrmMain& main = *window;
    TPracticeRollView& roll = *view.roll();
    ManualClock clock;
    main.MidiFile1->SetClock(&clock);
    main.tbPosition->setValue(1000); // 960 ticks
    view.followPosition();
    EXPECT_DOUBLE_EQ(roll.playingTick(), 960.0);
    const QRgb red = QColor(Qt::red).rgb();
    QImage image = roll.grab().toImage();
    double x = roll.rollGeometry().xOfTick(960);
    EXPECT_EQ(pixel(image, std::round(x) - 1, roll.height() / 2), red);
    EXPECT_NE(pixel(image, std::round(x) + 12, roll.height() / 2), red);

    // Playing: the clock moves on 5 ms with no wake-up of the sequencer, and the playhead with it.
    main.MidiFile1->ResumePlay();
    clock.advanceMs(5);
    view.followPosition();
    main.MidiFile1->HaltPlay();
    main.MidiFile1->SetClock(nullptr);
    EXPECT_NEAR(roll.playingTick(), 960.0 + 5 * 0.96, 1e-9);
}

TEST_F(PracticeViewTest, AClickOnABarPlaysFromItAndADragAcrossBarsAsksForThemAsTheLoop)
{
    TfrmPracticeView& view = openView(1);
    TfrmMain& main = *window;
    TPracticeRollView& roll = *view.roll();
    QSignalSpy loops(&view, &TfrmPracticeView::loopDragged);
    const auto middleOf = [&roll](qint64 bar) {
        const TRollGeometry geometry = roll.rollGeometry();
        const double x = (geometry.xOfTick(roll.bars().TicksOfBar(bar)) + geometry.xOfTick(roll.bars().TicksOfBar(bar + 1))) / 2;
        return QPoint(int(x), roll.height() / 2);
    };
    // Bar 5 starts at 5 * 480 + 3 * 1440 ticks: 6720 ticks, 7000 ms at 120 bpm.
    QTest::mouseClick(&roll, Qt::LeftButton, {}, middleOf(5));
    EXPECT_EQ(main.tbPosition->value(), 7000);
    EXPECT_DOUBLE_EQ(main.MidiFile1->CurrentPos(), 6720.0);
    EXPECT_TRUE(loops.isEmpty());

    roll.setFollowing(false);
    QTest::mousePress(&roll, Qt::LeftButton, {}, middleOf(3));
    QTest::mouseMove(&roll, middleOf(5));
    QTest::mouseRelease(&roll, Qt::LeftButton, {}, middleOf(6));
    ASSERT_EQ(loops.size(), 1);
    EXPECT_EQ(loops[0], QVariantList({qint64(3), qint64(6)}));
    EXPECT_EQ(main.tbPosition->value(), 7000) << "a drag does not move the music";
    // The session loops those bars, and the view shades what the session loops.
    ASSERT_TRUE(main.session().loop().has_value());
    EXPECT_EQ(main.session().loop()->firstBar, 3);
    EXPECT_EQ(main.session().loop()->lastBar, 6);
    EXPECT_EQ(roll.loop(), (std::optional<TBarSpan>(TBarSpan{3, 6})));
    main.session().clearLoop();
    EXPECT_FALSE(roll.loop().has_value());
    // Transposed, the notes are drawn where they sound.
    main.session().setTranspose(-3);
    EXPECT_EQ(roll.transpose(), -3);
    main.session().setTranspose(0);

    // By keyboard: the cursor starts at the music's bar.
    view.followPosition();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    roll.clearFocus();
    roll.setFocus();
    EXPECT_EQ(roll.cursorBar(), 5);
    QTest::keyClick(&roll, Qt::Key_Left);
    QTest::keyClick(&roll, Qt::Key_Left);
    QTest::keyClick(&roll, Qt::Key_Return);
    EXPECT_EQ(roll.cursorBar(), 3);
    EXPECT_EQ(main.tbPosition->value(), 4000); // 3840 ticks
    QTest::keyClick(&roll, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&roll, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&roll, Qt::Key_Enter);
    ASSERT_EQ(loops.size(), 2);
    EXPECT_EQ(loops[1], QVariantList({qint64(3), qint64(5)}));
    const double zoom = roll.zoom();
    QTest::keyClick(&roll, Qt::Key_Plus);
    EXPECT_GT(roll.zoom(), zoom);
    QTest::keyClick(&roll, Qt::Key_Minus);
    EXPECT_EQ(roll.zoom(), zoom);
}

TEST_F(PracticeViewTest, AtScaleFactorTwoThePictureHasTwiceThePixels)
{
    TfrmPracticeView& view = openView(1);
    TPracticeRollView& roll = *view.roll();
    const QRgb mine = roll.palette().color(QPalette::Highlight).rgb();
    const QRectF note = roll.rollGeometry().noteRect({Q, Q, 74});
    const auto widthOfNote = [&](const QImage& image, qreal dpr) {
        int pixels = 0;
        const int y = int(note.center().y() * dpr);
        for (int x = 0; x < image.width(); ++x) {
            pixels += image.pixelColor(x, y).rgb() == mine && x >= int(note.left() * dpr) - 2
                      && x <= int(note.right() * dpr) + 2;
        }
        return pixels;
    };
    const QImage single = picture(roll, 1.0);
    const QImage twice = picture(roll, 2.0);
    EXPECT_EQ(twice.size(), single.size() * 2);
    // The fill within one device pixel of edge on either side: a quarter is 48 pixels, 96 at twice.
    EXPECT_EQ(widthOfNote(single, 1.0), int(note.width()) - 2);
    EXPECT_EQ(widthOfNote(twice, 2.0), 2 * int(note.width()) - 2);
}

TEST_F(PracticeViewTest, ChoosingMyPartGivesTheStripTheLyricsWindowAndTheViewItsWords)
{
    TfrmPracticeView& view = openView(-1);
    TfrmMain& main = *window;
    EXPECT_EQ(main.LyricTrack, 1) << "the first voice's words at first";
    main.findChild<QAction*>(QStringLiteral("MyPartTrack2"))->trigger();
    EXPECT_EQ(main.LyricTrack, 2);
    EXPECT_EQ(main.LyricsWindow()->memoLyrics()->toPlainText(), "Kyrie ");
    EXPECT_EQ(main.lblLyrics->text(), "Ky");
    ASSERT_EQ(view.roll()->roll().syllables().size(), 3);
    EXPECT_EQ(view.roll()->roll().syllables()[0].text, "Ky");
    EXPECT_EQ(view.roll()->roll().lowestKey(), 65 - 2 - 3) << "fitted to the alto";
    EXPECT_EQ(view.lblPart->text(), "My part: Alto");

    // Remembered for the file: loaded again, the alto's words come back.
    main.findChild<QAction*>(QStringLiteral("MyPartNone1"))->trigger();
    main.LoadMidiFile();
    EXPECT_EQ(main.LyricTrack, 2);
}

TEST_F(PracticeViewTest, TheLyricsWindowMarksTheLineBeingSungAndKeepsItInView)
{
    // Twelve verses of two syllables in a window that shows only a few lines.
    QList<Syllable> verses;
    for (int v = 1; v <= 9; ++v) {
        verses.append({(v - 1) * 960, QByteArray::number(v) + ".Glo"});
        verses.append({(v - 1) * 960 + 480, "ry"});
    }
    TfrmMain& main = showWindow({writeFile("glory.mid", lyricSong(verses, 9 * 960))});
    TfrmLyrics& lyrics = *main.LyricsWindow();
    lyrics.resize(300, 90);
    lyrics.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&lyrics));
    struct Moment {
        int ms;
        int line;
    };
    // Verse v stands on line 2 (v - 1), an empty line before each but the first.
    for (const Moment& m : {Moment{0, 0}, Moment{1100, 2}, Moment{8000, 16}, Moment{3000, 6}}) {
        SCOPED_TRACE(m.ms);
        main.tbPosition->setValue(m.ms);
        EXPECT_EQ(lyrics.highlightedLine(), m.line);
        EXPECT_TRUE(lyrics.memoLyrics()->lineInView(m.line));
    }

    // While playing from the start, the syllables that fall due move the mark.
    main.tbPosition->setValue(0);
    ManualClock clock(0);
    main.MidiFile1->SetClock(&clock);
    main.btnPlayClick();
    clock.setNowMs(5 * 1000 + 10);
    main.MidiFile1->Tick();
    main.btnStopClick();
    main.MidiFile1->SetClock(nullptr);
    EXPECT_EQ(lyrics.highlightedLine(), 10);
    EXPECT_TRUE(lyrics.memoLyrics()->lineInView(10));
}

TEST_F(PracticeViewTest, TheStripGrowsWithTheWindowAndTakesItsFontSize)
{
    TfrmMain& main = showWindow();
    const int designFont = main.pnlLyrics->font().pixelSize();
    EXPECT_EQ(main.pnlScrollingLyrics->height(), 32);
    main.resize(1200, 800);
    QTRY_VERIFY_WITH_TIMEOUT(main.pnlScrollingLyrics->height() > 300, 5000);
    EXPECT_EQ(main.pnlScrollingLyrics->width(), 1200);
    EXPECT_GT(main.pnlLyrics->font().pixelSize(), 5 * designFont);
    EXPECT_EQ(main.lblLyrics->font().pixelSize(), main.pnlLyrics->font().pixelSize());
    EXPECT_EQ(main.lblLyrics->rightEdge(), main.pnlLyrics->width()) << "the highlight ends where its text does";

    main.resize(main.minimumSize());
    QTRY_COMPARE_WITH_TIMEOUT(main.height(), main.FullHeight, 5000);
    main.setLyricStripFontSize(26);
    EXPECT_EQ(main.pnlLyrics->font().pixelSize(), 26);
    QTRY_COMPARE_WITH_TIMEOUT(main.height(), main.FullHeight, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(main.pnlScrollingLyrics->height(), 64, 5000);
}

TEST_F(PracticeViewTest, ThePlaceSizeZoomAndToggleOfTheViewAreKept)
{
    TfrmPracticeView& view = openView(1);
    view.roll()->setZoom(96);
    view.SetShowOthers(false);
    view.resize(700, 300);
    QTRY_COMPARE_WITH_TIMEOUT(view.width(), 700, 5000);
    window.reset();
    const QString key = QStringLiteral("Software\\Harmonet\\PracticeViewForm");
    EXPECT_EQ(storedValue(key, "Zoom"), "96");
    EXPECT_EQ(storedValue(key, "Width"), "700");

    TfrmMain& main = showWindow();
    main.PracticeView1->trigger();
    EXPECT_EQ(main.PracticeViewWindow()->Zoom(), 96);
    EXPECT_FALSE(main.PracticeViewWindow()->cbOtherVoices->isChecked());
    EXPECT_EQ(main.PracticeViewWindow()->size(), QSize(700, 300));
}

} // namespace
} // namespace harmonet::test
