<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Application</name>
    <message>
        <source>Harmonet - Midi Player</source>
        <translation>Harmonet - MIDI-Player</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Shows this help and ends.</source>
        <translation>Zeigt diese Hilfe und endet.</translation>
    </message>
    <message>
        <source>Shows the version and ends.</source>
        <translation>Zeigt die Version und endet.</translation>
    </message>
    <message>
        <source>Plays MIDI files for singers learning their part of a choral piece: mute or emphasise voices, change the tempo and follow the words.</source>
        <translation>Spielt MIDI-Dateien für Sängerinnen und Sänger, die ihre Stimme eines Chorstücks lernen: Stimmen stumm schalten oder hervorheben, das Tempo ändern und dem Text folgen.</translation>
    </message>
    <message>
        <source>The MIDI file to open.</source>
        <translation>Die zu öffnende MIDI-Datei.</translation>
    </message>
    <message>
        <source>[file]</source>
        <translation>[Datei]</translation>
    </message>
    <message>
        <source>%1: %2
Try &quot;%1 --help&quot;.
</source>
        <translation>%1: %2
Siehe „%1 --help“.
</translation>
    </message>
</context>
<context>
    <name>Errors</name>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
</context>
<context>
    <name>Export</name>
    <message>
        <source>Cannot create</source>
        <translation>Kann nicht angelegt werden:</translation>
    </message>
    <message>
        <source>%1 files cannot be written on this system</source>
        <translation>%1-Dateien können auf diesem System nicht geschrieben werden</translation>
    </message>
    <message>
        <source>a folder of that name exists</source>
        <translation>ein Ordner dieses Namens existiert</translation>
    </message>
    <message>
        <source>the folder does not exist</source>
        <translation>der Ordner existiert nicht</translation>
    </message>
    <message>
        <source>Cannot write</source>
        <translation>Kann nicht geschrieben werden:</translation>
    </message>
    <message>
        <source>the file is already finished</source>
        <translation>die Datei ist schon abgeschlossen</translation>
    </message>
    <message>
        <source>Cannot finish</source>
        <translation>Kann nicht abgeschlossen werden:</translation>
    </message>
    <message>
        <source>the encoder failed</source>
        <translation>der Encoder ist gescheitert</translation>
    </message>
    <message>
        <source>Full mix</source>
        <translation>Gesamtklang</translation>
    </message>
    <message>
        <source>No song to export</source>
        <translation>Kein Stück zum Exportieren</translation>
    </message>
</context>
<context>
    <name>Mixer</name>
    <message>
        <source>Can&apos;t find audio output mixer line for %1</source>
        <translation>Keine Audioausgangs-Leitung im Mischer %1 gefunden</translation>
    </message>
    <message>
        <source>Can&apos;t find MIDI output source line for %1</source>
        <translation>Keine MIDI-Quell-Leitung im Mischer %1 gefunden</translation>
    </message>
