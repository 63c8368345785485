<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>Application</name>
    <message>
        <source>Harmonet - Midi Player</source>
        <translation>Harmonet - Lecteur MIDI</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Shows this help and ends.</source>
        <translation>Affiche cette aide et termine.</translation>
    </message>
    <message>
        <source>Shows the version and ends.</source>
        <translation>Affiche la version et termine.</translation>
    </message>
    <message>
        <source>Plays MIDI files for singers learning their part of a choral piece: mute or emphasise voices, change the tempo and follow the words.</source>
        <translation>Joue des fichiers MIDI pour les choristes qui apprennent leur pupitre : couper ou mettre en avant des pupitres, changer le tempo et suivre les paroles.</translation>
    </message>
    <message>
        <source>The MIDI file to open.</source>
        <translation>Le fichier MIDI à ouvrir.</translation>
    </message>
    <message>
        <source>[file]</source>
        <translation>[fichier]</translation>
    </message>
    <message>
        <source>%1: %2
Try &quot;%1 --help&quot;.
</source>
        <translation>%1 : %2
Essayez « %1 --help ».
</translation>
    </message>
</context>
<context>
    <name>Errors</name>
    <message>
        <source>Unknown error</source>
        <translation>Erreur inconnue</translation>
    </message>
</context>
<context>
    <name>Export</name>
    <message>
        <source>Cannot create</source>
        <translation>Création impossible :</translation>
    </message>
    <message>
        <source>%1 files cannot be written on this system</source>
        <translation>les fichiers %1 ne peuvent pas être écrits sur ce système</translation>
    </message>
    <message>
        <source>a folder of that name exists</source>
        <translation>un dossier de ce nom existe</translation>
    </message>
    <message>
        <source>the folder does not exist</source>
        <translation>le dossier n&apos;existe pas</translation>
    </message>
    <message>
        <source>Cannot write</source>
        <translation>Écriture impossible :</translation>
    </message>
    <message>
        <source>the file is already finished</source>
        <translation>le fichier est déjà terminé</translation>
    </message>
    <message>
        <source>Cannot finish</source>
        <translation>Finalisation impossible :</translation>
    </message>
    <message>
        <source>the encoder failed</source>
        <translation>l&apos;encodeur a échoué</translation>
    </message>
    <message>
        <source>Full mix</source>
        <translation>Mixage complet</translation>
    </message>
    <message>
        <source>No song to export</source>
        <translation>Aucun morceau à exporter</translation>
    </message>
</context>
<context>
    <name>Mixer</name>
    <message>
        <source>Can&apos;t find audio output mixer line for %1</source>
        <translation>Aucune ligne de sortie audio trouvée dans le mélangeur %1</translation>
    </message>
    <message>
        <source>Can&apos;t find MIDI output source line for %1</source>
        <translation>Aucune ligne source MIDI trouvée dans le mélangeur %1</translation>
    </message>
