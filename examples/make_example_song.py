#!/usr/bin/env python3
"""Writes examples/old-hundredth.mid, Harmonet's example song.

The Genevan tune "Old Hundredth" (1551) with William Kethe's words (1561), both in
the public domain, set for four voices by this project. A format-1 Standard MIDI
File: a tempo track, then one track per voice ("Soprano", "Alto", "Tenor",
"Bass"), each on its own channel with its own instrument, and the words as lyric
meta events on every voice track, syllable by syllable. The verses begin with
the markers "1." and "2.", which the player counts to offer its verse jumps.

Run it with Python 3 (standard library only):  python3 examples/make_example_song.py
"""

import os
import struct

TICKS_PER_QUARTER = 480
BPM = 80
HALF, QUARTER = 2 * TICKS_PER_QUARTER, TICKS_PER_QUARTER
# Each line of the hymn: a long first note, six short ones, a long last note.
LINE_RHYTHM = [HALF] + [QUARTER] * 6 + [HALF]
ARTICULATION = 24  # ticks of silence before each next note, so repeated notes are heard
PAUSE_BETWEEN_VERSES = QUARTER

NOTE = {name: number for number, name in enumerate(
    ["C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"])}


def pitch(text):
    """MIDI key number of a note name such as 'F#4' (C4 = 60)."""
    return 12 * (int(text[-1]) + 1) + NOTE[text[:-1]]


# Four lines of eight chords, soprano / alto / tenor / bass.
HARMONY = [
    # All people that on earth do dwell
    ["G4 D4 B3 G2", "G4 E4 B3 E3", "F#4 D4 A3 D3", "E4 C4 G3 C3",
     "D4 B3 G3 G2", "G4 E4 B3 E3", "A4 F#4 D4 D3", "B4 G4 D4 G2"],
    # Sing to the Lord with cheerful voice
    ["B4 G4 D4 G3", "B4 G4 B3 E3", "B4 F#4 D4 B2", "A4 F#4 D4 D3",
     "G4 E4 B3 E3", "C5 E4 G3 C3", "B4 D4 G3 D3", "A4 F#4 D4 D3"],
    # Him serve with fear, his praise forth tell
    ["G4 D4 B3 G2", "A4 F#4 D4 D3", "B4 G4 D4 G3", "A4 F#4 D4 F#3",
     "G4 E4 B3 E3", "E4 C4 G3 C3", "F#4 D4 A3 D3", "G4 D4 B3 G2"],
    # Come ye before him and rejoice
    ["D5 G4 B3 G2", "B4 G4 B3 E3", "G4 E4 C4 C3", "A4 F#4 D4 D3",
     "C5 E4 C4 A2", "B4 D4 G3 D3", "A4 F#4 C4 D3", "G4 D4 B3 G2"],
]

# Syllables of each line, eight to a line; a syllable that ends a word carries
# the space after it. The first syllable of a verse carries its marker.
VERSES = [
    ["1. All ", "peo", "ple ", "that ", "on ", "earth ", "do ", "dwell, ",
     "Sing ", "to ", "the ", "Lord ", "with ", "cheer", "ful ", "voice; ",
     "Him ", "serve ", "with ", "fear, ", "his ", "praise ", "forth ", "tell; ",
     "Come ", "ye ", "be", "fore ", "him ", "and ", "re", "joice. "],
    ["2. The ", "Lord, ", "ye ", "know, ", "is ", "God ", "in", "deed; ",
     "With", "out ", "our ", "aid ", "he ", "did ", "us ", "make; ",
     "We ", "are ", "his ", "folk, ", "he ", "doth ", "us ", "feed, ",
     "And ", "for ", "his ", "sheep ", "he ", "doth ", "us ", "take."],
]

VOICES = [
    # name, channel, General MIDI program, pan
    ("Soprano", 0, 73, 54),   # Flute
    ("Alto", 1, 71, 74),      # Clarinet
    ("Tenor", 2, 69, 44),     # English Horn
    ("Bass", 3, 70, 84),      # Bassoon
]


def vlq(value):
    """A variable-length quantity: seven bits a byte, high bit set on all but the last."""
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def meta(kind, data):
    return bytes([0xFF, kind]) + vlq(len(data)) + data


def track_chunk(timed_events):
    """An MTrk chunk from (absolute tick, order, bytes) triples, end of track appended."""
    body = bytearray()
    now = 0
    for tick, _, data in sorted(timed_events, key=lambda e: (e[0], e[1])):
        body += vlq(tick - now) + data
        now = tick
    body += vlq(0) + meta(0x2F, b"")
    return b"MTrk" + struct.pack(">I", len(body)) + bytes(body)


def song_length():
    return len(VERSES) * 4 * sum(LINE_RHYTHM) + (len(VERSES) - 1) * PAUSE_BETWEEN_VERSES


def tempo_track():
    quarter_us = 60_000_000 // BPM
    return track_chunk([
        (0, 0, meta(0x03, b"Old Hundredth")),
        (0, 1, meta(0x58, bytes([4, 2, 24, 8]))),        # 4/4
        (0, 2, meta(0x59, bytes([1, 0]))),               # G major
        (0, 3, meta(0x51, quarter_us.to_bytes(3, "big"))),
        (song_length(), 4, meta(0x01, b"Tune: Genevan Psalter, 1551. Words: William Kethe, 1561.")),
    ])


def voice_track(voice_index):
    name, channel, program, pan = VOICES[voice_index]
    events = [
        (0, 0, meta(0x03, name.encode("ascii"))),
        (0, 1, bytes([0xC0 | channel, program])),
        (0, 2, bytes([0xB0 | channel, 7, 100])),
        (0, 3, bytes([0xB0 | channel, 10, pan])),
    ]
    tick = 0
    for verse in VERSES:
        syllables = iter(verse)
        for line in HARMONY:
            for chord, length in zip(line, LINE_RHYTHM):
                key = pitch(chord.split()[voice_index])
                # Order within one tick: note-offs first, then the lyric, then the note-on.
                events.append((tick, 5, meta(0x05, next(syllables).encode("ascii"))))
                events.append((tick, 6, bytes([0x90 | channel, key, 80])))
                events.append((tick + length - ARTICULATION, 4, bytes([0x80 | channel, key, 64])))
                tick += length
        tick += PAUSE_BETWEEN_VERSES
    return track_chunk(events)


def song():
    header = b"MThd" + struct.pack(">IHHH", 6, 1, 1 + len(VOICES), TICKS_PER_QUARTER)
    return header + tempo_track() + b"".join(voice_track(v) for v in range(len(VOICES)))


if __name__ == "__main__":
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "old-hundredth.mid")
    with open(path, "wb") as out:
        out.write(song())
    seconds = song_length() / TICKS_PER_QUARTER * 60 / BPM
    print(f"wrote {path} ({seconds:.0f} s)")
