#include "render/PracticeExport.h"

#include "midiout/Pcm16.h"
#include "practice/Clicks.h"

#include "render/SongRenderer.h"
#include "render/StemExchange.h"
#include "render/StemMix.h"
#include "render/StemPlan.h"
#include "sequencer/MidiFile.h"
#include "session/Song.h"

#include <QCoreApplication>
#include <QDir>
#include <QSet>

#include <algorithm>
#include <exception>
#include <mutex>
#include <thread>

namespace harmonet {

QString fullMixName()
{
    return QCoreApplication::translate("Export", "Full mix");
}

QString fileNamePart(const QString& name)
{
    QString part = name.trimmed();
    for (QChar& c : part) {
        if (c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c)) {
            c = QLatin1Char('_');
        }
    }
    // A name of dots only would name the folder itself or its parent.
    if (part.isEmpty() || std::all_of(part.cbegin(), part.cend(), [](QChar c) { return c == QLatin1Char('.'); })) {
        part = QStringLiteral("_");
    }
    return part;
}

std::vector<PracticeFile> plannedFiles(const ExportRequest& request)
{
    std::vector<PracticeFile> files;
    const QDir folder(request.folder);
    const QString extension = formatExtension(request.format);
    const QString songPart = fileNamePart(request.songName);
    QSet<QString> taken;
    const auto add = [&](const QString& voice, const VoiceKey& part) {
        QString name = voice;
        // Told apart as file names: "A/B" and "A_B" would be one file.
        for (int n = 2; taken.contains(fileNamePart(name).toLower()); ++n) {
            name = QStringLiteral("%1 (%2)").arg(voice).arg(n);
        }
        taken.insert(fileNamePart(name).toLower());
        const QString fileName = QStringLiteral("%1 - %2.%3").arg(songPart, fileNamePart(name), extension);
        files.push_back({folder.filePath(fileName), name, part});
    };
    if (request.perVoice && request.song) {
        for (const TVoice& voice : request.song->voices()) {
            if (!voice.accompaniment) {
                add(voice.name, voice.key());
            }
        }
    }
    if (request.fullMix) {
        add(fullMixName(), PracticeChoice::NoPart);
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        files[i].trackNumber = int(i) + 1;
        files[i].trackCount = int(files.size());
    }
    return files;
}

QString practiceTitle(const QString& songName, const QString& voice)
{
    return QStringLiteral("%1 \u2013 %2").arg(songName, voice);
}

bool renderPracticeFile(const ExportRequest& request, const PracticeFile& file,
                        const std::function<bool(int percent)>& progress)
{
    PracticeChoice choice = request.mix;
    choice.part = file.part;
    // The synthesizer first: without a SoundFont no file is created at all.
    SongRenderer renderer(request.sampleRate);
    renderer.setSettings(request.settings);
    renderer.setPracticeChoice(choice);
    const AudioTags tags{practiceTitle(request.songName, file.voice), request.artist, request.songName,
                         file.trackNumber, file.trackCount};
    AudioFileWriter writer(file.path, request.format, request.sampleRate, tags);
    const bool complete = renderer.render(
        request.song, [&writer](std::span<const qint16> stereo) { writer.write(stereo); },
        SongRenderer::inPercent(progress));
    if (!complete) {
        return false;
    }
    writer.commit();
    return true;
}

PracticeRenderJob::PracticeRenderJob(ExportRequest request, std::vector<PracticeFile> files)
    : m_request(std::move(request)), m_files(std::move(files))
{
}

namespace {

// A failure that ends the job: the first one is told.
class JobFailure {
public:
    void set(const QString& message)
    {
        const std::lock_guard lock(m_mutex);
        if (m_message.isEmpty()) {
            m_message = message;
        }
    }
    QString message() const
    {
        const std::lock_guard lock(m_mutex);
        return m_message;
    }

private:
    mutable std::mutex m_mutex;
    QString m_message;
};

} // namespace