</context>
<context>
    <name>Output</name>
    <message>
        <source>The built-in synthesizer has no audio output: no sound card or sound server could be opened (audio driver &quot;%1&quot;). It accepts every message but you will hear nothing; choose a MIDI port or connect an audio device. The sound comes on by itself as soon as an audio output can be opened.</source>
        <translation>Le synthétiseur intégré n&apos;a pas de sortie audio : aucune carte son ni aucun serveur de son n&apos;a pu être ouvert (pilote audio « %1 »). Il accepte tous les messages mais vous n&apos;entendrez rien ; choisissez un port MIDI ou branchez un périphérique audio. Le son revient de lui-même dès qu&apos;une sortie audio peut être ouverte.</translation>
    </message>
    <message>
        <source>The built-in synthesizer lost its audio output at %1 (audio driver &quot;%2&quot; stopped). Playing goes on silently; the sound comes back by itself as soon as the audio output can be opened again.</source>
        <translation>Le synthétiseur intégré a perdu sa sortie audio à %1 (pilote audio « %2 » arrêté). La lecture continue en silence ; le son revient de lui-même dès que la sortie audio peut être rouverte.</translation>
    </message>
    <message>
        <source>MIDI Output device not open</source>
        <translation>Le périphérique de sortie MIDI n&apos;est pas ouvert</translation>
    </message>
    <message>
        <source>No error</source>
        <translation>Aucune erreur</translation>
    </message>
    <message>
        <source>Unspecified error in the MIDI output layer</source>
        <translation>Erreur non précisée de la sortie MIDI</translation>
    </message>
    <message>
        <source>The MIDI output device identifier is out of range</source>
        <translation>L&apos;identifiant du périphérique de sortie MIDI est hors limites</translation>
    </message>
    <message>
        <source>The MIDI output device is not open</source>
        <translation>Le périphérique de sortie MIDI n&apos;est pas ouvert</translation>
    </message>
    <message>
        <source>The MIDI driver reported an error</source>
        <translation>Le pilote MIDI a signalé une erreur</translation>
    </message>
    <message>
        <source>No General MIDI SoundFont was found</source>
        <translation>Aucune SoundFont General MIDI trouvée</translation>
    </message>
    <message>
        <source>The built-in synthesizer could not be started</source>
        <translation>Le synthétiseur intégré n&apos;a pas pu démarrer</translation>
    </message>
    <message>
        <source>The MIDI message does not begin with a status byte</source>
        <translation>Le message MIDI ne commence pas par un octet de statut</translation>
    </message>
    <message>
        <source>A long MIDI message must hold at least one byte</source>
        <translation>Un message MIDI long doit contenir au moins un octet</translation>
    </message>
    <message>
        <source>The MIDI output device is no longer connected</source>
        <translation>Le périphérique de sortie MIDI n&apos;est plus connecté</translation>
    </message>
    <message>
        <source>Specified error number is out of range</source>
        <translation>Le numéro d&apos;erreur indiqué est hors limites</translation>
    </message>
    <message>
        <source>No General MIDI SoundFont was found for the built-in synthesizer (looked for %1). Install one, for example with &quot;sudo apt-get install timgm6mb-soundfont&quot; or &quot;sudo apt-get install fluid-soundfont-gm&quot;, or set the environment variable HARMONET_SOUNDFONT to the path of a .sf2 file.</source>
        <translation>Aucune SoundFont General MIDI n&apos;a été trouvée pour le synthétiseur intégré (cherché : %1). Installez-en une, par exemple avec « sudo apt-get install timgm6mb-soundfont » ou « sudo apt-get install fluid-soundfont-gm », ou donnez à la variable d&apos;environnement HARMONET_SOUNDFONT le chemin d&apos;un fichier .sf2.</translation>
    </message>
    <message>
        <source>Not a usable SoundFont: %1. </source>
        <translation>SoundFont inutilisable : %1. </translation>
    </message>
    <message>
        <source>The MIDI port %1 is no longer available</source>
        <translation>Le port MIDI %1 n&apos;est plus disponible</translation>
    </message>
    <message>
        <source>MIDI output Device %1 not installed</source>
        <translation>Le périphérique de sortie MIDI %1 n&apos;est pas installé</translation>
    </message>
    <message>
        <source>%1. Choose another output device in the settings.</source>
        <translation>%1. Choisissez un autre périphérique de sortie dans les réglages.</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>The settings file %1 is read-only.</source>
        <translation>Le fichier de réglages %1 est en lecture seule.</translation>
    </message>
    <message>
        <source>The damaged settings file %1 could not be kept as %2.</source>
        <translation>Le fichier de réglages endommagé %1 n&apos;a pas pu être conservé sous %2.</translation>
    </message>
</context>
<context>
    <name>SongFile</name>
    <message>
        <source>File not found</source>
        <translation>Fichier introuvable</translation>
    </message>
    <message>
        <source>Is a directory</source>
        <translation>Est un dossier</translation>
    </message>
    <message>
        <source>Access denied</source>
        <translation>Accès refusé</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Mémoire insuffisante</translation>
    </message>
    <message>
        <source>Read beyond end of file</source>
        <translation>Lecture au-delà de la fin du fichier</translation>
    </message>
    <message>
        <source>%1 was not found.</source>
        <translation>%1 est introuvable.</translation>
    </message>
    <message>
        <source>%1 is a folder, not a MIDI file.</source>
        <translation>%1 est un dossier, pas un fichier MIDI.</translation>
    </message>
    <message>
        <source>%1 is empty.</source>
        <translation>%1 est vide.</translation>
    </message>
    <message>
        <source>%1 is not a MIDI file.</source>
        <translation>%1 n&apos;est pas un fichier MIDI.</translation>
    </message>
    <message>
        <source>%1 could not be read.</source>
        <translation>%1 n&apos;a pas pu être lu.</translation>
    </message>
    <message>
        <source>File: %1</source>
        <translation>Fichier : %1</translation>
    </message>
</context>
<context>
    <name>Voices</name>
    <message>
        <source>Track %1</source>
        <translation>Piste %1</translation>
    </message>
    <message>
        <source>Soprano</source>
        <translation>Soprano</translation>
    </message>
    <message>
        <source>Alto</source>
        <translation>Alto</translation>
    </message>
    <message>
        <source>Tenor</source>
        <translation>Ténor</translation>
    </message>
    <message>
        <source>Bass</source>
        <translation>Basse</translation>
    </message>