</context>
<context>
    <name>Output</name>
    <message>
        <source>The built-in synthesizer has no audio output: no sound card or sound server could be opened (audio driver &quot;%1&quot;). It accepts every message but you will hear nothing; choose a MIDI port or connect an audio device. The sound comes on by itself as soon as an audio output can be opened.</source>
        <translation>Der eingebaute Synthesizer hat keine Audioausgabe: Weder eine Soundkarte noch ein Soundserver konnte geöffnet werden (Audiotreiber „%1“). Er nimmt jede Nachricht an, aber Sie hören nichts; wählen Sie einen MIDI-Port oder schließen Sie ein Audiogerät an. Der Ton kommt von selbst, sobald sich eine Audioausgabe öffnen lässt.</translation>
    </message>
    <message>
        <source>The built-in synthesizer lost its audio output at %1 (audio driver &quot;%2&quot; stopped). Playing goes on silently; the sound comes back by itself as soon as the audio output can be opened again.</source>
        <translation>Der eingebaute Synthesizer hat um %1 seine Audioausgabe verloren (Audiotreiber „%2“ angehalten). Die Wiedergabe läuft stumm weiter; der Ton kommt von selbst zurück, sobald sich die Audioausgabe wieder öffnen lässt.</translation>
    </message>
    <message>
        <source>MIDI Output device not open</source>
        <translation>MIDI-Ausgabegerät ist nicht geöffnet</translation>
    </message>
    <message>
        <source>No error</source>
        <translation>Kein Fehler</translation>
    </message>
    <message>
        <source>Unspecified error in the MIDI output layer</source>
        <translation>Nicht näher bestimmter Fehler der MIDI-Ausgabe</translation>
    </message>
    <message>
        <source>The MIDI output device identifier is out of range</source>
        <translation>Die Kennung des MIDI-Ausgabegeräts liegt außerhalb des Bereichs</translation>
    </message>
    <message>
        <source>The MIDI output device is not open</source>
        <translation>Das MIDI-Ausgabegerät ist nicht geöffnet</translation>
    </message>
    <message>
        <source>The MIDI driver reported an error</source>
        <translation>Der MIDI-Treiber hat einen Fehler gemeldet</translation>
    </message>
    <message>
        <source>No General MIDI SoundFont was found</source>
        <translation>Kein General-MIDI-SoundFont gefunden</translation>
    </message>
    <message>
        <source>The built-in synthesizer could not be started</source>
        <translation>Der eingebaute Synthesizer konnte nicht gestartet werden</translation>
    </message>
    <message>
        <source>The MIDI message does not begin with a status byte</source>
        <translation>Die MIDI-Nachricht beginnt nicht mit einem Statusbyte</translation>
    </message>
    <message>
        <source>A long MIDI message must hold at least one byte</source>
        <translation>Eine lange MIDI-Nachricht muss mindestens ein Byte enthalten</translation>
    </message>
    <message>
        <source>The MIDI output device is no longer connected</source>
        <translation>Das MIDI-Ausgabegerät ist nicht mehr angeschlossen</translation>
    </message>
    <message>
        <source>Specified error number is out of range</source>
        <translation>Die angegebene Fehlernummer liegt außerhalb des Bereichs</translation>
    </message>
    <message>
        <source>No General MIDI SoundFont was found for the built-in synthesizer (looked for %1). Install one, for example with &quot;sudo apt-get install timgm6mb-soundfont&quot; or &quot;sudo apt-get install fluid-soundfont-gm&quot;, or set the environment variable HARMONET_SOUNDFONT to the path of a .sf2 file.</source>
        <translation>Für den eingebauten Synthesizer wurde kein General-MIDI-SoundFont gefunden (gesucht: %1). Installieren Sie einen, zum Beispiel mit „sudo apt-get install timgm6mb-soundfont“ oder „sudo apt-get install fluid-soundfont-gm“, oder setzen Sie die Umgebungsvariable HARMONET_SOUNDFONT auf den Pfad einer .sf2-Datei.</translation>
    </message>
    <message>
        <source>Not a usable SoundFont: %1. </source>
        <translation>Kein brauchbarer SoundFont: %1. </translation>
    </message>
    <message>
        <source>The MIDI port %1 is no longer available</source>
        <translation>Der MIDI-Port %1 ist nicht mehr verfügbar</translation>
    </message>
    <message>
        <source>MIDI output Device %1 not installed</source>
        <translation>MIDI-Ausgabegerät %1 ist nicht installiert</translation>
    </message>
    <message>
        <source>%1. Choose another output device in the settings.</source>
        <translation>%1. Wählen Sie in den Einstellungen ein anderes Ausgabegerät.</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>The settings file %1 is read-only.</source>
        <translation>Die Einstellungsdatei %1 ist schreibgeschützt.</translation>
    </message>
    <message>
        <source>The damaged settings file %1 could not be kept as %2.</source>
        <translation>Die beschädigte Einstellungsdatei %1 konnte nicht als %2 aufbewahrt werden.</translation>
    </message>
</context>
<context>
    <name>SongFile</name>
    <message>
        <source>File not found</source>
        <translation>Datei nicht gefunden</translation>
    </message>
    <message>
        <source>Is a directory</source>
        <translation>Ist ein Ordner</translation>
    </message>
    <message>
        <source>Access denied</source>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Nicht genug Speicher</translation>
    </message>
    <message>
        <source>Read beyond end of file</source>
        <translation>Lesen über das Dateiende hinaus</translation>
    </message>
    <message>
        <source>%1 was not found.</source>
        <translation>%1 wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>%1 is a folder, not a MIDI file.</source>
        <translation>%1 ist ein Ordner, keine MIDI-Datei.</translation>
    </message>
    <message>
        <source>%1 is empty.</source>
        <translation>%1 ist leer.</translation>
    </message>
    <message>
        <source>%1 is not a MIDI file.</source>
        <translation>%1 ist keine MIDI-Datei.</translation>
    </message>
    <message>
        <source>%1 could not be read.</source>
        <translation>%1 konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>File: %1</source>
        <translation>Datei: %1</translation>
    </message>
</context>
<context>
    <name>Voices</name>
    <message>
        <source>Track %1</source>
        <translation>Spur %1</translation>
    </message>
    <message>
        <source>Soprano</source>
        <translation>Sopran</translation>
    </message>
    <message>
        <source>Alto</source>
        <translation>Alt</translation>
    </message>
    <message>
        <source>Tenor</source>
        <translation>Tenor</translation>
    </message>
    <message>
        <source>Bass</source>
        <translation>Bass</translation>
    </message>
