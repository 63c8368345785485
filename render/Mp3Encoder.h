#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <span>
#include <vector>

struct lame_global_struct;

namespace harmonet {

// The tags of an MP3 file, as ID3 holds them (Latin-1).
struct Mp3Tags {
    QByteArray title;
    QByteArray artist;
    QByteArray album;
    // "3" or "3/5"; empty: none.
    QByteArray track;
};

// Encodes 16-bit stereo to MP3 with LAME: variable bit rate at a middle
// quality with the encoder's fast search, clear voices at a third less
// encoding time than its default search; an ID3v2 tag first (and ID3v1 at
// the end), and the info frame that gives players the exact length.
class Mp3Encoder {
public:
    // Where the bytes go: appended, or (the info frame, known only at the
    // end) placed at an offset from the file's start; false when they could
    // not be written.
    struct Output {
        std::function<bool(std::span<const unsigned char>)> append;
        std::function<bool(qint64 offset, std::span<const unsigned char>)> place;
    };

    Mp3Encoder(int sampleRate, const Mp3Tags& tags, Output output);
    ~Mp3Encoder();

    Mp3Encoder(const Mp3Encoder&) = delete;
    Mp3Encoder& operator=(const Mp3Encoder&) = delete;

    // Each step is false when it failed; failure() then says why when the
    // encoder itself failed (empty: the output did).
    bool start();
    bool encode(std::span<const qint16> stereo);
    bool finish();
    const QString& failure() const { return m_failure; }

private:
    bool fail(const QString& why);

    lame_global_struct* m_lame;
    Mp3Tags m_tags;
    Output m_output;
    qint64 m_audioOffset = 0;
    std::vector<short> m_pcm;
    std::vector<unsigned char> m_encoded;
    QString m_failure;
};

} // namespace harmonet
