#include "render/PracticeExport.h"

#include "render/SongRenderer.h"
#include "session/Song.h"

#include <QDir>
#include <QSet>

#include <algorithm>
#include <exception>
#include <thread>

namespace harmonet {

QString fullMixName()
{
    return QStringLiteral("Full mix");
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

void PracticeRenderJob::run(const std::atomic<bool>& cancel, const Progress& progress, const Finished& finished,
                            int threads)
{
    const int fileCount = int(m_files.size());
    if (!m_request.song) {
        for (int i = 0; i < fileCount; ++i) {
            finished(i, i == 0 ? FileOutcome::Failed : FileOutcome::Cancelled,
                     i == 0 ? QStringLiteral("No song to export") : QString());
        }
        return;
    }

    std::atomic<int> nextFile{0};
    std::atomic<bool> failed{false};
    const auto stopped = [&] { return cancel.load() || failed.load(); };
    const auto work = [&] {
        for (int i = nextFile++; i < fileCount; i = nextFile++) {
            if (stopped()) {
                finished(i, FileOutcome::Cancelled, QString());
                continue;
            }
            try {
                const bool written = renderPracticeFile(m_request, m_files[std::size_t(i)], [&](int percent) {
                    if (progress) {
                        progress(i, percent);
                    }
                    return !stopped();
                });
                finished(i, written ? FileOutcome::Written : FileOutcome::Cancelled, QString());
            } catch (const std::exception& error) {
                failed = true;
                finished(i, FileOutcome::Failed, QString::fromUtf8(error.what()));
            }
        }
    };

    if (threads <= 0) {
        threads = int(std::max(1u, std::thread::hardware_concurrency()));
    }
    std::vector<std::jthread> helpers;
    for (int t = 1; t < std::min(threads, fileCount); ++t) {
        helpers.emplace_back(work);
    }
    work();
}

} // namespace harmonet
