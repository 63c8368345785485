#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace harmonet::tools {

// Output text built in one growing buffer and handed to the sink in large
// blocks, so that a dump of millions of events costs no per-event write or
// flush. Formats integers, doubles and JSON strings; the caller places the
// punctuation.
class TextOutput {
public:
    explicit TextOutput(std::FILE* sink) : sink_(sink) {}
    ~TextOutput() { flush(); }
    TextOutput(const TextOutput&) = delete;
    TextOutput& operator=(const TextOutput&) = delete;

    TextOutput& raw(std::string_view text) { buffer_.append(text); return *this; }
    TextOutput& raw(char c) { buffer_.push_back(c); return *this; }
    TextOutput& integer(std::int64_t value);
    // Shortest text that reads back as the same double; JSON has no
    // non-finite numbers, so those are written as null.
    TextOutput& number(double value);
    TextOutput& null() { return raw("null"); }

    // A JSON string whose characters are the given bytes read as Latin-1
    // code points (so every byte survives), with quotes, backslashes and
    // control characters escaped.
    TextOutput& latin1String(std::string_view bytes);
    // A JSON string of UTF-8 text, with the same escapes.
    TextOutput& utf8String(std::string_view text);

    // Hands the text to the sink once enough has gathered.
    void flushIfLarge()
    {
        if (buffer_.size() >= kBlockSize)
            flush();
    }
    // Hands whatever is left to the sink and flushes it; false when any
    // write to the sink failed (a full disk, a closed pipe).
    bool finish();

private:
    static constexpr std::size_t kBlockSize = std::size_t(1) << 20;

    void flush();
    // Escapes one ASCII byte if JSON needs it; true when it did.
    bool escapeAscii(unsigned char byte);

    std::FILE* sink_;
    std::string buffer_;
    bool failed_ = false;
};

} // namespace harmonet::tools
