#include "engine/core/WideValues.h"

#include "engine/core/CharCoding.h"

#include <cstring>

namespace
{
template <typename Wide, int WordCount> bool WordsEqual(Wide const& a, Wide const& b)
{
    for (int i = 0; i < WordCount; i++)
    {
        if (a.words[i] != b.words[i])
            return false;
    }
    return true;
}
} // namespace

bool uint128::operator==(uint128 const& o) const
{
    return WordsEqual<uint128, 4>(*this, o);
}

bool uint160::operator==(uint160 const& o) const
{
    return WordsEqual<uint160, 5>(*this, o);
}

bool uint256::operator==(uint256 const& o) const
{
    return WordsEqual<uint256, 8>(*this, o);
}

uint256 uint256::Parse(std::string const& text)
{
    // Parsed by hand: formatted stream input would also take blanks and
    // signs and leave its target unset on failure.
    size_t start = 0;
    if (text.compare(0, 2, "0x") == 0)
        start = 2;
    uint256 value;
    for (size_t i = 0; start + i < text.size() && i <= 63; i += 2)
    {
        const int high = Vexel::IO::HexDigitValue(text[start + i]);
        if (high < 0)
            continue; // no leading digit: the byte stays 0
        int byte = high;
        if (start + i + 1 < text.size())
        {
            const int low = Vexel::IO::HexDigitValue(text[start + i + 1]);
            if (low >= 0)
                byte = high * 16 + low;
        }
        // Byte k in memory order of little-endian words.
        const size_t k = i / 2;
        value.words[k / 4] |= uint32_t(byte) << (8 * (k % 4));
    }
    return value;
}

void CopyBytes(void* destination, const void* source, int count)
{
    if (destination == nullptr || source == nullptr || count <= 0)
        return;
    std::memcpy(destination, source, size_t(count));
}

uint8_t* DuplicateBytes(const void* source, int count)
{
    if (source == nullptr || count <= 0)
        return nullptr;
    uint8_t* copy = new uint8_t[size_t(count)];
    std::memcpy(copy, source, size_t(count));
    return copy;
}
