#include "singing/TakeFile.h"

#include <sndfile.h>

#include <QFile>

#include <cmath>
#include <memory>

namespace harmonet {

namespace {

struct SndFileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

[[noreturn]] void fail(const QString& path, const QString& reason)
{
    throw ETakeError(QStringLiteral("cannot read the take %1: %2").arg(path, reason));
}

} // namespace

TakeAudio readTake(const QString& path)
{
    SF_INFO info{};
    std::unique_ptr<SNDFILE, SndFileCloser> file(sf_open(QFile::encodeName(path).constData(), SFM_READ, &info));
    if (!file) {
        fail(path, QString::fromLocal8Bit(sf_strerror(nullptr)));
    }
    if (info.channels < 1 || info.samplerate < 8000 || info.samplerate > 192000) {
        fail(path, QStringLiteral("%1 channels at %2 Hz is no take").arg(info.channels).arg(info.samplerate));
    }
    if (info.frames > qint64(LongestTakeSeconds) * info.samplerate) {
        fail(path, QStringLiteral("longer than %1 minutes").arg(LongestTakeSeconds / 60));
    }
    TakeAudio take;
    take.sampleRate = info.samplerate;
    // Some formats do not know their length: the block loop stops at the end
    // or at the longest take, whichever comes first.
    const qint64 longest = qint64(LongestTakeSeconds) * info.samplerate;
    std::vector<float> block(std::size_t(4096) * std::size_t(info.channels));
    for (;;) {
        const sf_count_t frames = sf_readf_float(file.get(), block.data(), 4096);
        if (frames <= 0) {
            break;
        }
        for (sf_count_t f = 0; f < frames; ++f) {
            float sum = 0.0f;
            for (int c = 0; c < info.channels; ++c) {
                sum += block[std::size_t(f * info.channels + c)];
            }
            const float mono = sum / float(info.channels);
            take.samples.push_back(std::isfinite(mono) ? mono : 0.0f);
        }
        if (qint64(take.samples.size()) > longest) {
            fail(path, QStringLiteral("longer than %1 minutes").arg(LongestTakeSeconds / 60));
        }
    }
    if (sf_error(file.get()) != SF_ERR_NO_ERROR) {
        fail(path, QString::fromLocal8Bit(sf_strerror(file.get())));
    }
    return take;
}

} // namespace harmonet