</context>
<context>
    <name>harmonet::PlayingSession</name>
    <message>
        <source>“%1”</source>
        <translation>„%1“</translation>
    </message>
    <message>
        <source>“%1” sings on one staff with %2, and this song leaves no room to play it apart: they are brought forward together.</source>
        <translation>„%1“ singt auf einem System mit %2, und in diesem Stück ist kein Platz, sie getrennt zu spielen: Sie werden gemeinsam hervorgehoben.</translation>
    </message>
</context>
<context>
    <name>harmonet::TBarControls</name>
    <message>
        <source>&amp;Go to Bar...</source>
        <translation>&amp;Gehe zu Takt...</translation>
    </message>
    <message>
        <source>Bar &amp;Back</source>
        <translation>Takt &amp;zurück</translation>
    </message>
    <message>
        <source>Bar &amp;On</source>
        <translation>Takt &amp;vor</translation>
    </message>
    <message>
        <source>Start of P&amp;hrase</source>
        <translation>P&amp;hrasenanfang</translation>
    </message>
    <message>
        <source>Loop &amp;Starts Here</source>
        <translation>Schleife &amp;beginnt hier</translation>
    </message>
    <message>
        <source>Loop &amp;Ends Here</source>
        <translation>Schleife &amp;endet hier</translation>
    </message>
    <message>
        <source>&amp;Clear Loop</source>
        <translation>Schleife &amp;aufheben</translation>
    </message>
    <message>
        <source>&amp;Upbeat...</source>
        <translation>A&amp;uftakt...</translation>
    </message>
    <message>
        <source>&amp;Time</source>
        <translation>&amp;Zeit</translation>
    </message>
    <message>
        <source>&amp;Bar and Beat</source>
        <translation>&amp;Takt und Schlag</translation>
    </message>
    <message>
        <source>B&amp;oth</source>
        <translation>&amp;Beides</translation>
    </message>
    <message>
        <source>Loop: bars %1 to %2</source>
        <translation>Schleife: Takte %1 bis %2</translation>
    </message>
    <message>
        <source>Upbeat</source>
        <translation>Auftakt</translation>
    </message>
    <message>
        <source>Beats before bar 1 (0: none):</source>
        <translation>Schläge vor Takt 1 (0: keine):</translation>
    </message>
</context>
<context>
    <name>harmonet::TColorPalettePopup</name>
    <message>
        <source>&amp;Other</source>
        <translation>&amp;Weitere</translation>
    </message>
</context>
<context>
    <name>harmonet::THelpViewer</name>
    <message>
        <source>Harmonet - Help</source>
        <translation>Harmonet - Hilfe</translation>
    </message>
    <message>
        <source>&lt; Back</source>
        <translation>&lt; Zurück</translation>
    </message>
    <message>
        <source>Forward &gt;</source>
        <translation>Vor &gt;</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Inhalt</translation>
    </message>
</context>
<context>
    <name>harmonet::TPitchClickMenus</name>
    <message>
        <source>&amp;Soft</source>
        <translation>&amp;Leise</translation>
    </message>
    <message>
        <source>&amp;Medium</source>
        <translation>&amp;Mittel</translation>
    </message>
    <message>
        <source>&amp;Loud</source>
        <translation>L&amp;aut</translation>
    </message>
    <message>
        <source>Give Me My &amp;Note</source>
        <translation>Meinen &amp;Ton geben</translation>
    </message>
    <message>
        <source>Fas&amp;ter</source>
        <translation>Schnel&amp;ler</translation>
    </message>
    <message>
        <source>Slo&amp;wer</source>
        <translation>Langsa&amp;mer</translation>
    </message>
    <message>
        <source>&amp;Up a Semitone</source>
        <translation>Einen Halbton &amp;höher</translation>
    </message>
    <message>
        <source>&amp;Down a Semitone</source>
        <translation>Einen Halbton &amp;tiefer</translation>
    </message>
    <message>
        <source>&amp;Original Pitch</source>
        <translation>&amp;Originale Tonhöhe</translation>
    </message>
    <message>
        <source>&amp;Count-In</source>
        <translation>&amp;Einzählen</translation>
    </message>
    <message>
        <source>&amp;None</source>
        <translation>&amp;Keine</translation>
    </message>
    <message>
        <source>&amp;1 Bar</source>
        <translation>&amp;1 Takt</translation>
    </message>
    <message>
        <source>&amp;2 Bars</source>
        <translation>&amp;2 Takte</translation>
    </message>
    <message>
        <source>Ne&amp;xt Count-In</source>
        <translation>&amp;Nächstes Einzählen</translation>
    </message>
    <message>
        <source>M&amp;etronome</source>
        <translation>M&amp;etronom</translation>
    </message>
    <message>
        <source>C&amp;lick Level</source>
        <translation>&amp;Klicklautstärke</translation>
    </message>
    <message>
        <source>Clicks to System &amp;Ports</source>
        <translation>Klicks an System-&amp;Ports</translation>
    </message>
    <message>
        <source>&amp;Transpose (%1)</source>
        <translation>&amp;Transponieren (%1)</translation>
    </message>
    <message>
        <source>Before Each &amp;Pass of the Loop</source>
        <translation>Vor jedem &amp;Durchgang der Schleife</translation>
    </message>
