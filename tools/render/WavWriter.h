#pragma once

#include "core/Exception.h"

#include <QString>

#include <span>

struct sf_private_tag;

namespace harmonet::tools {

// A failure to create or write the WAV file.
class EWavWriteError : public Exception {
public:
    using Exception::Exception;
};

// Writes a 16-bit stereo PCM WAV file through libsndfile. The file is
// finished (its header completed) when the writer is destroyed or closed.
class WavWriter {
public:
    WavWriter(const QString& path, int sampleRate);
    ~WavWriter();

    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // Appends interleaved stereo frames (left, right, ...).
    void write(std::span<const qint16> stereo);
    // Finishes the file; raises if that fails.
    void close();

private:
    [[noreturn]] void fail(const QString& what);

    QString m_path;
    sf_private_tag* m_file = nullptr;
};

} // namespace harmonet::tools