</context>
<context>
    <name>harmonet::PlayingSession</name>
    <message>
        <source>“%1”</source>
        <translation>« %1 »</translation>
    </message>
    <message>
        <source>“%1” sings on one staff with %2, and this song leaves no room to play it apart: they are brought forward together.</source>
        <translation>« %1 » chante sur une même portée avec %2, et ce morceau ne laisse pas de place pour le jouer à part : ils sont mis en avant ensemble.</translation>
    </message>
</context>
<context>
    <name>harmonet::TBarControls</name>
    <message>
        <source>&amp;Go to Bar...</source>
        <translation>&amp;Aller à la mesure...</translation>
    </message>
    <message>
        <source>Bar &amp;Back</source>
        <translation>Mesure &amp;précédente</translation>
    </message>
    <message>
        <source>Bar &amp;On</source>
        <translation>Mesure &amp;suivante</translation>
    </message>
    <message>
        <source>Start of P&amp;hrase</source>
        <translation>Début de p&amp;hrase</translation>
    </message>
    <message>
        <source>Loop &amp;Starts Here</source>
        <translation>La boucle &amp;commence ici</translation>
    </message>
    <message>
        <source>Loop &amp;Ends Here</source>
        <translation>La boucle &amp;finit ici</translation>
    </message>
    <message>
        <source>&amp;Clear Loop</source>
        <translation>&amp;Effacer la boucle</translation>
    </message>
    <message>
        <source>&amp;Upbeat...</source>
        <translation>&amp;Anacrouse...</translation>
    </message>
    <message>
        <source>&amp;Time</source>
        <translation>&amp;Temps</translation>
    </message>
    <message>
        <source>&amp;Bar and Beat</source>
        <translation>&amp;Mesure et temps</translation>
    </message>
    <message>
        <source>B&amp;oth</source>
        <translation>Les &amp;deux</translation>
    </message>
    <message>
        <source>Loop: bars %1 to %2</source>
        <translation>Boucle : mesures %1 à %2</translation>
    </message>
    <message>
        <source>Upbeat</source>
        <translation>Anacrouse</translation>
    </message>
    <message>
        <source>Beats before bar 1 (0: none):</source>
        <translation>Temps avant la mesure 1 (0 : aucun) :</translation>
    </message>
</context>
<context>
    <name>harmonet::TColorPalettePopup</name>
    <message>
        <source>&amp;Other</source>
        <translation>&amp;Autre</translation>
    </message>
</context>
<context>
    <name>harmonet::THelpViewer</name>
    <message>
        <source>Harmonet - Help</source>
        <translation>Harmonet - Aide</translation>
    </message>
    <message>
        <source>&lt; Back</source>
        <translation>&lt; Précédent</translation>
    </message>
    <message>
        <source>Forward &gt;</source>
        <translation>Suivant &gt;</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Sommaire</translation>
    </message>
</context>
<context>
    <name>harmonet::TPitchClickMenus</name>
    <message>
        <source>&amp;Soft</source>
        <translation>&amp;Doux</translation>
    </message>
    <message>
        <source>&amp;Medium</source>
        <translation>&amp;Moyen</translation>
    </message>
    <message>
        <source>&amp;Loud</source>
        <translation>&amp;Fort</translation>
    </message>
    <message>
        <source>Give Me My &amp;Note</source>
        <translation>Donner ma &amp;note</translation>
    </message>
    <message>
        <source>Fas&amp;ter</source>
        <translation>Plus &amp;vite</translation>
    </message>
    <message>
        <source>Slo&amp;wer</source>
        <translation>Plus &amp;lent</translation>
    </message>
    <message>
        <source>&amp;Up a Semitone</source>
        <translation>&amp;Monter d&apos;un demi-ton</translation>
    </message>
    <message>
        <source>&amp;Down a Semitone</source>
        <translation>&amp;Baisser d&apos;un demi-ton</translation>
    </message>
    <message>
        <source>&amp;Original Pitch</source>
        <translation>Hauteur d&apos;&amp;origine</translation>
    </message>
    <message>
        <source>&amp;Count-In</source>
        <translation>&amp;Décompte</translation>
    </message>
    <message>
        <source>&amp;None</source>
        <translation>&amp;Aucun</translation>
    </message>
    <message>
        <source>&amp;1 Bar</source>
        <translation>&amp;1 mesure</translation>
    </message>
    <message>
        <source>&amp;2 Bars</source>
        <translation>&amp;2 mesures</translation>
    </message>
    <message>
        <source>Ne&amp;xt Count-In</source>
        <translation>Décompte &amp;suivant</translation>
    </message>
    <message>
        <source>M&amp;etronome</source>
        <translation>M&amp;étronome</translation>
    </message>
    <message>
        <source>C&amp;lick Level</source>
        <translation>Volume des c&amp;lics</translation>
    </message>
    <message>
        <source>Clicks to System &amp;Ports</source>
        <translation>Clics vers les &amp;ports système</translation>
    </message>
    <message>
        <source>&amp;Transpose (%1)</source>
        <translation>&amp;Transposer (%1)</translation>
    </message>
    <message>
        <source>Before Each &amp;Pass of the Loop</source>
        <translation>Avant chaque &amp;passage de la boucle</translation>
    </message>
