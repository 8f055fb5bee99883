// Base64 encoding and the forgiving decoder used for server replies.
#include "engine/core/Base64.h"
#include "engine/core/Log.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

namespace
{

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Anything outside the alphabet counts as 0 rather than failing.
uint32_t SextetOf(char c)
{
    if (c >= 'A' && c <= 'Z')
        return uint32_t(c - 'A');
    if (c >= 'a' && c <= 'z')
        return uint32_t(c - 'a' + 26);
    if (c >= '0' && c <= '9')
        return uint32_t(c - '0' + 52);
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return 0;
}

} // namespace

int64_t Base64EncodedLength(int length)
{
    if (length < 1)
        return 0;
    return (int64_t(length) + 2) / 3 * 4;
}

std::string Base64Encode(const uint8_t* data, int length)
{
    std::string text;
    if (data == nullptr || length < 1)
        return text;
    text.reserve(size_t(Base64EncodedLength(length)));

    int i = 0;
    for (; i + 3 <= length; i += 3)
    {
        uint32_t group = (uint32_t(data[i]) << 16) | (uint32_t(data[i + 1]) << 8) | uint32_t(data[i + 2]);
        text += kAlphabet[(group >> 18) & 63];
        text += kAlphabet[(group >> 12) & 63];
        text += kAlphabet[(group >> 6) & 63];
        text += kAlphabet[group & 63];
    }
    int rest = length - i;
    if (rest > 0)
    {
        uint32_t group = uint32_t(data[i]) << 16;
        if (rest == 2)
            group |= uint32_t(data[i + 1]) << 8;
        text += kAlphabet[(group >> 18) & 63];
        text += kAlphabet[(group >> 12) & 63];
        text += rest == 2 ? kAlphabet[(group >> 6) & 63] : '=';
        text += '=';
    }
    return text;
}

std::string Base64EncodeBuffer(const Vexel::IO::MemoryBuffer* buffer)
{
    if (buffer == nullptr)
        return std::string();
    return Base64Encode(buffer->data, buffer->size);
}

Vexel::IO::MemoryBuffer* Base64Decode(std::string const& text)
{
    if (text.empty())
        return nullptr;

    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() / 4 * 3);
    uint32_t group = 0;
    size_t position = 0;
    for (char c : text)
    {
        if (c == '=')
        {
            // Padding ends the text. At position 0 or 1 no whole byte has
            // been collected, so nothing is appended.
            if (position >= 2)
                bytes.push_back(uint8_t(group >> 16));
            if (position == 3)
                bytes.push_back(uint8_t(group >> 8));
            break;
        }
        group |= SextetOf(c) << (18 - 6 * position);
        if (++position == 4)
        {
            bytes.push_back(uint8_t(group >> 16));
            bytes.push_back(uint8_t(group >> 8));
            bytes.push_back(uint8_t(group));
            group = 0;
            position = 0;
        }
    }

    if (bytes.size() > size_t(INT_MAX))
    {
        Vexel::Log::Error("base64", "decoded size %zu does not fit a buffer", bytes.size());
        return nullptr;
    }
    Vexel::IO::MemoryBuffer* buffer = new Vexel::IO::MemoryBuffer(int(bytes.size()));
    if (!bytes.empty())
        std::memcpy(buffer->data, bytes.data(), bytes.size());
    return buffer;
}
