#include "tools/corpus/CorpusCases.h"

#include "sequencer/SmfWriter.h"

namespace harmonet::tools {

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (const int value : values)
        out.append(char(value));
    return out;
}

// A short four-bar phrase on one channel: program, volume, pan, a lyric per note.
void phrase(SmfWriter& w, int channel0, quint8 program, quint8 firstKey)
{
    w.programChange(0, channel0, program);
    w.controlChange(0, channel0, 7, 100);
    w.controlChange(0, channel0, 10, quint8(32 + 16 * channel0));
    for (int i = 0; i < 4; ++i) {
        const quint8 key = quint8(firstKey + 2 * i);
        w.meta(0, SmfWriter::Lyric, QByteArray("la") + char('1' + i));
        w.noteOn(0, channel0, key, 80);
        w.noteOff(96, channel0, key);
    }
}

// --- Well-formed shapes ---

QByteArray format0SingleTrack()
{
    SmfWriter w;
    w.header(0, 1, 96).beginTrack();
    w.meta(0, SmfWriter::TrackName, "Melody").tempo(0, 500000);
    phrase(w, 0, 52, 60);
    return w.endOfTrack().endTrack().bytes();
}

QByteArray format1TempoTrackAndThreeVoices()
{
    SmfWriter w;
    w.header(1, 4, 480);
    w.beginTrack().meta(0, SmfWriter::TrackName, "Tempo").tempo(0, 600000).endOfTrack().endTrack();
    for (int voice = 0; voice < 3; ++voice) {
        w.beginTrack().meta(0, SmfWriter::TrackName, QByteArray("Voice ") + char('1' + voice));
        phrase(w, voice, quint8(52 + voice), quint8(48 + 7 * voice));
        w.endOfTrack().endTrack();
    }
    return w.bytes();
}

QByteArray format2TwoPatterns()
{
    SmfWriter w;
    w.header(2, 2, 120);
    w.beginTrack().tempo(0, 400000);
    phrase(w, 0, 0, 60);
    w.endOfTrack().endTrack();
    w.beginTrack().tempo(0, 300000);
    phrase(w, 1, 40, 72);
    w.endOfTrack().endTrack();
    return w.bytes();
}

QByteArray runningStatusNotes()
{
    SmfWriter w;
    w.header(0, 1, 96).beginTrack();
    w.noteOn(0, 0, 0x3C, 0x40).running(0x10, 0x3C, 0x00);
    w.running(0, 0x3E, 0x40).running(0x10, 0x3E, 0x00);
    return w.endOfTrack().endTrack().bytes();
}

QByteArray runningStatusAcrossMetaAndSysex()
{
    SmfWriter w;
    w.header(0, 1, 96).beginTrack();
    w.noteOn(0, 2, 60, 90).meta(0, SmfWriter::Text, "between").running(48, 60, 0);
    w.noteOn(0, 2, 62, 90).sysex(0, 0xF0, bytes({0x7E, 0x7F, 0x09, 0x01, 0xF7})).running(48, 62, 0);
    return w.endOfTrack().endTrack().bytes();
}

QByteArray noteOffKindsAndOverlaps()
{
    SmfWriter w;
    w.header(0, 1, 96).beginTrack();
    w.noteOn(0, 0, 60, 100).noteOff(24, 0, 60);      // 0x80 note-off
    w.noteOn(0, 0, 62, 100).noteOn(24, 0, 62, 0);    // velocity-0 note-off
    w.noteOn(0, 0, 64, 100).noteOn(12, 0, 64, 100);  // same pitch overlapping
    w.noteOff(12, 0, 64).noteOff(12, 0, 64);
    w.noteOff(12, 0, 65);                            // note-off with no note-on
    w.noteOn(0, 5, 60, 100).noteOff(24, 0, 60);      // note-off on another channel
    return w.endOfTrack().endTrack().bytes();
}