</context>
<context>
    <name>harmonet::TPracticeMenus</name>
    <message>
        <source>&amp;Silent</source>
        <translation>&amp;Muets</translation>
    </message>
    <message>
        <source>&amp;Export Practice Tracks...</source>
        <translation>&amp;Exporter les pistes de travail...</translation>
    </message>
    <message>
        <source>&amp;My Part</source>
        <translation>&amp;Mon pupitre</translation>
    </message>
    <message>
        <source>&amp;None</source>
        <translation>&amp;Aucun</translation>
    </message>
    <message>
        <source>O&amp;thers</source>
        <translation>Les au&amp;tres</translation>
    </message>
    <message>
        <source>Pa&amp;nned</source>
        <translation>Spatialisation &amp;panoramique</translation>
    </message>
    <message>
        <source>My Part on the &amp;Left</source>
        <translation>Mon pupitre à &amp;gauche</translation>
    </message>
    <message>
        <source>My Part on the &amp;Right</source>
        <translation>Mon pupitre à &amp;droite</translation>
    </message>
    <message>
        <source>My Part: %1</source>
        <translation>Mon pupitre : %1</translation>
    </message>
    <message>
        <source>&amp;Without My Part</source>
        <translation>&amp;Sans mon pupitre</translation>
    </message>
</context>
<context>
    <name>harmonet::TPracticeRollView</name>
    <message>
        <source>Note roll</source>
        <translation>Rouleau de notes</translation>
    </message>
    <message>
        <source>Left and Right choose a bar, Enter plays from it; Shift with Left or Right marks bars and Enter loops them; plus and minus zoom.</source>
        <translation>Gauche et Droite choisissent une mesure, Entrée joue à partir de là ; Maj avec Gauche ou Droite marque des mesures et Entrée les fait boucler ; plus et moins zooment.</translation>
    </message>
</context>
<context>
    <name>harmonet::TSingAlong</name>
    <message>
        <source>&amp;Practice</source>
        <translation>&amp;Travail</translation>
    </message>
    <message>
        <source>&amp;Sing Along</source>
        <translation>&amp;Chanter avec</translation>
    </message>
    <message>
        <source>Play &amp;Take</source>
        <translation>&amp;Écouter la prise</translation>
    </message>
    <message>
        <source>Take with My Part &amp;Muted</source>
        <translation>Prise, mon pupitre &amp;coupé</translation>
    </message>
    <message>
        <source>E&amp;xport Take...</source>
        <translation>E&amp;xporter la prise...</translation>
    </message>
    <message>
        <source>&amp;Calibrate Latency</source>
        <translation>&amp;Calibrer la latence</translation>
    </message>
    <message>
        <source>Microphone &amp;Latency...</source>
        <translation>&amp;Latence du micro...</translation>
    </message>
    <message>
        <source>Sing Along</source>
        <translation>Chanter avec</translation>
    </message>
    <message>
        <source>Choose your part first (Options &gt; My Part): singing along scores the notes of your part.</source>
        <translation>Choisissez d&apos;abord votre pupitre (Options &gt; Mon pupitre) : le chant est évalué sur les notes de votre pupitre.</translation>
    </message>
    <message>
        <source>Export Take</source>
        <translation>Exporter la prise</translation>
    </message>
    <message>
        <source> - my take</source>
        <translation> - ma prise</translation>
    </message>
    <message>
        <source>Audio files (*.wav *.flac *.ogg *.mp3)</source>
        <translation>Fichiers audio (*.wav *.flac *.ogg *.mp3)</translation>
    </message>
    <message>
        <source>Take written to %1</source>
        <translation>Prise écrite dans %1</translation>
    </message>
    <message>
        <source>The take cannot be played (%1); the song plays on.</source>
        <translation>La prise ne peut pas être jouée (%1) ; le morceau continue.</translation>
    </message>
    <message>
        <source>Microphone Latency</source>
        <translation>Latence du micro</translation>
    </message>
    <message>
        <source>Milliseconds from a note leaving the speakers to your voice reaching the program:</source>
        <translation>Millisecondes entre une note sortant des haut-parleurs et votre voix parvenant au programme :</translation>
    </message>
    <message>
        <source>Calibrate Latency</source>
        <translation>Calibrer la latence</translation>
    </message>
    <message>
        <source>No output is open to play the clicks through; choose one in the settings.</source>
        <translation>Aucune sortie n&apos;est ouverte pour jouer les clics ; choisissez-en une dans les réglages.</translation>
    </message>
    <message numerus="yes">
        <source>Calibrating: keep quiet while %n clicks play...</source>
        <translation>
            <numerusform>Calibrage : silence pendant que %n clic joue...</numerusform>
            <numerusform>Calibrage : silence pendant que %n clics jouent...</numerusform>
        </translation>
    </message>
    <message>
        <source>Latency of the microphone: %1 ms</source>
        <translation>Latence du micro : %1 ms</translation>
    </message>
    <message>
        <source>The clicks were not heard in the microphone (headphones?): set the latency by hand.</source>
        <translation>Les clics ne se sont pas fait entendre dans le micro (casque ?) : réglez la latence à la main.</translation>
    </message>
