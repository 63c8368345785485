#include "render/Mp3Encoder.h"

#include <QCoreApplication>

#include <lame/lame.h>

#include <algorithm>

namespace harmonet {

namespace {

// Variable bit rate quality 7 (0 best .. 9 smallest): about 100 kbit/s for a choir.
constexpr float VbrQuality = 7.0f;
// The encoder's search (0 slowest .. 9 fastest): 7 keeps voices clean and
// takes a third less time than its default of 3.
constexpr int SearchQuality = 7;
// What lame.h asks of an output buffer beyond 1.25 bytes a frame.
constexpr std::size_t EncoderSlack = 7200;
// The longest an ID3v1 tag or the info frame may be.
constexpr std::size_t LongestTrailer = 7200;

} // namespace

Mp3Encoder::Mp3Encoder(int sampleRate, const Mp3Tags& tags, Output output)
    : m_lame(lame_init()), m_tags(tags), m_output(std::move(output))
{
    if (!m_lame) {
        return;
    }
    lame_set_in_samplerate(m_lame, sampleRate);
    lame_set_out_samplerate(m_lame, sampleRate);
    lame_set_num_channels(m_lame, 2);
    lame_set_VBR(m_lame, vbr_default);
    lame_set_VBR_quality(m_lame, VbrQuality);
    lame_set_quality(m_lame, SearchQuality);
    lame_set_write_id3tag_automatic(m_lame, 0);
    lame_set_bWriteVbrTag(m_lame, 1);
}

Mp3Encoder::~Mp3Encoder()
{
    if (m_lame) {
        lame_close(m_lame);
    }
}

bool Mp3Encoder::fail(const QString& why)
{
    if (m_failure.isEmpty()) {
        m_failure = why;
    }
    return false;
}

bool Mp3Encoder::start()
{
    const QString encoderFailed = QCoreApplication::translate("Export", "the encoder failed");
    if (!m_lame) {
        return fail(encoderFailed);
    }
    id3tag_init(m_lame);
    id3tag_add_v2(m_lame);
    if (!m_tags.title.isEmpty()) {
        id3tag_set_title(m_lame, m_tags.title.constData());
    }
    if (!m_tags.artist.isEmpty()) {
        id3tag_set_artist(m_lame, m_tags.artist.constData());
    }
    if (!m_tags.album.isEmpty()) {
        id3tag_set_album(m_lame, m_tags.album.constData());
    }
    if (!m_tags.track.isEmpty()) {
        id3tag_set_track(m_lame, m_tags.track.constData());
    }
    if (lame_init_params(m_lame) < 0) {
        return fail(encoderFailed);
    }
    // The ID3v2 tag first; the audio, beginning with the info frame, after it.
    std::vector<unsigned char> tag(lame_get_id3v2_tag(m_lame, nullptr, 0));
    if (!tag.empty()) {
        lame_get_id3v2_tag(m_lame, tag.data(), tag.size());
        if (!m_output.append(tag)) {
            return false;
        }
    }
    m_audioOffset = qint64(tag.size());
    return true;
}

bool Mp3Encoder::encode(std::span<const qint16> stereo)
{
    const int frames = int(stereo.size() / 2);
    if (frames == 0) {
        return true;
    }
    // The encoder takes its input as writable.
    m_pcm.assign(stereo.begin(), stereo.begin() + 2 * frames);
    m_encoded.resize(std::size_t(frames) * 5 / 4 + EncoderSlack);
    const int bytes = lame_encode_buffer_interleaved(m_lame, m_pcm.data(), frames, m_encoded.data(), int(m_encoded.size()));
    if (bytes < 0) {
        return fail(QCoreApplication::translate("Export", "the encoder failed"));
    }
    return m_output.append(std::span<const unsigned char>(m_encoded.data(), std::size_t(bytes)));
}

bool Mp3Encoder::finish()
{
    m_encoded.resize(std::max(EncoderSlack, LongestTrailer));
    const int bytes = lame_encode_flush(m_lame, m_encoded.data(), int(m_encoded.size()));
    if (bytes < 0) {
        return fail(QCoreApplication::translate("Export", "the encoder failed"));
    }
    if (!m_output.append(std::span<const unsigned char>(m_encoded.data(), std::size_t(bytes)))) {
        return false;
    }
    const std::size_t tagBytes = lame_get_id3v1_tag(m_lame, m_encoded.data(), m_encoded.size());
    if (tagBytes > 0 && !m_output.append(std::span<const unsigned char>(m_encoded.data(), tagBytes))) {
        return false;
    }
    // The info frame the encoder left empty at the audio's start, now that the length is known.
    const std::size_t frameBytes = lame_get_lametag_frame(m_lame, m_encoded.data(), m_encoded.size());
    return frameBytes == 0 || frameBytes > m_encoded.size()
        || m_output.place(m_audioOffset, std::span<const unsigned char>(m_encoded.data(), frameBytes));
}

} // namespace harmonet
