// Reader of ".type" font files; every count and offset is checked against
// the file, since the bytes come from outside.
#include "engine/graphics/type/TypeFile.h"

#include "engine/core/BitReader.h"
#include "engine/core/CharCoding.h"
#include "engine/core/PackedStream.h"
#include "engine/graphics/type/ITypeface.h"

namespace Vexel
{
namespace Graphics
{
namespace Type
{

namespace
{

const int kBlankGlyphBits = 32;
const int kMapEntryBits = 32;
const int kKerningEntryBits = 64;

int64_t BitsLeft(IO::BitReader const& reader, int length)
{
    return int64_t(length) * 8 - reader.GetBitPosition();
}

// A count is plausible when that many of the smallest records still fit.
bool CountFits(int32_t count, int recordBits, IO::BitReader const& reader, int length)
{
    return count >= 0 && int64_t(count) * recordBits <= BitsLeft(reader, length);
}

void ReadGlyph(IO::BitReader& reader, Glyph& glyph)
{
    glyph.blank = reader.ReadBool();
    glyph.advance = float(reader.ReadBits(15));
    if (glyph.blank)
        return;
    glyph.advance = float(reader.ReadUInt16());
    const float x = reader.ReadUInt16();
    const float y = reader.ReadUInt16();
    const float u = reader.ReadUInt16();
    const float v = reader.ReadUInt16();
    const float w = reader.ReadUInt16();
    const float h = reader.ReadUInt16();
    const Color white(255, 255, 255, 255);
    glyph.vertices[0] = Geometry::VertexP2T2C(x, y, u, v, white);
    glyph.vertices[1] = Geometry::VertexP2T2C(x + w, y, u + w, v, white);
    glyph.vertices[2] = Geometry::VertexP2T2C(x + w, y + h, u + w, v + h, white);
    glyph.vertices[3] = Geometry::VertexP2T2C(x, y + h, u, v + h, white);
}

} // namespace

void TypeFile::Clear()
{
    faceName.clear();
    size = verticalOffset = lineSpacing = characterSpacing = 0.0f;
    glyphs.clear();
    characterMap.clear();
    kerning.clear();
    textureOffset = 0;
    textureLength = 0;
}

int TypeFile::Read(const uint8_t* data, int length)
{
    Clear();
    if (!data || length < kMinLength)
        return (!data && length < 0) ? TypeState::CannotOpen : TypeState::BadFile;

    // The reader only reads; the stream wants a mutable pointer.
    IO::MemoryPackedStream stream(const_cast<uint8_t*>(data), length, length, false);
    IO::BitReader reader(&stream);
    if (reader.ReadUInt32() != kMagic)
        return TypeState::BadFile;
    if (reader.ReadInt32() != length)
        return TypeState::SizeMismatch;

    int state = TypeState::Ready;
    faceName = reader.ReadString(kMaxNameLength, IO::CharCoding::Ascii7);
    const int64_t misalign = reader.GetBitPosition() % 8;
    if (misalign != 0)
        reader.ReadBits(int(8 - misalign));

    size = float(reader.ReadInt32());
    verticalOffset = float(reader.ReadInt32());
    lineSpacing = float(reader.ReadInt32());
    characterSpacing = float(reader.ReadInt32());
    // Fonts scale by size / face size.
    if (!(size > 0.0f))
        state = TypeState::BadFile;

    const int32_t glyphCount = reader.ReadInt32();
    if (state == TypeState::Ready && !CountFits(glyphCount, kBlankGlyphBits, reader, length))
        state = TypeState::BadFile;
    if (state == TypeState::Ready)
    {
        glyphs.reserve(size_t(glyphCount));
        for (int32_t i = 0; i < glyphCount && reader.GetErrors() == 0; ++i)
        {
            glyphs.emplace_back(reader.ReadUInt16());
            ReadGlyph(reader, glyphs.back());
        }
    }

    if (state == TypeState::Ready)
    {
        const int32_t mapCount = reader.ReadInt32();
        if (!CountFits(mapCount, kMapEntryBits, reader, length))
            state = TypeState::BadFile;
        else
        {
            characterMap.reserve(size_t(mapCount));
            for (int32_t i = 0; i < mapCount; ++i)
            {
                MapEntry entry;
                entry.code = reader.ReadUInt16();
                entry.glyphIndex = reader.ReadUInt16();
                if (entry.glyphIndex >= glyphs.size())
                {
                    state = TypeState::BadFile;
                    break;
                }
                characterMap.push_back(entry);
            }
        }
    }

    if (state == TypeState::Ready)
    {
        const int32_t kerningCount = reader.ReadInt32();
        if (!CountFits(kerningCount, kKerningEntryBits, reader, length))
            state = TypeState::BadFile;
        else
        {
            kerning.reserve(size_t(kerningCount));
            for (int32_t i = 0; i < kerningCount; ++i)
            {
                KerningEntry entry;
                entry.key = reader.ReadUInt32();
                entry.amount = float(reader.ReadInt32());
                kerning.push_back(entry);
            }
        }
    }

    if (state == TypeState::Ready)
    {
        reader.ReadUInt16(); // reserved
        textureLength = reader.ReadInt32();
        // The texture is the file's last bytes and must not overlap the
        // tables just read.
        const int64_t tablesEnd = (reader.GetBitPosition() + 7) / 8;
        if (textureLength <= 0 || int64_t(textureLength) > int64_t(length) - tablesEnd)
            state = TypeState::BadFile;
        else
            textureOffset = length - textureLength;
    }

    // Any field that ran past the end makes the whole file suspect.
    if (reader.GetErrors() != 0)
        state = TypeState::BadFile;
    if (state != TypeState::Ready)
        Clear();
    return state;
}

} // namespace Type
} // namespace Graphics
} // namespace Vexel