</context>
<context>
    <name>harmonet::TdlgExportPractice</name>
    <message>
        <source>Harmonet - Export Practice Tracks</source>
        <translation>Harmonet - Exporter les pistes de travail</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Parcourir...</translation>
    </message>
    <message>
        <source>%1 (not available on this system)</source>
        <translation>%1 (indisponible sur ce système)</translation>
    </message>
    <message>
        <source>One file per &amp;voice, that voice emphasised</source>
        <translation>Un fichier par &amp;pupitre, ce pupitre mis en avant</translation>
    </message>
    <message>
        <source>&amp;Full mix</source>
        <translation>Mixage &amp;complet</translation>
    </message>
    <message>
        <source>&amp;Panned, my part on the</source>
        <translation>Spatialisé, mon pupitre à</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>gauche</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>droite</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>&amp;Exporter</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>F&amp;older:</source>
        <translation>&amp;Dossier :</translation>
    </message>
    <message>
        <source>Fo&amp;rmat:</source>
        <translation>Fo&amp;rmat :</translation>
    </message>
    <message>
        <source>Files:</source>
        <translation>Fichiers :</translation>
    </message>
    <message>
        <source>O&amp;thers:</source>
        <translation>Les au&amp;tres :</translation>
    </message>
    <message>
        <source>Tempo %1 bpm; mutes and instruments as set in the player.</source>
        <translation>Tempo %1 bpm ; sourdines et instruments comme réglés dans le lecteur.</translation>
    </message>
    <message>
        <source>Folder for the practice tracks</source>
        <translation>Dossier des pistes de travail</translation>
    </message>
    <message>
        <source>Choose the folder for the practice tracks.</source>
        <translation>Choisissez le dossier des pistes de travail.</translation>
    </message>
    <message>
        <source>%1 of these files exist already. Replace them?</source>
        <translation>%1 de ces fichiers existent déjà. Les remplacer ?</translation>
    </message>
    <message>
        <source>Rendering %1 files...</source>
        <translation>Calcul de %1 fichiers...</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>Annulation...</translation>
    </message>
    <message>
        <source>Written</source>
        <translation>Écrit</translation>
    </message>
    <message>
        <source>Not written</source>
        <translation>Non écrit</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Échec</translation>
    </message>
    <message>
        <source>%1
%2 of %3 files written.</source>
        <translation>%1
%2 fichiers écrits sur %3.</translation>
    </message>
    <message>
        <source>Cancelled: %1 of %2 files written.</source>
        <translation>Annulé : %1 fichiers écrits sur %2.</translation>
    </message>
    <message>
        <source>%1 files written to %2.</source>
        <translation>%1 fichiers écrits dans %2.</translation>
    </message>
    <message>
        <source>&amp;Only bars</source>
        <translation>&amp;Seulement les mesures</translation>
    </message>
    <message>
        <source> times</source>
        <translation> fois</translation>
    </message>
    <message>
        <source>Each voice&apos;s file &amp;without that voice</source>
        <translation>Un fichier par pupitre &amp;sans ce pupitre</translation>
    </message>
    <message>
        <source> semitones</source>
        <translation> demi-tons</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Aucun</translation>
    </message>
    <message>
        <source>1 bar</source>
        <translation>1 mesure</translation>
    </message>
    <message>
        <source>2 bars</source>
        <translation>2 mesures</translation>
    </message>
    <message>
        <source>&amp;Metronome</source>
        <translation>&amp;Métronome</translation>
    </message>
    <message>
        <source>to</source>
        <translation>à</translation>
    </message>
    <message>
        <source>Bars:</source>
        <translation>Mesures :</translation>
    </message>
    <message>
        <source>Trans&amp;pose:</source>
        <translation>Trans&amp;poser :</translation>
    </message>
    <message>
        <source>Co&amp;unt-in:</source>
        <translation>Déco&amp;mpte :</translation>
    </message>
    <message>
        <source>Before e&amp;ach pass</source>
        <translation>Avant ch&amp;aque passage</translation>
    </message>
