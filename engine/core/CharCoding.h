// Character codings of the bit codec: how one character of a string field is
// packed into a few bits and back. A coding is an int whose low byte is the
// number of bits per character.
#pragma once

namespace Vexel
{
namespace IO
{

struct CharCoding
{
    enum Enum
    {
        Hex = 4,          // hexadecimal digits, decoded in lower case
        Ascii7 = 7,       // c & 127
        Byte = 8,         // the byte as it is
        Letters = 0x105,  // 'A'..'Z' and the six characters after 'Z'
        Packed = 0x207,   // index into PackedCharset
        Printable = 0x407 // c - 32 in seven bits
    };
};

// "0123456789ABCDEF" and "0123456789abcdef".
extern const char HexDigitsUpper[17];
extern const char HexDigitsLower[17];
// The 95-character alphabet of the packed coding: blank, digits, capitals,
// small letters, then punctuation.
extern const char PackedCharset[96];
const int PackedCharsetSize = 95;

// Bits per character of a coding (its low byte).
inline int CharBits(int coding)
{
    return coding & 255;
}

// Number of bits of v: floor(log2 v) + 1, and 1 for 0.
int BitLength(unsigned int value);

// The code of a character (taken as an unsigned byte); -1 when the coding
// has no code for it. Written in the coding's width, -1 becomes all ones.
int EncodeChar(unsigned char c, int coding);
// The character of a code; codes the coding does not use decode to a fixed
// substitute ('?' in the packed coding).
char DecodeChar(unsigned int code, int coding);

// Value of a hexadecimal digit of either case, or -1.
int HexDigitValue(char c);

} // namespace IO
} // namespace Vexel