void PracticeRenderJob::run(const std::atomic<bool>& cancel, const Progress& progress, const Finished& finished,
                            int threads)
{
    const int fileCount = int(m_files.size());
    if (!m_request.song) {
        for (int i = 0; i < fileCount; ++i) {
            finished(i, i == 0 ? FileOutcome::Failed : FileOutcome::Cancelled,
                     i == 0 ? QCoreApplication::translate("Export", "No song to export") : QString());
        }
        return;
    }
    if (fileCount == 0) {
        return;
    }
    if (threads <= 0) {
        threads = int(std::max(1u, std::thread::hardware_concurrency()));
    }

    // The files first: one that cannot be created ends the job before any synthesis.
    std::vector<std::unique_ptr<AudioFileWriter>> writers;
    for (const PracticeFile& file : m_files) {
        try {
            const AudioTags tags{practiceTitle(m_request.songName, file.voice), m_request.artist, m_request.songName,
                                 file.trackNumber, file.trackCount};
            writers.push_back(
                std::make_unique<AudioFileWriter>(file.path, m_request.format, m_request.sampleRate, tags));
        } catch (const std::exception& error) {
            const int failed = int(writers.size());
            writers.clear();
            for (int i = 0; i < fileCount; ++i) {
                finished(i, i == failed ? FileOutcome::Failed : FileOutcome::Cancelled,
                         i == failed ? QString::fromUtf8(error.what()) : QString());
            }
            return;
        }
    }

    // Each voice a stem of its own where a file emphasises one; else the
    // song's channels split over the cores.
    const TMidiFile& song = m_request.song->file();
    const bool emphasised = std::any_of(m_files.cbegin(), m_files.cend(),
                                        [](const PracticeFile& file) { return file.part.isVoice(); });
    std::vector<Stem> stems = emphasised ? voiceStems(*m_request.song) : balancedStems(song, threads);
    const ClickSettings& clicks = m_request.settings.clicks;
    if (clicks.countInBars > 0 || clicks.metronome) {
        addClickStem(stems, clickChannelOf(song));
    }
    const int stemCount = int(stems.size());

    // A panned mix places each voice's mid signal, the same in every file.
    const bool placing = emphasised && m_request.mix.panned;
    StemExchange exchange(stemCount, fileCount, threads, placing);
    JobFailure stemFailure;
    std::atomic<qint64> totalFrames{0};
    const auto renderStem = [&](int s) {
        const StemExchange::Turn turn(exchange);
        try {
            const Stem& stem = stems[std::size_t(s)];
            SongRenderer renderer(m_request.sampleRate);
            renderer.setSettings(m_request.settings);
            // My part at its own level, the others at 0 dB below theirs: as the song sets them.
            renderer.setPracticeChoice(PracticeChoice{stem.routedPart, 0, false, PanSide::Left});
            renderer.setChannels(stem.channels);
            // A voice is silent for long stretches; a split render must add up exactly.
            renderer.setReverbMayRest(emphasised);
            MidFold fold;
            std::vector<float> mid;
            const bool complete = renderer.renderFloat(
                m_request.song,
                [&](std::span<const float> stereo) {
                    if (placing && !stem.voices.empty()) {
                        mid.resize(stereo.size() / 2);
                        fold.fold(stereo, mid);
                    }
                    exchange.put(s, stereo, mid);
                },
                [&](qint64, qint64 total) {
                    totalFrames = total;
                    return !cancel && !exchange.stopped();
                });
            if (complete) {
                exchange.finish(s);
            } else {
                exchange.stop();
            }
        } catch (const std::exception& error) {
            stemFailure.set(QString::fromUtf8(error.what()));
            exchange.stop();
        }
    };
    const auto writeFile = [&](int f) {
        const StemExchange::Turn turn(exchange);
        PracticeChoice choice = m_request.mix;
        choice.part = m_files[std::size_t(f)].part;
        std::vector<StemPlacement> placements;
        for (const Stem& stem : stems) {
            placements.push_back(stemPlacement(stem, choice));
        }
        std::unique_ptr<AudioFileWriter> writer = std::move(writers[std::size_t(f)]);
        std::vector<float> mix;
        std::vector<qint16> samples;
        int shown = -1;
        // What was not committed is removed before the file's end is told.
        const auto end = [&](FileOutcome outcome, const QString& message) {
            writer.reset();
            finished(f, outcome, message);
        };
        try {
            for (StemExchange::Chunk chunk = exchange.take(f); chunk.frames > 0; chunk = exchange.take(f)) {
                mix.resize(std::size_t(2 * chunk.frames));
                mixStems(mix, chunk.stems, chunk.mids, placements);
                samples.resize(mix.size());
                pcm16(mix, samples);
                writer->write(samples);
                const qint64 total = totalFrames;
                const qint64 done = chunk.firstFrame + chunk.frames;
                const int percent = total > 0 ? int(std::min<qint64>(100, done * 100 / total)) : 0;
                if (percent != shown && progress) {
                    shown = percent;
                    progress(f, percent);
                }
                if (cancel) {
                    exchange.stop();
                }
            }
            if (exchange.stopped()) {
                const QString failure = stemFailure.message();
                end(failure.isEmpty() ? FileOutcome::Cancelled : FileOutcome::Failed, failure);
                return;
            }
            writer->commit();
            end(FileOutcome::Written, QString());
        } catch (const std::exception& error) {
            exchange.stop();
            end(FileOutcome::Failed, QString::fromUtf8(error.what()));
        }
    };

    std::vector<std::jthread> workers;
    for (int s = 0; s < stemCount; ++s) {
        workers.emplace_back(renderStem, s);
    }
    for (int f = 0; f < fileCount; ++f) {
        workers.emplace_back(writeFile, f);
    }
}

} // namespace harmonet