QByteArray sysexF0AndF7()
{
    SmfWriter w;
    w.header(0, 1, 96).beginTrack();
    w.sysex(0, 0xF0, bytes({0x7E, 0x7F, 0x09, 0x01, 0xF7}));
    w.sysex(10, 0xF0, bytes({0x43, 0x12}));
    w.sysex(10, 0xF7, bytes({0x00, 0x43, 0xF7}));
    w.sysex(10, 0xF0, QByteArray());
    w.noteOn(0, 0, 60, 64).noteOff(96, 0, 60);
    return w.endOfTrack().endTrack().bytes();
}

QByteArray metaTextsWithZeroAndLatin1Bytes()
{
    SmfWriter w;
    w.header(1, 1, 96).beginTrack();
    w.meta(0, SmfWriter::TrackName, bytes({'C', 'h', 0x9C, 'u', 'r', ' ', 0xE9, 0xFF}));
    w.meta(0, SmfWriter::InstrumentName, "Alto");
    w.meta(0, SmfWriter::Lyric, bytes({'H', 'a', 'l', 0x00, 'l', 'o'}));
    w.meta(0, SmfWriter::Text, bytes({'"', '\\', '\n', '\t', 0x01, 0x7F}));
    w.meta(0, SmfWriter::Marker, QByteArray());
    w.meta(0, 0x7F, bytes({0x00, 0x00, 0x41}));
    return w.endOfTrack().endTrack().bytes();
}

QByteArray zeroLengthTrack()
{
    SmfWriter w;
    w.header(1, 2, 96);
    w.beginTrack().endTrack();
    w.beginTrack().noteOn(0, 0, 60, 64).noteOff(96, 0, 60).endOfTrack().endTrack();
    return w.bytes();
}

QByteArray unknownChunkSkipped()
{
    SmfWriter w;
    w.header(0, 1, 96);
    w.chunk("XFIH", bytes({1, 2, 3, 4, 5}));
    w.beginTrack().noteOn(0, 0, 60, 64).noteOff(96, 0, 60).endOfTrack().endTrack();
    w.chunk("MTrx", QByteArray());
    return w.bytes();
}

QByteArray eightZeroBytesAfterLastChunk()
{
    SmfWriter w;
    w.header(0, 1, 96);
    w.beginTrack().noteOn(0, 0, 60, 64).noteOff(96, 0, 60).endOfTrack().endTrack();
    return w.raw(QByteArray(8, '\0')).bytes();
}

QByteArray timecodeDivision()
{
    SmfWriter w;
    w.header(0, 1, 0xE728);
    w.beginTrack().tempo(0, 500000).noteOn(0, 0, 60, 64).noteOff(40, 0, 60).endOfTrack().endTrack();
    return w.bytes();
}

QByteArray systemCommonAndRealtimeBytes()
{
    SmfWriter w;
    w.header(0, 1, 96).beginTrack();
    w.noteOn(0, 0, 60, 64);
    for (int status = 0xF1; status <= 0xFE; ++status) {
        if (status != 0xF7)
            w.delta(1).raw(bytes({status}));
    }
    w.running(1, 60, 0);
    return w.endOfTrack().endTrack().bytes();
}

QByteArray allChannelMessageKinds()
{
    SmfWriter w;
    w.header(0, 1, 96).beginTrack();
    for (int channel0 = 0; channel0 < 16; ++channel0) {
        w.channel(0, quint8(0xA0 | channel0), 60, 30);
        w.channel(0, quint8(0xB0 | channel0), 64, 127);
        w.channel(0, quint8(0xC0 | channel0), quint8(channel0 * 8));
        w.channel(0, quint8(0xD0 | channel0), 50);
        w.channel(0, quint8(0xE0 | channel0), 0x00, 0x40);
        w.noteOn(1, channel0, 60, 64).noteOff(1, channel0, 60);
    }
    return w.endOfTrack().endTrack().bytes();
}

QByteArray dataBytesWithTopBit()
{
    SmfWriter w;
    w.header(0, 1, 96).beginTrack();
    w.raw(bytes({0x00, 0xC0, 0x90}));             // program change with program 144
    w.raw(bytes({0x00, 0x90, 0xC8, 0x40}));       // note-on of key 200
    w.raw(bytes({0x10, 0x80, 0xC8, 0x00}));       // and its note-off
    return w.endOfTrack().endTrack().bytes();
}

