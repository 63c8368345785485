#pragma once

#include "practice/PracticeChoice.h"
#include "render/AudioFileWriter.h"
#include "session/SongSettings.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace harmonet {

class Song;

// One file of an export: my part emphasised, or the full mix (NoPart).
struct PracticeFile {
    QString path;
    QString voice;
    VoiceKey part = PracticeChoice::NoPart;
    // Its place among the export's files, from 1, and their count (its track
    // number tag); 0: none.
    int trackNumber = 0;
    int trackCount = 0;
};

// Everything an export needs, as values.
struct ExportRequest {
    // The song as the player read it.
    std::shared_ptr<const Song> song;
    // "<song>" of the file names and the album tag (see songTitle); the title
    // tag adds the voice to it.
    QString songName;
    QString artist = QStringLiteral("Harmonet");
    SongSettings settings;
    QString folder;
    AudioFormat format = AudioFormat::Wav;
    bool perVoice = true;
    bool fullMix = true;
    // Level and panning of every voice file (its part is the file's).
    PracticeChoice mix;
    int sampleRate = 44100;
};

// The caption of the file without a part.
QString fullMixName();
// A voice or song name as a part of a file name: characters that no file
// name may hold become "_".
QString fileNamePart(const QString& name);

// The files an export of the request's song writes into its folder, in
// order and numbered so: one per voice of the song (not the accompaniment;
// each of the voices that share a staff), by its readable name,
// "<song> - <voice>.<ext>", then "<song> - Full mix.<ext>".
// Names that would make the same file name ("Full mix", "A/B" beside "A_B")
// are told apart by " (2)", " (3)", ...
std::vector<PracticeFile> plannedFiles(const ExportRequest& request);

// What became of one file of an export.
enum class FileOutcome { Written, Cancelled, Failed };

// Renders the files of an export at the cost of about one render of the
// song, whatever their number, with playing sessions of its own (the song
// shared with the player, the request's settings), so that the player may go
// on playing meanwhile. Each voice is rendered once, alone, as a stem (its
// notes, its controllers, its share of reverb and chorus), the rest of the
// song as one more; every file is mixed from the stems as its emphasis sets
// them (see stemPlacement), block by block as they are rendered, and all
// files are written at once. Without emphasis (the full mix alone) the
// song's channels are split over the cores instead, and the sum is the
// render of the whole song. The stems and the files share `threads` cores (0:
// as many as the machine has). A cancel or a failure removes every file being
// written and ends the job; files finished before stay.
class PracticeRenderJob {
public:
    PracticeRenderJob(ExportRequest request, std::vector<PracticeFile> files);

    // Called from the job's threads, each file's percentages in order.
    using Progress = std::function<void(int file, int percent)>;
    // Called once for every file (also for those never begun, as
    // cancelled), from the job's threads.
    using Finished = std::function<void(int file, FileOutcome outcome, const QString& message)>;

    // Runs the job and returns once every file is done; cancel is read
    // between blocks. Raises nothing: every failure (no song, no SoundFont,
    // a file not written) reaches finished with its message.
    void run(const std::atomic<bool>& cancel, const Progress& progress, const Finished& finished, int threads = 0);

private:
    ExportRequest m_request;
    std::vector<PracticeFile> m_files;
};

// The title tag of a file: "<song> – <voice>".
QString practiceTitle(const QString& songName, const QString& voice);

// Renders one file of the request's song with its settings, format, sample
// rate and mix (its part being the file's) as the player sounds it: one
// synthesis of the whole song, the emphasis set by each channel's volume and
// pan controllers (the export mixes stems instead). Tagged with the file's title, the
// request's artist, the song as album and the file's track number. Returns false
// when progress stopped it (nothing is left of the file then); raises
// EAudioFileError or EmidioutputError on failure (nothing is left either).
bool renderPracticeFile(const ExportRequest& request, const PracticeFile& file,
                        const std::function<bool(int percent)>& progress);

} // namespace harmonet