</context>
<context>
    <name>harmonet::TPracticeMenus</name>
    <message>
        <source>&amp;Silent</source>
        <translation>&amp;Stumm</translation>
    </message>
    <message>
        <source>&amp;Export Practice Tracks...</source>
        <translation>Übungsaufnahmen &amp;exportieren...</translation>
    </message>
    <message>
        <source>&amp;My Part</source>
        <translation>&amp;Meine Stimme</translation>
    </message>
    <message>
        <source>&amp;None</source>
        <translation>&amp;Keine</translation>
    </message>
    <message>
        <source>O&amp;thers</source>
        <translation>&amp;Andere Stimmen</translation>
    </message>
    <message>
        <source>Pa&amp;nned</source>
        <translation>Im Pa&amp;norama verteilt</translation>
    </message>
    <message>
        <source>My Part on the &amp;Left</source>
        <translation>Meine Stimme &amp;links</translation>
    </message>
    <message>
        <source>My Part on the &amp;Right</source>
        <translation>Meine Stimme &amp;rechts</translation>
    </message>
    <message>
        <source>My Part: %1</source>
        <translation>Meine Stimme: %1</translation>
    </message>
    <message>
        <source>&amp;Without My Part</source>
        <translation>&amp;Ohne meine Stimme</translation>
    </message>
</context>
<context>
    <name>harmonet::TPracticeRollView</name>
    <message>
        <source>Note roll</source>
        <translation>Notenrolle</translation>
    </message>
    <message>
        <source>Left and Right choose a bar, Enter plays from it; Shift with Left or Right marks bars and Enter loops them; plus and minus zoom.</source>
        <translation>Links und Rechts wählen einen Takt, Eingabe spielt ab dort; Umschalt mit Links oder Rechts markiert Takte und Eingabe wiederholt sie; Plus und Minus zoomen.</translation>
    </message>
</context>
<context>
    <name>harmonet::TSingAlong</name>
    <message>
        <source>&amp;Practice</source>
        <translation>&amp;Üben</translation>
    </message>
    <message>
        <source>&amp;Sing Along</source>
        <translation>&amp;Mitsingen</translation>
    </message>
    <message>
        <source>Play &amp;Take</source>
        <translation>Aufnahme &amp;abspielen</translation>
    </message>
    <message>
        <source>Take with My Part &amp;Muted</source>
        <translation>Aufnahme mit stummer &amp;eigener Stimme</translation>
    </message>
    <message>
        <source>E&amp;xport Take...</source>
        <translation>Aufnahme e&amp;xportieren...</translation>
    </message>
    <message>
        <source>&amp;Calibrate Latency</source>
        <translation>&amp;Latenz einmessen</translation>
    </message>
    <message>
        <source>Microphone &amp;Latency...</source>
        <translation>Mikrofon-&amp;Latenz...</translation>
    </message>
    <message>
        <source>Sing Along</source>
        <translation>Mitsingen</translation>
    </message>
    <message>
        <source>Choose your part first (Options &gt; My Part): singing along scores the notes of your part.</source>
        <translation>Wählen Sie zuerst Ihre Stimme (Optionen &gt; Meine Stimme): Beim Mitsingen werden die Noten Ihrer Stimme bewertet.</translation>
    </message>
    <message>
        <source>Export Take</source>
        <translation>Aufnahme exportieren</translation>
    </message>
    <message>
        <source> - my take</source>
        <translation> - meine Aufnahme</translation>
    </message>
    <message>
        <source>Audio files (*.wav *.flac *.ogg *.mp3)</source>
        <translation>Audiodateien (*.wav *.flac *.ogg *.mp3)</translation>
    </message>
    <message>
        <source>Take written to %1</source>
        <translation>Aufnahme nach %1 geschrieben</translation>
    </message>
    <message>
        <source>The take cannot be played (%1); the song plays on.</source>
        <translation>Die Aufnahme kann nicht abgespielt werden (%1); das Stück läuft weiter.</translation>
    </message>
    <message>
        <source>Microphone Latency</source>
        <translation>Mikrofon-Latenz</translation>
    </message>
    <message>
        <source>Milliseconds from a note leaving the speakers to your voice reaching the program:</source>
        <translation>Millisekunden, bis ein Ton aus den Lautsprechern als Ihre Stimme im Programm ankommt:</translation>
    </message>
    <message>
        <source>Calibrate Latency</source>
        <translation>Latenz einmessen</translation>
    </message>
    <message>
        <source>No output is open to play the clicks through; choose one in the settings.</source>
        <translation>Kein Ausgang ist geöffnet, um die Klicks zu spielen; wählen Sie einen in den Einstellungen.</translation>
    </message>
    <message numerus="yes">
        <source>Calibrating: keep quiet while %n clicks play...</source>
        <translation>
            <numerusform>Einmessen: Bitte still sein, während %n Klick spielt...</numerusform>
            <numerusform>Einmessen: Bitte still sein, während %n Klicks spielen...</numerusform>
        </translation>
    </message>
    <message>
        <source>Latency of the microphone: %1 ms</source>
        <translation>Latenz des Mikrofons: %1 ms</translation>
    </message>
    <message>
        <source>The clicks were not heard in the microphone (headphones?): set the latency by hand.</source>
        <translation>Die Klicks waren im Mikrofon nicht zu hören (Kopfhörer?): Stellen Sie die Latenz von Hand ein.</translation>
    </message>