QByteArray eventsBeforeFirstStatus()
{
    SmfWriter w;
    w.header(0, 1, 96).beginTrack();
    w.raw(bytes({0x05, 0x10, 0x20}));
    w.noteOn(0, 0, 60, 64).noteOff(10, 0, 60);
    return w.endOfTrack().endTrack().bytes();
}

QByteArray twoTemposLastWins()
{
    SmfWriter w;
    w.header(1, 2, 480);
    w.beginTrack().tempo(0, 500000).tempo(1920, 1000000).endOfTrack().endTrack();
    w.beginTrack().noteOn(0, 0, 60, 64).noteOff(3840, 0, 60).endOfTrack().endTrack();
    return w.bytes();
}

QByteArray noTempoEvent()
{
    SmfWriter w;
    w.header(0, 1, 240);
    w.beginTrack().noteOn(0, 0, 67, 64).noteOff(240, 0, 67).endOfTrack().endTrack();
    return w.bytes();
}

QByteArray hugeDeltaTimesSaturate()
{
    SmfWriter w;
    w.header(0, 1, 96).beginTrack();
    w.tempo(0, 500000).noteOn(0, 0, 60, 64);
    for (int i = 0; i < 10; ++i)
        w.meta(0x0FFFFFFF, SmfWriter::Marker, "far");
    w.noteOff(0x0FFFFFFF, 0, 60);
    return w.endOfTrack().endTrack().bytes();
}

// 4/4 with a change to 3/4 at 1.25 bars (an upbeat of one beat), back to
// 4/4 inside a bar, and a tempo change between.
QByteArray metreChangesAfterAnUpbeat()
{
    SmfWriter w;
    w.header(1, 2, 480);
    w.beginTrack().timeSignature(0, 4, 2).timeSignature(2400, 3, 2).tempo(0, 400000).timeSignature(2400, 4, 2);
    w.endOfTrack().endTrack();
    w.beginTrack().noteOn(0, 0, 60, 64).noteOff(480, 0, 60).noteOn(960, 0, 62, 64).noteOff(5760, 0, 62);
    return w.endOfTrack().endTrack().bytes();
}

QByteArray twentyTracks()
{
    SmfWriter w;
    w.header(1, 20, 96);
    for (int track = 0; track < 20; ++track) {
        w.beginTrack().noteOn(quint64(track), track % 16, quint8(40 + track), 64);
        w.noteOff(48, track % 16, quint8(40 + track)).endOfTrack().endTrack();
    }
    return w.bytes();
}

// --- Damaged files, by reason ---

QByteArray oneNoteTrack(SmfWriter& w)
{
    w.beginTrack().tempo(0, 500000).noteOn(0, 0, 60, 64).noteOff(96, 0, 60).endOfTrack().endTrack();
    return w.bytes();
}

QByteArray oneNoteFile(quint16 division)
{
    SmfWriter w;
    w.header(0, 1, division);
    return oneNoteTrack(w);
}

QByteArray truncatedInChunkHeader()
{
    return oneNoteFile(96).left(14 + 5);
}

QByteArray truncatedTrackContent()
{
    return oneNoteFile(96).chopped(6);
}

QByteArray hugeDeclaredLength()
{
    SmfWriter w;
    w.header(0, 1, 96);
    w.beginTrack().noteOn(0, 0, 60, 64).noteOff(96, 0, 60).endTrack(0xFFFFFFF0u);
    return w.bytes();
}

QByteArray strayBytesAfterLastChunk()
{
    return oneNoteFile(96) + bytes({0x00, 0xFF, 0x2F});
}

QByteArray nineZeroBytesAfterLastChunk()
{
    return oneNoteFile(96) + QByteArray(9, '\0');
}

QByteArray riffWrapped()
{
    const QByteArray midi = oneNoteFile(96);
    const auto size = quint32(midi.size() + 12);
    QByteArray out("RIFF");
    out.append(char(size)).append(char(size >> 8)).append(char(size >> 16)).append(char(size >> 24));
    out.append("RMIDdata");
    const auto dataSize = quint32(midi.size());
    out.append(char(dataSize)).append(char(dataSize >> 8)).append(char(dataSize >> 16)).append(char(dataSize >> 24));
    return out + midi;
}

