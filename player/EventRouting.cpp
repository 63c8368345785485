// Every event the sequencer dispatches: the session sends channel messages
// through its gateway as the owner track's mute, instrument and mixer
// settings say and hands meta events back; the syllables of the lyrics track
// go to the scrolling strip, other meta events are dropped.
#include "player/UnitMain.h"

#include "player/Panel.h"
#include "player/RightAlignedLabel.h"
#include "sequencer/MidiBytes.h"
#include "sequencer/MidiFile.h"
#include "session/PlayingSession.h"

#include <functional>
#include <optional>

namespace harmonet {

namespace {

// The track whose event records hold the event, or -1 for an event that
// comes from none of them.
int trackHolding(const TMidiFile& file, const TMidiEvent& event)
{
    const std::less<const TMidiEvent*> before;
    for (int index = 0; index < file.NumberOfTracks(); ++index) {
        const auto events = file.TrackAt(index)->Events();
        if (!before(&event, events.data()) && before(&event, events.data() + events.size())) {
            return index;
        }
    }
    return -1;
}

} // namespace

void TfrmMain::MidiFile1MidiEvent(PMidiEvent event)
{
    m_session->dispatch(*event);
}

void TfrmMain::routeMetaEvent(const TMidiEvent& event)
{
    if (event.Value1 != midi::LyricMeta && event.Value1 != midi::TextMeta) {
        return;
    }
    QString text;
    const int track = trackHolding(*MidiFile1, event);
    if (track >= 0) {
        // A syllable of the loaded song moves the strip only when it belongs
        // to the lyrics track, whether or not that track plays any note.
        if (track != LyricTrack) {
            return;
        }
        const auto index = int(&event - MidiFile1->TrackAt(track)->Events().data());
        const std::optional<QString> syllable = m_words.shownSyllableAt(track, index);
        if (!syllable) {
            return;
        }
        text = *syllable;
    } else {
        // A lyric event from elsewhere does not say which track it came
        // from: it belongs to the track that owns the channel of the latest
        // routed channel message.
        if (event.Value1 != midi::LyricMeta || LyricTrack != m_session->gateway().currentTrack()) {
            return;
        }
        text = m_words.encoding().decode(event.Text());
    }
    if (IsBlank(text)) {
        return;
    }
    // The strip is one line, as in ShowLyricsAt.
    pnlLyrics->setCaption(LyricsUpTo(event.Ticks));
    lblLyrics->setCaption(withoutLineBreaks(text));
    pnlLyrics2->setCaption(withoutLineBreaks(LyricsAfter(event.Ticks)));
    showLyricsLine(m_lyrics.lineAt(event.Ticks));
}

} // namespace harmonet
