#include "tests/practice/AudioMeasure.h"

#include <QFile>

#include <algorithm>
#include <cmath>

#include <sndfile.h>

namespace harmonet::test {

AudioFile readAudioFile(const QString& path)
{
    AudioFile file;
    SF_INFO info{};
    SNDFILE* sound = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!sound) {
        return file;
    }
    file.opened = true;
    file.channels = info.channels;
    file.sampleRate = info.samplerate;
    file.frames = info.frames;
    file.format = info.format & SF_FORMAT_TYPEMASK;
    const auto tag = [sound](int which) { const char* text = sf_get_string(sound, which); return QString::fromUtf8(text ? text : ""); };
    file.title = tag(SF_STR_TITLE);
    file.artist = tag(SF_STR_ARTIST);
    file.album = tag(SF_STR_ALBUM);
    file.trackNumber = tag(SF_STR_TRACKNUMBER);
    file.samples.resize(std::size_t(info.frames * info.channels));
    file.frames = sf_readf_float(sound, file.samples.data(), info.frames);
    file.samples.resize(std::size_t(file.frames * info.channels));
    sf_close(sound);
    return file;
}

double levelDb(const AudioFile& file, Side side, int fromMs, int toMs)
{
    if (file.channels != 2 || file.sampleRate <= 0) {
        return -200.0;
    }
    const long long from = std::clamp<long long>(qint64(fromMs) * file.sampleRate / 1000, 0, file.frames);
    const long long to = std::clamp<long long>(qint64(toMs) * file.sampleRate / 1000, from, file.frames);
    double sum = 0.0;
    long long count = 0;
    for (long long frame = from; frame < to; ++frame) {
        for (int channel = 0; channel < 2; ++channel) {
            if ((side == Side::Left && channel == 1) || (side == Side::Right && channel == 0)) {
                continue;
            }
            const double sample = file.samples[std::size_t(frame * 2 + channel)];
            sum += sample * sample;
            ++count;
        }
    }
    const double rms = count > 0 ? std::sqrt(sum / double(count)) : 0.0;
    return rms > 1e-10 ? 20.0 * std::log10(rms) : -200.0;
}

double toneLevelDb(const AudioFile& file, double hz, int fromMs, int toMs)
{
    constexpr long long BlockFrames = 4096;
    if (file.channels != 2 || file.sampleRate <= 0) {
        return -200.0;
    }
    const long long from = std::clamp<long long>(qint64(fromMs) * file.sampleRate / 1000, 0, file.frames);
    const long long to = std::clamp<long long>(qint64(toMs) * file.sampleRate / 1000, from, file.frames);
    const double coefficient = 2.0 * std::cos(2.0 * M_PI * hz / file.sampleRate);
    double power = 0.0;
    int blocks = 0;
    for (long long start = from; start + BlockFrames <= to; start += BlockFrames, ++blocks) {
        double previous = 0.0;
        double beforePrevious = 0.0;
        for (long long frame = start; frame < start + BlockFrames; ++frame) {
            const double sample = file.samples[std::size_t(frame * 2)] + file.samples[std::size_t(frame * 2 + 1)];
            const double current = sample + coefficient * previous - beforePrevious;
            beforePrevious = previous;
            previous = current;
        }
        power += previous * previous + beforePrevious * beforePrevious - coefficient * previous * beforePrevious;
    }
    const double mean = blocks > 0 ? power / blocks : 0.0;
    return mean > 1e-20 ? 10.0 * std::log10(mean) : -200.0;
}

double keyHz(int key)
{
    return 440.0 * std::pow(2.0, (key - 69) / 12.0);
}

int majorFormatOf(const QString& extension)
{
    if (extension == QLatin1String("wav")) {
        return SF_FORMAT_WAV;
    }
    if (extension == QLatin1String("flac")) {
        return SF_FORMAT_FLAC;
    }
    if (extension == QLatin1String("ogg")) {
        return SF_FORMAT_OGG;
    }
    return SF_FORMAT_MPEG;
}

} // namespace harmonet::test
