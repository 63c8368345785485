#include "tools/render/WavWriter.h"

#include <QFile>

#include <utility>

#include <sndfile.h>

namespace harmonet::tools {

WavWriter::WavWriter(const QString& path, int sampleRate) : m_path(path)
{
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    m_file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!m_file) {
        fail(QStringLiteral("cannot create"));
    }
}

WavWriter::~WavWriter()
{
    if (m_file) {
        sf_close(m_file);
    }
}

void WavWriter::write(std::span<const qint16> stereo)
{
    const sf_count_t frames = static_cast<sf_count_t>(stereo.size() / 2);
    if (sf_writef_short(m_file, stereo.data(), frames) != frames) {
        fail(QStringLiteral("cannot write"));
    }
}

void WavWriter::close()
{
    SNDFILE* file = std::exchange(m_file, nullptr);
    if (file && sf_close(file) != 0) {
        fail(QStringLiteral("cannot finish"));
    }
}

void WavWriter::fail(const QString& what)
{
    throw EWavWriteError(QStringLiteral("%1 %2: %3").arg(what, m_path, QString::fromUtf8(sf_strerror(m_file))));
}

} // namespace harmonet::tools