</context>
<context>
    <name>harmonet::TdlgExportPractice</name>
    <message>
        <source>Harmonet - Export Practice Tracks</source>
        <translation>Harmonet - Übungsaufnahmen exportieren</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Durchsuchen...</translation>
    </message>
    <message>
        <source>%1 (not available on this system)</source>
        <translation>%1 (auf diesem System nicht verfügbar)</translation>
    </message>
    <message>
        <source>One file per &amp;voice, that voice emphasised</source>
        <translation>Eine Datei je &amp;Stimme, diese Stimme hervorgehoben</translation>
    </message>
    <message>
        <source>&amp;Full mix</source>
        <translation>&amp;Gesamtklang</translation>
    </message>
    <message>
        <source>&amp;Panned, my part on the</source>
        <translation>Im Pa&amp;norama, meine Stimme</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>links</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>rechts</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>&amp;Exportieren</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>F&amp;older:</source>
        <translation>&amp;Ordner:</translation>
    </message>
    <message>
        <source>Fo&amp;rmat:</source>
        <translation>Fo&amp;rmat:</translation>
    </message>
    <message>
        <source>Files:</source>
        <translation>Dateien:</translation>
    </message>
    <message>
        <source>O&amp;thers:</source>
        <translation>Andere &amp;Stimmen:</translation>
    </message>
    <message>
        <source>Tempo %1 bpm; mutes and instruments as set in the player.</source>
        <translation>Tempo %1 bpm; Stummschaltung und Instrumente wie im Player eingestellt.</translation>
    </message>
    <message>
        <source>Folder for the practice tracks</source>
        <translation>Ordner für die Übungsaufnahmen</translation>
    </message>
    <message>
        <source>Choose the folder for the practice tracks.</source>
        <translation>Wählen Sie den Ordner für die Übungsaufnahmen.</translation>
    </message>
    <message>
        <source>%1 of these files exist already. Replace them?</source>
        <translation>%1 dieser Dateien gibt es schon. Ersetzen?</translation>
    </message>
    <message>
        <source>Rendering %1 files...</source>
        <translation>%1 Dateien werden berechnet...</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>Wird abgebrochen...</translation>
    </message>
    <message>
        <source>Written</source>
        <translation>Geschrieben</translation>
    </message>
    <message>
        <source>Not written</source>
        <translation>Nicht geschrieben</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Gescheitert</translation>
    </message>
    <message>
        <source>%1
%2 of %3 files written.</source>
        <translation>%1
%2 von %3 Dateien geschrieben.</translation>
    </message>
    <message>
        <source>Cancelled: %1 of %2 files written.</source>
        <translation>Abgebrochen: %1 von %2 Dateien geschrieben.</translation>
    </message>
    <message>
        <source>%1 files written to %2.</source>
        <translation>%1 Dateien nach %2 geschrieben.</translation>
    </message>
    <message>
        <source>&amp;Only bars</source>
        <translation>&amp;Nur Takte</translation>
    </message>
    <message>
        <source> times</source>
        <translation> Mal</translation>
    </message>
    <message>
        <source>Each voice&apos;s file &amp;without that voice</source>
        <translation>Je Stimme eine Datei &amp;ohne diese Stimme</translation>
    </message>
    <message>
        <source> semitones</source>
        <translation> Halbtöne</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keins</translation>
    </message>
    <message>
        <source>1 bar</source>
        <translation>1 Takt</translation>
    </message>
    <message>
        <source>2 bars</source>
        <translation>2 Takte</translation>
    </message>
    <message>
        <source>&amp;Metronome</source>
        <translation>&amp;Metronom</translation>
    </message>
    <message>
        <source>to</source>
        <translation>bis</translation>
    </message>
    <message>
        <source>Bars:</source>
        <translation>Takte:</translation>
    </message>
    <message>
        <source>Trans&amp;pose:</source>
        <translation>Trans&amp;ponieren:</translation>
    </message>
    <message>
        <source>Co&amp;unt-in:</source>
        <translation>Ein&amp;zählen:</translation>
    </message>
    <message>
        <source>Before e&amp;ach pass</source>
        <translation>Vor jedem Durch&amp;gang</translation>
    </message>