</context>
<context>
    <name>harmonet::TdlgGoToBar</name>
    <message>
        <source>Go to Bar</source>
        <translation>Aller à la mesure</translation>
    </message>
    <message>
        <source>&amp;Bar:</source>
        <translation>&amp;Mesure :</translation>
    </message>
    <message>
        <source>&amp;Loop bars</source>
        <translation>Faire &amp;boucler les mesures</translation>
    </message>
    <message>
        <source>&amp;From bar:</source>
        <translation>&amp;De la mesure :</translation>
    </message>
    <message>
        <source>&amp;To bar:</source>
        <translation>&amp;Jusqu&apos;à la mesure :</translation>
    </message>
    <message>
        <source>Until cleared</source>
        <translation>Jusqu&apos;à effacement</translation>
    </message>
    <message>
        <source>&amp;Times:</source>
        <translation>&amp;Fois :</translation>
    </message>
</context>
<context>
    <name>harmonet::TdlgLoadError</name>
    <message>
        <source>Error Loading File...</source>
        <translation>Erreur de chargement...</translation>
    </message>
    <message>
        <source>Midi file not found</source>
        <translation>Fichier MIDI introuvable</translation>
    </message>
    <message>
        <source>Load another one now?</source>
        <translation>En charger un autre ?</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
</context>
<context>
    <name>harmonet::TfrmAbout</name>
    <message>
        <source>About Harmonet</source>
        <translation>À propos de Harmonet</translation>
    </message>
    <message>
        <source>A MIDI file player for singers learning their parts</source>
        <translation>Un lecteur MIDI pour les choristes qui apprennent leur pupitre</translation>
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
        <translation>Harmonet - Paroles</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Copy to Clipboard</source>
        <translation>Copier dans le presse-papiers</translation>
    </message>
    <message>
        <source>Change Display Font...</source>
        <translation>Changer la police...</translation>
    </message>
</context>
<context>
    <name>harmonet::TfrmMain</name>
    <message>
        <source>MIDI Files (*.mid *.midi *.kar *.rmi)|*.mid;*.midi;*.kar;*.rmi|All files (*)|*</source>
        <translation>Fichiers MIDI (*.mid *.midi *.kar *.rmi)|*.mid;*.midi;*.kar;*.rmi|Tous les fichiers (*)|*</translation>
    </message>
    <message>
        <source>Load MIDI File...</source>
        <translation>Charger un fichier MIDI...</translation>
    </message>
    <message>
        <source>Harmonet - </source>
        <translation>Harmonet - </translation>
    </message>
    <message>
        <source>No MIDI File Loaded</source>
        <translation>Aucun fichier MIDI chargé</translation>
    </message>
    <message>
        <source>Open MIDI File...</source>
        <translation>Ouvrir un fichier...</translation>
    </message>
    <message>
        <source>Track Mixer</source>
        <translation>Mixage des pistes</translation>
    </message>
    <message>
        <source>View Lyrics</source>
        <translation>Afficher les paroles</translation>
    </message>
    <message>
        <source>Close File</source>
        <translation>Fermer le fichier</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Réglages</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Track %1</source>
        <translation>Piste %1</translation>
    </message>
    <message>
        <source>Lyrics</source>
        <translation>Paroles</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Muet</translation>
    </message>
    <message>
        <source>Show Instruments</source>
        <translation>Afficher les instruments</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Lecture</translation>
    </message>
    <message>
        <source>Rewind</source>
        <translation>Retour rapide</translation>
    </message>
    <message>
        <source>Fast Forward</source>
        <translation>Avance rapide</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêt</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Time </source>
        <translation>Temps </translation>
    </message>
    <message>
        <source>Count Up / Count Down</source>
        <translation>Compter / décompter</translation>
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
        <translation>Général </translation>
    </message>
    <message>
        <source>Mute Master</source>
        <translation>Couper le son général</translation>
    </message>
    <message>
        <source>Midi </source>
        <translation>MIDI </translation>
    </message>
    <message>
        <source>Mute Midi</source>
        <translation>Couper le MIDI</translation>
    </message>
    <message>
        <source>Treble</source>
        <translation>Aigus</translation>
    </message>
    <message>
        <source>Bass </source>
        <translation>Graves</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Ouvrir...</translation>
    </message>
    <message>
        <source>Reopen</source>
        <translation>Fichiers récents</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>Fe&amp;rmer</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <source> Scrolling Lyrics</source>
        <translation> Paroles défilantes</translation>
    </message>
    <message>
        <source>Instruments</source>
        <translation>Instruments</translation>
    </message>
    <message>
        <source>&amp;Controls</source>
        <translation>&amp;Lecture</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>Follow Tempo Changes</source>
        <translation>Suivre les changements de tempo</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ai&amp;de</translation>
    </message>
    <message>
        <source>Harmonet Help</source>
        <translation>Aide de Harmonet</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>À propos...</translation>
    </message>
    <message>
        <source>Verse %1</source>
        <translation>Couplet %1</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Réinitialiser</translation>
    </message>
    <message>
        <source>View Full Lyrics...</source>
        <translation>Afficher toutes les paroles...</translation>
    </message>
    <message>
        <source>Edit Lyric Colors...</source>
        <translation>Couleurs des paroles...</translation>
    </message>
    <message>
        <source>No audio output</source>
        <translation>Pas de sortie audio</translation>
    </message>
    <message>
        <source>No SoundFont</source>
        <translation>Pas de SoundFont</translation>
    </message>
    <message>
        <source>Remove Deleted Files</source>
        <translation>Retirer les fichiers supprimés</translation>
    </message>
    <message>
        <source>Remove All</source>
        <translation>Tout retirer</translation>
    </message>
    <message>
        <source>Settings not saved</source>
        <translation>Réglages non enregistrés</translation>
    </message>
    <message>
        <source>The settings file %1 cannot be written: it or its folder is read-only.
