// Every event the sequencer dispatches: channel messages go to the output
// device as the owner track's mute, instrument and mixer settings say; the
// syllables of the lyrics track go to the scrolling strip; other meta events
// are dropped.
#include "player/UnitMain.h"

#include "midiout/MidiOut.h"
#include "player/Panel.h"
#include "player/PracticeMenus.h"
#include "player/RightAlignedLabel.h"
#include "sequencer/MidiFile.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace harmonet {

namespace {

constexpr quint8 MetaStatus = 0xFF;
constexpr quint8 TextMeta = 0x01;
constexpr quint8 LyricMeta = 0x05;
constexpr quint8 NoteOn = 0x90;
constexpr quint8 Controller = 0xB0;
constexpr quint8 ProgramChange = 0xC0;
constexpr quint8 AllNotesOffController = 123;
constexpr quint8 VolumeController = 7;
constexpr quint8 PanController = 10;

quint8 dataByte(qint32 value)
{
    return quint8(std::clamp(value, 0, 127));
}

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
    if (event->Status == MetaStatus) {
        routeMetaEvent(*event);
        return;
    }
    // An event read before any status byte carries no message.
    if (event->Status < 0x80) {
        return;
    }
    TMyMidiEvent outgoing(event->Status, event->Value1, event->Value2);
    const quint8 kind = event->Status & 0xF0;
    if (kind != NoteOn && kind != Controller && kind != ProgramChange) {
        MidiOutput1->SendEvent(outgoing);
        return;
    }

    const int eventChannel = (event->Status & 0x0F) + 1;
    const TMidiTrack* track = MidiFile1->TrackForChannel(eventChannel);
    CurrentTrack = track->TrackNumber();
    const int channel = track->Channel();
    // A track without note-ons has no channel: nothing can replace a message for it.
    const bool hasChannel = channel >= 1 && channel <= 16;
    const bool onTrackChannel = hasChannel && eventChannel == channel;

    if (kind == ProgramChange && onTrackChannel) {
        outgoing = TMyMidiEvent(quint8(ProgramChange + channel - 1), dataByte(track->ProgramNumber()), 0);
        MidiOutput1->SendEvent(outgoing);
    }
    if (kind == Controller && onTrackChannel && MixerWindow) {
        outgoing = mixerReplacement(*track, outgoing);
    }
    if (track->Muted()) {
        if (hasChannel) {
            MidiOutput1->SendEvent(TMyMidiEvent(quint8(Controller + channel - 1), AllNotesOffController, 0));
        }
        return;
    }
    PracticeMenus1->route(outgoing);
    MidiOutput1->SendEvent(outgoing);
}

TMyMidiEvent TfrmMain::mixerReplacement(const TMidiTrack& track, const TMyMidiEvent& message)
{
    // While the track mixer is open its volume and pan settings stay in
    // force: the file's own volume and pan controllers take them.
    switch (message.FirstData) {
    case VolumeController:
        return TMyMidiEvent(message.StatusByte, VolumeController, dataByte(track.Volume()));
    case PanController:
        return TMyMidiEvent(message.StatusByte, PanController, dataByte(track.Pan()));
    default:
        return TMyMidiEvent(message.StatusByte, message.FirstData, message.SecondData);
    }
}

void TfrmMain::routeMetaEvent(const TMidiEvent& event)
{
    if (event.Value1 != LyricMeta && event.Value1 != TextMeta) {
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
        if (event.Value1 != LyricMeta || LyricTrack != CurrentTrack) {
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
}

} // namespace harmonet
