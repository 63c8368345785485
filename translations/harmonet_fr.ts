<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>Application</name>
    <message>
        <source>Harmonet - Midi Player</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Errors</name>
    <message>
        <source>Unknown error</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Export</name>
    <message>
        <source>Cannot create</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 files cannot be written on this system</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a folder of that name exists</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the folder does not exist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is already finished</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot finish</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the encoder failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full mix</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No song to export</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Mixer</name>
    <message>
        <source>Can&apos;t find audio output mixer line for </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t find MIDI output source line for </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Output</name>
    <message>
        <source>The built-in synthesizer has no audio output: no sound card or sound server could be opened (audio driver &quot;%1&quot;). It accepts every message but you will hear nothing; choose a MIDI port or connect an audio device. The sound comes on by itself as soon as an audio output can be opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The built-in synthesizer lost its audio output at %1 (audio driver &quot;%2&quot; stopped). Playing goes on silently; the sound comes back by itself as soon as the audio output can be opened again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MIDI output Device </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> not installed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>. Choose another output device in the settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MIDI Output device not open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unspecified error in the MIDI output layer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The MIDI output device identifier is out of range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The MIDI output device is not open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The MIDI driver reported an error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No General MIDI SoundFont was found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The built-in synthesizer could not be started</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The MIDI message does not begin with a status byte</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A long MIDI message must hold at least one byte</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The MIDI output device is no longer connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Specified error number is out of range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No General MIDI SoundFont was found for the built-in synthesizer (looked for %1). Install one, for example with &quot;sudo apt-get install timgm6mb-soundfont&quot; or &quot;sudo apt-get install fluid-soundfont-gm&quot;, or set the environment variable HARMONET_SOUNDFONT to the path of a .sf2 file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a usable SoundFont: %1. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The MIDI port %1 is no longer available</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>The settings file %1 is read-only.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The damaged settings file %1 could not be kept as %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SongFile</name>
    <message>
        <source>File not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Is a directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Access denied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read beyond end of file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

File: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is a folder, not a MIDI file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a MIDI file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 could not be read.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Voices</name>
    <message>
        <source>Track %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Soprano</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tenor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bass</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>harmonet</name>
    <message>
        <source>Balance</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>harmonet::TColorPalettePopup</name>
    <message>
        <source>&amp;Other</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>harmonet::THelpViewer</name>
    <message>
        <source>Harmonet - Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt; Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forward &gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contents</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>harmonet::TPracticeMenus</name>
    <message>
        <source>&amp;Silent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export Practice Tracks...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;My Part</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>O&amp;thers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pa&amp;nned</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>My Part on the &amp;Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>My Part on the &amp;Right</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>harmonet::TdlgExportPractice</name>
    <message>
        <source>Harmonet - Export Practice Tracks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (not available on this system)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One file per &amp;voice, that voice emphasised</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Full mix</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Panned, my part on the</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>F&amp;older:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fo&amp;rmat:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>O&amp;thers:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tempo %1 bpm; mutes and instruments as set in the player.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder for the practice tracks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the folder for the practice tracks.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of these files exist already. Replace them?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rendering %1 files...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1
%2 of %3 files written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelled: %1 of %2 files written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 files written to %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>harmonet::TdlgLoadError</name>
    <message>
        <source>Error Loading File...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Midi file not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load another one now?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>harmonet::TfrmAbout</name>
    <message>
        <source>About Harmonet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A MIDI file player for singers learning their parts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>harmonet::TfrmLyrics</name>
    <message>
        <source>Harmonet - Lyrics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy to Clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change Display Font...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>harmonet::TfrmMain</name>
    <message>
        <source>MIDI Files (*.mid *.midi *.kar *.rmi)|*.mid;*.midi;*.kar;*.rmi|All files (*)|*</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load MIDI File...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Harmonet - </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No MIDI File Loaded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open MIDI File...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Track Mixer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View Lyrics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Track %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lyrics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Instruments</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rewind</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fast Forward</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Count Up / Count Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Position </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tempo (bpm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Master </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mute Master</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Midi </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mute Midi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Treble</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bass </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reopen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Scrolling Lyrics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Instruments</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Controls</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Follow Tempo Changes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Harmonet Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verse %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View Full Lyrics...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit Lyric Colors...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No audio output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No SoundFont</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Deleted Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings not saved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The settings file %1 cannot be written: it or its folder is read-only.
Your settings and your changes to them are kept until Harmonet closes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tempo changes ignored</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This file changes its tempo, but it plays at one tempo throughout. Turn on Options &gt; Follow Tempo Changes to play it as written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click Track to change Instrument</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Harmonet - MIDI Player</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No mixer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Words</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text Encoding</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(No Words)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>harmonet::TfrmMixer</name>
    <message>
        <source>Harmonet - Mixer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Track %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Balance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Volume</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>harmonet::TfrmSettings</name>
    <message>
        <source>Track %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Lyric Options </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scrolling Lyrics </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Background Color </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hilight Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Example </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lyrics Window Font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Time Display Options </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default Instruments</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> MIDI Output Port </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Harmonet - Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot make a visible window modal</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