Your settings and your changes to them are kept until Harmonet closes.</source>
        <translation>Le fichier de réglages %1 ne peut pas être écrit : lui ou son dossier est en lecture seule.
Vos réglages et vos modifications sont conservés jusqu&apos;à la fermeture de Harmonet.</translation>
    </message>
    <message>
        <source>Tempo changes ignored</source>
        <translation>Changements de tempo ignorés</translation>
    </message>
    <message>
        <source>This file changes its tempo, but it plays at one tempo throughout. Turn on Options &gt; Follow Tempo Changes to play it as written.</source>
        <translation>Ce fichier change de tempo, mais il est joué à un seul tempo du début à la fin. Activez Options &gt; Suivre les changements de tempo pour le jouer tel qu&apos;il est écrit.</translation>
    </message>
    <message>
        <source>Click Track to change Instrument</source>
        <translation>Cliquez sur une piste pour changer d&apos;instrument</translation>
    </message>
    <message>
        <source>Harmonet - MIDI Player</source>
        <translation>Harmonet - Lecteur MIDI</translation>
    </message>
    <message>
        <source>No mixer</source>
        <translation>Pas de mélangeur</translation>
    </message>
    <message>
        <source>Words</source>
        <translation>Paroles</translation>
    </message>
    <message>
        <source>Text Encoding</source>
        <translation>Encodage du texte</translation>
    </message>
    <message>
        <source>(No Words)</source>
        <translation>(Sans paroles)</translation>
    </message>
    <message>
        <source>%1 %</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>Practice View</source>
        <translation>Vue de travail</translation>
    </message>
    <message>
        <source>The tempo as a share of the song&apos;s own tempo (%1 bpm)</source>
        <translation>Le tempo en part du tempo propre du morceau (%1 bpm)</translation>
    </message>
</context>
<context>
    <name>harmonet::TfrmMixer</name>
    <message>
        <source>Harmonet - Mixer</source>
        <translation>Harmonet - Mixage</translation>
    </message>
    <message>
        <source>Track %1</source>
        <translation>Piste %1</translation>
    </message>
    <message>
        <source>Balance</source>
        <translation>Balance</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volume</translation>
    </message>
</context>
<context>
    <name>harmonet::TfrmPracticeView</name>
    <message>
        <source>Harmonet - Practice View</source>
        <translation>Harmonet - Vue de travail</translation>
    </message>
    <message>
        <source>&amp;Other Voices</source>
        <translation>&amp;Autres pupitres</translation>
    </message>
    <message>
        <source>Zoom Out (-)</source>
        <translation>Dézoomer (-)</translation>
    </message>
    <message>
        <source>Zoom In (+)</source>
        <translation>Zoomer (+)</translation>
    </message>
    <message>
        <source>Scroll the roll</source>
        <translation>Faire défiler le rouleau</translation>
    </message>
    <message>
        <source>My part: none chosen (Options &gt; My Part)</source>
        <translation>Mon pupitre : aucun choisi (Options &gt; Mon pupitre)</translation>
    </message>
    <message>
        <source>My part: %1</source>
        <translation>Mon pupitre : %1</translation>
    </message>