QByteArray deltaRunsPastChunkEnd()
{
    SmfWriter w;
    w.header(0, 1, 96);
    w.beginTrack().noteOn(0, 0, 60, 64).raw(bytes({0x81, 0x80})).endTrack();
    return oneNoteTrack(w);
}

QByteArray metaLengthRunsPastChunkEnd()
{
    SmfWriter w;
    w.header(0, 1, 96);
    w.beginTrack().noteOn(0, 0, 60, 64).raw(bytes({0x00, 0xFF, 0x05, 0x20, 'L', 'a'})).endTrack();
    return oneNoteTrack(w);
}

QByteArray metaLengthVlqRunsPastChunkEnd()
{
    SmfWriter w;
    w.header(0, 1, 96);
    w.beginTrack().noteOn(0, 0, 60, 64).raw(bytes({0x00, 0xFF, 0x01, 0x83, 0x80})).endTrack();
    return oneNoteTrack(w);
}

QByteArray sysexLengthRunsPastChunkEnd()
{
    SmfWriter w;
    w.header(0, 1, 96);
    w.beginTrack().noteOn(0, 0, 60, 64).raw(bytes({0x00, 0xF0, 0x7F, 0x7E, 0x01})).endTrack();
    return oneNoteTrack(w);
}

QByteArray dataBytesRunPastChunkEnd()
{
    SmfWriter w;
    w.header(0, 1, 96);
    w.beginTrack().noteOn(0, 0, 60, 64).raw(bytes({0x10, 0x90, 0x3C})).endTrack();
    return oneNoteTrack(w);
}

QByteArray overlongVariableLengthQuantity()
{
    SmfWriter w;
    w.header(0, 1, 96);
    w.beginTrack().raw(bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 60, 64}));
    w.raw(bytes({0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0x80, 60, 0}));
    return w.endOfTrack().endTrack().bytes();
}

QByteArray headerShorterThanSixBytes()
{
    SmfWriter w;
    w.chunk("MThd", bytes({0x00, 0x01, 0x00}));
    return oneNoteTrack(w);
}

QByteArray headerLongerThanSixBytes()
{
    SmfWriter w;
    w.chunk("MThd", bytes({0x00, 0x01, 0x00, 0x01, 0x00, 0x60, 0xAA, 0xBB}));
    return oneNoteTrack(w);
}

QByteArray trackBeforeHeader()
{
    SmfWriter w;
    oneNoteTrack(w);
    w.header(0, 1, 96);
    return w.bytes();
}

QByteArray tempoWithZeroDivision()
{
    return oneNoteFile(0);
}

QByteArray tempoZeroAndShortTempoData()
{
    SmfWriter w;
    w.header(0, 1, 96).beginTrack();
    w.tempo(0, 0).meta(0, SmfWriter::SetTempo, bytes({0x07, 0xA1}));
    w.noteOn(0, 0, 60, 64).noteOff(96, 0, 60);
    return w.endOfTrack().endTrack().bytes();
}

// Time signatures that make no metre (numerator 0, a denominator of 2^255,
// a bar shorter than a tick at this division), one short of its data, and
// two at one tick.
QByteArray timeSignaturesWithoutMetre()
{
    SmfWriter w;
    w.header(0, 1, 1).beginTrack();
    w.timeSignature(0, 7, 3).timeSignature(0, 0, 2).timeSignature(1, 3, 255).timeSignature(0, 1, 7);
    w.meta(1, SmfWriter::TimeSignature, bytes({0x05})).timeSignature(0, 2, 0);
    w.noteOn(0, 0, 60, 64).noteOff(9, 0, 60);
    return w.endOfTrack().endTrack().bytes();
}

QByteArray unknownFormatNumber()
{
    SmfWriter w;
    w.header(7, 1, 96);
    return oneNoteTrack(w);
}