</context>
<context>
    <name>harmonet::TdlgGoToBar</name>
    <message>
        <source>Go to Bar</source>
        <translation>Gehe zu Takt</translation>
    </message>
    <message>
        <source>&amp;Bar:</source>
        <translation>&amp;Takt:</translation>
    </message>
    <message>
        <source>&amp;Loop bars</source>
        <translation>Takte &amp;wiederholen</translation>
    </message>
    <message>
        <source>&amp;From bar:</source>
        <translation>&amp;Von Takt:</translation>
    </message>
    <message>
        <source>&amp;To bar:</source>
        <translation>&amp;Bis Takt:</translation>
    </message>
    <message>
        <source>Until cleared</source>
        <translation>Bis aufgehoben</translation>
    </message>
    <message>
        <source>&amp;Times:</source>
        <translation>&amp;Mal:</translation>
    </message>
</context>
<context>
    <name>harmonet::TdlgLoadError</name>
    <message>
        <source>Error Loading File...</source>
        <translation>Fehler beim Laden...</translation>
    </message>
    <message>
        <source>Midi file not found</source>
        <translation>MIDI-Datei fehlt</translation>
    </message>
    <message>
        <source>Load another one now?</source>
        <translation>Jetzt eine andere laden?</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>harmonet::TfrmAbout</name>
    <message>
        <source>About Harmonet</source>
        <translation>Über Harmonet</translation>
    </message>
    <message>
        <source>A MIDI file player for singers learning their parts</source>
        <translation>Ein MIDI-Player für Sängerinnen und Sänger, die ihre Stimme lernen</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>harmonet::TfrmLyrics</name>
    <message>
        <source>Harmonet - Lyrics</source>
        <translation>Harmonet - Liedtext</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Copy to Clipboard</source>
        <translation>In die Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>Change Display Font...</source>
        <translation>Schriftart ändern...</translation>
    </message>
</context>
<context>
    <name>harmonet::TfrmMain</name>
    <message>
        <source>MIDI Files (*.mid *.midi *.kar *.rmi)|*.mid;*.midi;*.kar;*.rmi|All files (*)|*</source>
        <translation>MIDI-Dateien (*.mid *.midi *.kar *.rmi)|*.mid;*.midi;*.kar;*.rmi|Alle Dateien (*)|*</translation>
    </message>
    <message>
        <source>Load MIDI File...</source>
        <translation>MIDI-Datei laden...</translation>
    </message>
    <message>
        <source>Harmonet - </source>
        <translation>Harmonet - </translation>
    </message>
    <message>
        <source>No MIDI File Loaded</source>
        <translation>Keine MIDI-Datei geladen</translation>
    </message>
    <message>
        <source>Open MIDI File...</source>
        <translation>MIDI-Datei öffnen...</translation>
    </message>
    <message>
        <source>Track Mixer</source>
        <translation>Spurmischpult</translation>
    </message>
    <message>
        <source>View Lyrics</source>
        <translation>Liedtext anzeigen</translation>
    </message>
    <message>
        <source>Close File</source>
        <translation>Datei schließen</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Track %1</source>
        <translation>Spur %1</translation>
    </message>
    <message>
        <source>Lyrics</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Stumm</translation>
    </message>
    <message>
        <source>Show Instruments</source>
        <translation>Instrumente zeigen</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Rewind</source>
        <translation>Zurückspulen</translation>
    </message>
    <message>
        <source>Fast Forward</source>
        <translation>Vorspulen</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Time </source>
        <translation>Zeit </translation>
    </message>
    <message>
        <source>Count Up / Count Down</source>
        <translation>Vorwärts / rückwärts zählen</translation>
    </message>
    <message>
        <source>Position </source>
        <translation>Position </translation>
    </message>
    <message>
        <source>Tempo (bpm)</source>
        <translation>Tempo (bpm)</translation>
    </message>
    <message>
        <source>Master </source>
        <translation>Gesamt </translation>
    </message>
    <message>
        <source>Mute Master</source>
        <translation>Gesamtton stumm</translation>
    </message>
    <message>
        <source>Midi </source>
        <translation>MIDI </translation>
    </message>
    <message>
        <source>Mute Midi</source>
        <translation>MIDI stumm</translation>
    </message>
    <message>
        <source>Treble</source>
        <translation>Höhen</translation>
    </message>
    <message>
        <source>Bass </source>
        <translation>Bässe </translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>Reopen</source>
        <translation>Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source> Scrolling Lyrics</source>
        <translation> Laufender Text</translation>
    </message>
    <message>
        <source>Instruments</source>
        <translation>Instrumente</translation>
    </message>
    <message>
        <source>&amp;Controls</source>
        <translation>&amp;Wiedergabe</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>Follow Tempo Changes</source>
        <translation>Tempowechseln folgen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Harmonet Help</source>
        <translation>Harmonet-Hilfe</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>Über...</translation>
    </message>
    <message>
        <source>Verse %1</source>
        <translation>Strophe %1</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>View Full Lyrics...</source>
        <translation>Ganzen Text anzeigen...</translation>
    </message>
    <message>
        <source>Edit Lyric Colors...</source>
        <translation>Textfarben bearbeiten...</translation>
    </message>
    <message>
        <source>No audio output</source>
        <translation>Keine Audioausgabe</translation>
    </message>
    <message>
        <source>No SoundFont</source>
        <translation>Kein SoundFont</translation>
    </message>
    <message>
        <source>Remove Deleted Files</source>
        <translation>Gelöschte Dateien entfernen</translation>
    </message>
    <message>
        <source>Remove All</source>
        <translation>Alle entfernen</translation>
    </message>
    <message>
        <source>Settings not saved</source>
        <translation>Einstellungen nicht gespeichert</translation>
    </message>
    <message>
        <source>The settings file %1 cannot be written: it or its folder is read-only.
