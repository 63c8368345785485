#include "tools/dump/TextOutput.h"

#include <charconv>
#include <cmath>

namespace harmonet::tools {

TextOutput& TextOutput::integer(std::int64_t value)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    buffer_.append(digits, result.ptr);
    return *this;
}

TextOutput& TextOutput::number(double value)
{
    if (!std::isfinite(value))
        return null();
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    buffer_.append(digits, result.ptr);
    return *this;
}

bool TextOutput::escapeAscii(unsigned char byte)
{
    static constexpr char kHex[] = "0123456789abcdef";
    switch (byte) {
    case '"': buffer_.append("\\\""); return true;
    case '\\': buffer_.append("\\\\"); return true;
    case '\b': buffer_.append("\\b"); return true;
    case '\f': buffer_.append("\\f"); return true;
    case '\n': buffer_.append("\\n"); return true;
    case '\r': buffer_.append("\\r"); return true;
    case '\t': buffer_.append("\\t"); return true;
    default:
        if (byte < 0x20 || byte == 0x7F) {
            const char escape[] = {'\\', 'u', '0', '0', kHex[byte >> 4], kHex[byte & 0xF]};
            buffer_.append(escape, sizeof escape);
            return true;
        }
        return false;
    }
}

TextOutput& TextOutput::latin1String(std::string_view bytes)
{
    buffer_.push_back('"');
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            // A code point from 0x80 to 0xFF takes two bytes in UTF-8.
            buffer_.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            buffer_.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        } else if (!escapeAscii(byte)) {
            buffer_.push_back(c);
        }
    }
    buffer_.push_back('"');
    return *this;
}

TextOutput& TextOutput::utf8String(std::string_view text)
{
    buffer_.push_back('"');
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || !escapeAscii(byte))
            buffer_.push_back(c);
    }
    buffer_.push_back('"');
    return *this;
}

void TextOutput::flush()
{
    if (buffer_.empty())
        return;
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), sink_) != buffer_.size())
        failed_ = true;
    buffer_.clear();
}

bool TextOutput::finish()
{
    flush();
    if (std::fflush(sink_) != 0)
        failed_ = true;
    return !failed_;
}

} // namespace harmonet::tools
