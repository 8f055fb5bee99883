#include "engine/core/CharCoding.h"

namespace Vexel
{
namespace IO
{

// Plain arrays: constant-initialised, so safe to use from other static
// initialisers.
const char HexDigitsUpper[17] = "0123456789ABCDEF";
const char HexDigitsLower[17] = "0123456789abcdef";
const char PackedCharset[96] = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                               "-*+!~_.`@#$%^&()={}[]|\\/;:'\"<>,?";

static_assert(sizeof(PackedCharset) == PackedCharsetSize + 1, "packed alphabet must hold 95 characters");

int BitLength(unsigned int value)
{
    int bits = 1;
    while (value > 1)
    {
        value >>= 1;
        bits++;
    }
    return bits;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int EncodeChar(unsigned char c, int coding)
{
    switch (coding)
    {
    case CharCoding::Byte:
        return c;
    case CharCoding::Hex:
        return HexDigitValue(char(c));
    case CharCoding::Ascii7:
        return c & 127;
    case CharCoding::Letters:
        return (c - 'A') & 31;
    case CharCoding::Packed:
        for (int i = 0; i < PackedCharsetSize; i++)
        {
            if (static_cast<unsigned char>(PackedCharset[i]) == c)
                return i;
        }
        return -1;
    case CharCoding::Printable:
        return (c - 32) & 127;
    default:
        return c & 0xFFFF;
    }
}

char DecodeChar(unsigned int code, int coding)
{
    switch (coding)
    {
    case CharCoding::Byte:
        return char(code & 255);
    case CharCoding::Hex:
        return HexDigitsLower[code & 15];
    case CharCoding::Ascii7:
        return char(code & 127);
    case CharCoding::Letters:
        return char('A' + (code & 31));
    case CharCoding::Packed:
    {
        // The writer emits 127 for characters outside the alphabet; every
        // code past its end reads as '?'.
        const unsigned int index = code & 127;
        return index < unsigned(PackedCharsetSize) ? PackedCharset[index] : '?';
    }
    case CharCoding::Printable:
        return char((code & 127) + 32);
    default:
        return char(code & 0xFFFF);
    }
}

} // namespace IO
} // namespace Vexel