Your settings and your changes to them are kept until Harmonet closes.</source>
        <translation>Die Einstellungsdatei %1 kann nicht geschrieben werden: Sie oder ihr Ordner ist schreibgeschützt.
Ihre Einstellungen und Ihre Änderungen daran bleiben erhalten, bis Harmonet beendet wird.</translation>
    </message>
    <message>
        <source>Tempo changes ignored</source>
        <translation>Tempowechsel übergangen</translation>
    </message>
    <message>
        <source>This file changes its tempo, but it plays at one tempo throughout. Turn on Options &gt; Follow Tempo Changes to play it as written.</source>
        <translation>Diese Datei wechselt ihr Tempo, wird aber durchgehend in einem Tempo gespielt. Schalten Sie Optionen &gt; Tempowechseln folgen ein, um sie wie notiert zu spielen.</translation>
    </message>
    <message>
        <source>Click Track to change Instrument</source>
        <translation>Spur anklicken, um das Instrument zu wechseln</translation>
    </message>
    <message>
        <source>Harmonet - MIDI Player</source>
        <translation>Harmonet - MIDI-Player</translation>
    </message>
    <message>
        <source>No mixer</source>
        <translation>Kein Mischer</translation>
    </message>
    <message>
        <source>Words</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Text Encoding</source>
        <translation>Zeichenkodierung</translation>
    </message>
    <message>
        <source>(No Words)</source>
        <translation>(Kein Text)</translation>
    </message>
    <message>
        <source>%1 %</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>Practice View</source>
        <translation>Übungsansicht</translation>
    </message>
    <message>
        <source>The tempo as a share of the song&apos;s own tempo (%1 bpm)</source>
        <translation>Das Tempo als Anteil am eigenen Tempo des Stücks (%1 bpm)</translation>
    </message>
</context>
<context>
    <name>harmonet::TfrmMixer</name>
    <message>
        <source>Harmonet - Mixer</source>
        <translation>Harmonet - Mischpult</translation>
    </message>
    <message>
        <source>Track %1</source>
        <translation>Spur %1</translation>
    </message>
    <message>
        <source>Balance</source>
        <translation>Balance</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Lautstärke</translation>
    </message>
</context>
<context>
    <name>harmonet::TfrmPracticeView</name>
    <message>
        <source>Harmonet - Practice View</source>
        <translation>Harmonet - Übungsansicht</translation>
    </message>
    <message>
        <source>&amp;Other Voices</source>
        <translation>&amp;Andere Stimmen</translation>
    </message>
    <message>
        <source>Zoom Out (-)</source>
        <translation>Verkleinern (-)</translation>
    </message>
    <message>
        <source>Zoom In (+)</source>
        <translation>Vergrößern (+)</translation>
    </message>
    <message>
        <source>Scroll the roll</source>
        <translation>Rolle verschieben</translation>
    </message>
    <message>
        <source>My part: none chosen (Options &gt; My Part)</source>
        <translation>Meine Stimme: keine gewählt (Optionen &gt; Meine Stimme)</translation>
    </message>
    <message>
        <source>My part: %1</source>
        <translation>Meine Stimme: %1</translation>
    </message>