</context>
<context>
    <name>harmonet::TfrmSettings</name>
    <message>
        <source>Track %1</source>
        <translation>Piste %1</translation>
    </message>
    <message>
        <source> Lyric Options </source>
        <translation> Paroles </translation>
    </message>
    <message>
        <source>Scrolling Lyrics </source>
        <translation>Paroles défilantes </translation>
    </message>
    <message>
        <source>Background Color </source>
        <translation>Couleur de fond </translation>
    </message>
    <message>
        <source>Text Color</source>
        <translation>Couleur du texte</translation>
    </message>
    <message>
        <source>Hilight Color</source>
        <translation>Surlignage</translation>
    </message>
    <message>
        <source>Lyrics Window Font</source>
        <translation>Police des paroles</translation>
    </message>
    <message>
        <source> Time Display Options </source>
        <translation> Affichage de l&apos;heure </translation>
    </message>
    <message>
        <source>Default Instruments</source>
        <translation>Instruments par défaut</translation>
    </message>
    <message>
        <source>Change All</source>
        <translation>Tout changer</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Tout effacer</translation>
    </message>
    <message>
        <source> MIDI Output Port </source>
        <translation> Sortie MIDI </translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Appliquer</translation>
    </message>
    <message>
        <source>Harmonet - Settings</source>
        <translation>Harmonet - Réglages</translation>
    </message>
    <message>
        <source>Cannot make a visible window modal</source>
        <translation>Une fenêtre visible ne peut pas devenir modale</translation>
    </message>
    <message>
        <source>Example</source>
        <comment>the lyrics preview: Example of Lyrics</comment>
        <translation>Exemple</translation>
    </message>
    <message>
        <source>of</source>
        <comment>the lyrics preview: Example of Lyrics</comment>
        <translation>de</translation>
    </message>
    <message>
        <source>Lyrics</source>
        <comment>the lyrics preview: Example of Lyrics</comment>
        <translation>paroles</translation>
    </message>
    <message>
        <source>Font &amp;Size</source>
        <translation>&amp;Taille de police</translation>
    </message>
    <message>
        <source> px</source>
        <translation> px</translation>
    </message>
    <message>
        <source>Scrolling lyrics font size</source>
        <translation>Taille de police des paroles défilantes</translation>
    </message>
</context>
<context>
    <name>harmonet::TfrmSingResults</name>
    <message>
        <source>in tune</source>
        <translation>juste</translation>
    </message>
    <message>
        <source>flat</source>
        <translation>trop bas</translation>
    </message>
    <message>
        <source>sharp</source>
        <translation>trop haut</translation>
    </message>
    <message>
        <source>late</source>
        <translation>en retard</translation>
    </message>
    <message>
        <source>early</source>
        <translation>en avance</translation>
    </message>
    <message>
        <source>not sung</source>
        <translation>non chanté</translation>
    </message>
    <message>
        <source>Sing Along Results</source>
        <translation>Résultats du chant</translation>
    </message>
    <message>
        <source>Bar</source>
        <translation>Mesure</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>Cents</source>
        <translation>Cents</translation>
    </message>
    <message>
        <source>Onset (ms)</source>
        <translation>Attaque (ms)</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>Verdict</translation>
    </message>
    <message>
        <source>Passes sung on this song:</source>
        <translation>Passages chantés sur ce morceau :</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Bars</source>
        <translation>Mesures</translation>
    </message>
    <message>
        <source>Tempo</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>In tune</source>
        <translation>Juste</translation>
    </message>
    <message>
        <source>Cents off</source>
        <translation>Cents d&apos;écart</translation>
    </message>
    <message>
        <source>Late</source>
        <translation>En retard</translation>
    </message>
    <message numerus="yes">
        <source>(sung %n octave(s) %1)</source>
        <translation>
            <numerusform>(chanté %n octave %1)</numerusform>
            <numerusform>(chanté %n octaves %1)</numerusform>
        </translation>
    </message>
    <message>
        <source>lower</source>
        <translation>plus bas</translation>
    </message>
    <message>
        <source>higher</source>
        <translation>plus haut</translation>
    </message>
    <message>
        <source>Every bar went well.</source>
        <translation>Toutes les mesures sont réussies.</translation>
    </message>
    <message>
        <source>Worst bars: %1</source>
        <translation>Mesures les plus faibles : %1</translation>
    </message>
    <message>
        <source>%1 of %2 notes within ±50 cents; %3 cents off on average; %4 late by more than 100 ms; %5 not sung.</source>
        <translation>%1 notes sur %2 à ±50 cents près ; %3 cents d&apos;écart en moyenne ; %4 en retard de plus de 100 ms ; %5 non chantées.</translation>
    </message>
    <message>
        <source>&amp;Loop Bar %1</source>
        <translation>Faire &amp;boucler la mesure %1</translation>
    </message>
</context>
</TS>
