// The scrolling lyrics: gathering the syllables of the lyrics track, the
// strip around one syllable, the lyrics window's text, showing and hiding the
// strip, and the verse jumps of the position slider's popup menu.
#include "player/UnitMain.h"

#include "player/Panel.h"
#include "player/RightAlignedLabel.h"
#include "sequencer/MidiFile.h"
#include "windows/UnitLyrics.h"

#include <QAction>
#include <QMenu>
#include <QSlider>
#include <QStatusBar>
#include <algorithm>
#include <cmath>

namespace harmonet {

namespace {
constexpr int VerseItemCount = 6;
} // namespace

void TfrmMain::GatherLyrics()
{
    m_lyrics.clear();
    TLyricsText full;
    if (const TWordsSource* source = m_words.sourceOf(LyricTrack)) {
        full = lyricsText(source->syllables);
        for (qsizetype k = 0; k < source->syllables.size(); ++k) {
            m_lyrics.append(source->syllables[k].shown, source->syllables[k].ticks, full.lines[k]);
        }
    }
    VerseCount = full.verses;
    UpdatePositionStep();
    if (!m_lyrics.isEmpty() && VerseCount == 0) {
        VerseCount = 1;
    }
    if (m_lyricsWindow) {
        m_lyricsWindow->SetLines(splitLines(full.text));
    }
    ShowLyricsAt(tbPosition->value());
    refreshPracticeView();
}

void TfrmMain::UpdatePositionStep()
{
    const int maximum = tbPosition->maximum();
    const int step = VerseCount < 1 ? maximum : maximum / VerseCount;
    tbPosition->setSingleStep(step);
    tbPosition->setPageStep(step);
}

qint64 TfrmMain::NextLyricTime(int ms) const
{
    // The tick the sequencer seeks to for ms, also through a tempo map.
    return m_lyrics.firstTimeFrom(MidiFile1->TicksAtMs(ms));
}

void TfrmMain::ShowLyricsAt(int ms)
{
    const qint64 t = NextLyricTime(ms);
    if (t < 0) {
        return;
    }
    // Line breaks of the syllables would break the one-line strip apart and
    // move the highlight off the text it covers: the strip shows none.
    pnlLyrics->setCaption(LyricsUpTo(t));
    lblLyrics->setCaption(withoutLineBreaks(LyricAt(t)));
    pnlLyrics2->setCaption(withoutLineBreaks(LyricsAfter(t)));
    showLyricsLine(m_lyrics.lineAt(t));
}

void TfrmMain::showLyricsLine(int line)
{
    if (m_lyricsWindow && line >= 0) {
        m_lyricsWindow->HighlightLine(line);
    }
}

void TfrmMain::ScrollingLyrics1Click()
{
    // The item is checkable: the trigger has already toggled its check mark.
    const bool visible = ScrollingLyrics1->isChecked();
    pnlScrollingLyrics->setVisible(visible);
    // The strip is the bottom of the client area, so the status bar, which
    // the window keeps below the client area, stays beneath it.
    fitWindowToStrip();
    resize(width(), visible ? FullHeight : minimumHeight());
}

void TfrmMain::pmPositionPopup()
{
    for (int verse = 1; verse <= VerseItemCount; ++verse) {
        if (auto* item = pmPosition->findChild<QAction*>(QStringLiteral("Verse%1").arg(verse))) {
            item->setEnabled(VerseCount >= verse);
        }
    }
}

int TfrmMain::VerseStart(int verse) const
{
    const int step = tbPosition->pageStep();
    qint64 place = tbPosition->minimum();
    // Without a step (a song of no length) every verse starts at the beginning.
    for (int i = 1; i < verse && step > 0; ++i) {
        const qint64 next = step + step * qint64(std::nearbyint(double(place) / step));
        place = std::min<qint64>(next, tbPosition->maximum());
    }
    return sameShareInTicks(int(place));
}

void TfrmMain::VerseClick(int verse)
{
    tbPosition->setValue(VerseStart(verse));
    tbPositionChanged();
}

} // namespace harmonet