QByteArray declaredLengthTooShort()
{
    SmfWriter w;
    w.header(0, 2, 96);
    w.beginTrack().noteOn(0, 0, 60, 64).noteOff(96, 0, 60).endOfTrack().endTrack(5);
    return oneNoteTrack(w);
}

QByteArray notAMidiFile()
{
    return QByteArray("This is a plain text file, not a song.\n");
}

} // namespace

std::vector<CorpusCase> corpusCases()
{
    return {
        {"valid-format0-single-track", format0SingleTrack()},
        {"valid-format1-tempo-track-and-three-voices", format1TempoTrackAndThreeVoices()},
        {"valid-format2-two-patterns", format2TwoPatterns()},
        {"valid-running-status-notes", runningStatusNotes()},
        {"valid-running-status-across-meta-and-sysex", runningStatusAcrossMetaAndSysex()},
        {"valid-note-off-kinds-and-overlaps", noteOffKindsAndOverlaps()},
        {"valid-sysex-f0-and-f7", sysexF0AndF7()},
        {"valid-meta-texts-with-zero-and-latin1-bytes", metaTextsWithZeroAndLatin1Bytes()},
        {"valid-zero-length-track", zeroLengthTrack()},
        {"valid-unknown-chunk-skipped", unknownChunkSkipped()},
        {"valid-eight-zero-bytes-after-last-chunk", eightZeroBytesAfterLastChunk()},
        {"valid-timecode-division", timecodeDivision()},
        {"valid-system-common-and-realtime-bytes", systemCommonAndRealtimeBytes()},
        {"valid-all-channel-message-kinds", allChannelMessageKinds()},
        {"valid-data-bytes-with-top-bit", dataBytesWithTopBit()},
        {"valid-events-before-first-status", eventsBeforeFirstStatus()},
        {"valid-two-tempos-last-wins", twoTemposLastWins()},
        {"valid-no-tempo-event", noTempoEvent()},
        {"valid-huge-delta-times-saturate", hugeDeltaTimesSaturate()},
        {"valid-twenty-tracks", twentyTracks()},
        {"valid-riff-wrapped", riffWrapped()},
        {"valid-metre-changes-after-an-upbeat", metreChangesAfterAnUpbeat()},
        {"invalid-empty-file", QByteArray()},
        {"invalid-not-a-midi-file", notAMidiFile()},
        {"invalid-truncated-in-chunk-header", truncatedInChunkHeader()},
        {"invalid-truncated-track-content", truncatedTrackContent()},
        {"invalid-huge-declared-length", hugeDeclaredLength()},
        {"invalid-declared-length-too-short", declaredLengthTooShort()},
        {"invalid-stray-bytes-after-last-chunk", strayBytesAfterLastChunk()},
        {"invalid-nine-zero-bytes-after-last-chunk", nineZeroBytesAfterLastChunk()},
        {"invalid-time-signatures-without-metre", timeSignaturesWithoutMetre()},
        {"invalid-delta-runs-past-chunk-end", deltaRunsPastChunkEnd()},
        {"invalid-meta-length-runs-past-chunk-end", metaLengthRunsPastChunkEnd()},
        {"invalid-meta-length-vlq-runs-past-chunk-end", metaLengthVlqRunsPastChunkEnd()},
        {"invalid-sysex-length-runs-past-chunk-end", sysexLengthRunsPastChunkEnd()},
        {"invalid-data-bytes-run-past-chunk-end", dataBytesRunPastChunkEnd()},
        {"invalid-overlong-variable-length-quantity", overlongVariableLengthQuantity()},
        {"invalid-header-shorter-than-six-bytes", headerShorterThanSixBytes()},
        {"invalid-header-longer-than-six-bytes", headerLongerThanSixBytes()},
        {"invalid-track-before-header", trackBeforeHeader()},
        {"invalid-tempo-with-zero-division", tempoWithZeroDivision()},
        {"invalid-tempo-zero-and-short-tempo-data", tempoZeroAndShortTempoData()},
        {"invalid-unknown-format-number", unknownFormatNumber()},
    };
}

} // namespace harmonet::tools