</context>
<context>
    <name>harmonet::TfrmSettings</name>
    <message>
        <source>Track %1</source>
        <translation>Spur %1</translation>
    </message>
    <message>
        <source> Lyric Options </source>
        <translation> Liedtext </translation>
    </message>
    <message>
        <source>Scrolling Lyrics </source>
        <translation>Laufender Text </translation>
    </message>
    <message>
        <source>Background Color </source>
        <translation>Hintergrundfarbe </translation>
    </message>
    <message>
        <source>Text Color</source>
        <translation>Textfarbe</translation>
    </message>
    <message>
        <source>Hilight Color</source>
        <translation>Hervorhebung</translation>
    </message>
    <message>
        <source>Lyrics Window Font</source>
        <translation>Schrift des Textfensters</translation>
    </message>
    <message>
        <source> Time Display Options </source>
        <translation> Zeitanzeige </translation>
    </message>
    <message>
        <source>Default Instruments</source>
        <translation>Standardinstrumente</translation>
    </message>
    <message>
        <source>Change All</source>
        <translation>Alle ändern</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Alle leeren</translation>
    </message>
    <message>
        <source> MIDI Output Port </source>
        <translation> MIDI-Ausgang </translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Übernehmen</translation>
    </message>
    <message>
        <source>Harmonet - Settings</source>
        <translation>Harmonet - Einstellungen</translation>
    </message>
    <message>
        <source>Cannot make a visible window modal</source>
        <translation>Ein sichtbares Fenster kann nicht modal werden</translation>
    </message>
    <message>
        <source>Example</source>
        <comment>the lyrics preview: Example of Lyrics</comment>
        <translation>Beispiel</translation>
    </message>
    <message>
        <source>of</source>
        <comment>the lyrics preview: Example of Lyrics</comment>
        <translation>für</translation>
    </message>
    <message>
        <source>Lyrics</source>
        <comment>the lyrics preview: Example of Lyrics</comment>
        <translation>Text</translation>
    </message>
    <message>
        <source>Font &amp;Size</source>
        <translation>Schrift&amp;größe</translation>
    </message>
    <message>
        <source> px</source>
        <translation> px</translation>
    </message>
    <message>
        <source>Scrolling lyrics font size</source>
        <translation>Schriftgröße des laufenden Textes</translation>
    </message>
</context>
<context>
    <name>harmonet::TfrmSingResults</name>
    <message>
        <source>in tune</source>
        <translation>sauber</translation>
    </message>
    <message>
        <source>flat</source>
        <translation>zu tief</translation>
    </message>
    <message>
        <source>sharp</source>
        <translation>zu hoch</translation>
    </message>
    <message>
        <source>late</source>
        <translation>zu spät</translation>
    </message>
    <message>
        <source>early</source>
        <translation>zu früh</translation>
    </message>
    <message>
        <source>not sung</source>
        <translation>nicht gesungen</translation>
    </message>
    <message>
        <source>Sing Along Results</source>
        <translation>Ergebnis des Mitsingens</translation>
    </message>
    <message>
        <source>Bar</source>
        <translation>Takt</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>Cents</source>
        <translation>Cent</translation>
    </message>
    <message>
        <source>Onset (ms)</source>
        <translation>Einsatz (ms)</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>Urteil</translation>
    </message>
    <message>
        <source>Passes sung on this song:</source>
        <translation>Durchgänge mit diesem Stück:</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Bars</source>
        <translation>Takte</translation>
    </message>
    <message>
        <source>Tempo</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>In tune</source>
        <translation>Sauber</translation>
    </message>
    <message>
        <source>Cents off</source>
        <translation>Cent daneben</translation>
    </message>
    <message>
        <source>Late</source>
        <translation>Zu spät</translation>
    </message>
    <message numerus="yes">
        <source>(sung %n octave(s) %1)</source>
        <translation>
            <numerusform>(%n Oktave %1 gesungen)</numerusform>
            <numerusform>(%n Oktaven %1 gesungen)</numerusform>
        </translation>
    </message>
    <message>
        <source>lower</source>
        <translation>tiefer</translation>
    </message>
    <message>
        <source>higher</source>
        <translation>höher</translation>
    </message>
    <message>
        <source>Every bar went well.</source>
        <translation>Jeder Takt ist gelungen.</translation>
    </message>
    <message>
        <source>Worst bars: %1</source>
        <translation>Schwächste Takte: %1</translation>
    </message>
    <message>
        <source>%1 of %2 notes within ±50 cents; %3 cents off on average; %4 late by more than 100 ms; %5 not sung.</source>
        <translation>%1 von %2 Noten innerhalb von ±50 Cent; im Mittel %3 Cent daneben; %4 mehr als 100 ms zu spät; %5 nicht gesungen.</translation>
    </message>
    <message>
        <source>&amp;Loop Bar %1</source>
        <translation>Takt %1 &amp;wiederholen</translation>
    </message>
</context>
</TS>
