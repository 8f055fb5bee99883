// The three texture readers on files made by Python's zlib and lzma, and the
// table of damaged files with the states they end in.
#include "engine/graphics/GL.h"
#include "engine/graphics/PngReader.h"
#include "engine/graphics/PvrReader.h"
#include "engine/graphics/RawTextureReader.h"
#include "engine/graphics/TextureReference.h"

#include "tests/graphics/TextureFiles.h"

#include <gtest/gtest.h>

using namespace Vexel::Graphics;

namespace
{
// Decodes the file's bytes the way a from-memory texture does.
int DecodedState(std::vector<uint8_t> const& bytes)
{
    TextureReference reference("reader test");
    reference.SetSource(bytes.data(), int(bytes.size()));
    reference.Load();
    return reference.GetState();
}

std::vector<uint8_t> PvrBody(int length)
{
    std::vector<uint8_t> out;
    for (int i = 0; i < length; ++i)
        out.push_back(uint8_t((i * 13 + 5) % 256));
    return out;
}

// A legacy PVR file: the 52-byte header and dataLength bytes of PvrBody.
std::vector<uint8_t> MakePvr(uint32_t width, uint32_t height, uint32_t bits, bool alpha, int dataLength)
{
    std::vector<uint8_t> out(52, 0);
    const uint32_t words[][2] = {{0, 52}, {4, height}, {8, width}, {24, bits}, {44, PvrReader::kTag}};
    for (auto const& word : words)
        for (int i = 0; i < 4; ++i)
            out[word[0] + i] = uint8_t(word[1] >> (8 * i));
    out[40] = alpha ? 1 : 0;
    const std::vector<uint8_t> body = PvrBody(dataLength);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// Reads with whichever reader the first bytes call for.
bool ReadAny(std::vector<uint8_t> const& bytes, size_t size, bool allowCompressed, TextureImage& image)
{
    return RawTextureReader::Read(bytes.data(), size, image) || PngReader::Read(bytes.data(), size, image) ||
           PvrReader::Read(bytes.data(), size, allowCompressed, image);
}
} // namespace

class TextureReaderTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_FALSE(TextureFiles::Folder().empty()) << "make_texture_files.py failed";
    }
};

TEST_F(TextureReaderTest, PngFromAnIndependentEncoderDecodesToRgba)
{
    TextureImage image;
    const std::vector<uint8_t> rgba = TextureFiles::Read("rgba_3x2.png");
    ASSERT_TRUE(PngReader::Read(rgba.data(), rgba.size(), image));
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(image.formatCode, 0x200000u);
    EXPECT_EQ(image.glFormat, GLenum(GL_RGBA));
    EXPECT_EQ(image.glInternalFormat, GLenum(GL_RGBA));
    EXPECT_EQ(image.glType, GLenum(GL_UNSIGNED_BYTE));
    EXPECT_EQ(image.bitsPerPixel, 32);
    EXPECT_EQ(image.pixels, TextureFiles::Pixels(3, 2, 4));

    // An RGB file comes out as RGBA with opaque alpha.
    const std::vector<uint8_t> rgb = TextureFiles::Read("rgb_5x4.png");
    ASSERT_TRUE(PngReader::Read(rgb.data(), rgb.size(), image));
    ASSERT_EQ(image.pixels.size(), 5u * 4 * 4);
    const std::vector<uint8_t> expected = TextureFiles::Pixels(5, 4, 3);
    for (size_t i = 0; i < 20; ++i)
    {
        EXPECT_EQ(image.pixels[i * 4], expected[i * 3]);
        EXPECT_EQ(image.pixels[i * 4 + 2], expected[i * 3 + 2]);
        EXPECT_EQ(image.pixels[i * 4 + 3], 255);
    }
}

TEST_F(TextureReaderTest, RawFilesOfAllSixFormatCodes)
{
    struct Row
    {
        const char* file;
        uint32_t code;
        GLenum format, internalFormat;
        int bits;
    };
    const Row rows[] = {
        {"raw_rgba_3x2.raw", 0x2420FD, GL_RGBA, GL_RGBA, 32},
        {"raw_rgba_b_3x2.raw", 0x26200A, GL_RGBA, GL_RGBA, 32},
        {"raw_rgb_3x2.raw", 0x18FC, GL_RGB, GL_RGB, 24},
        {"raw_bgr_3x2.raw", 0x21808, GL::kBgr, GL_RGB, 24},
        {"raw_luminance_alpha_3x2.raw", 0x410FE, GL_LUMINANCE_ALPHA, GL_LUMINANCE_ALPHA, 16},
        {"raw_alpha_3x2.raw", 0x8FF, GL_ALPHA, GL_ALPHA, 8},
    };
    for (Row const& row : rows)
    {
        SCOPED_TRACE(row.file);
        const std::vector<uint8_t> bytes = TextureFiles::Read(row.file);
        TextureImage image;
        ASSERT_TRUE(RawTextureReader::Read(bytes.data(), bytes.size(), image));
        EXPECT_EQ(image.width, 3u);
        EXPECT_EQ(image.height, 2u);
        EXPECT_EQ(image.formatCode, row.code);
        EXPECT_EQ(image.glFormat, row.format);
        EXPECT_EQ(image.glInternalFormat, row.internalFormat);
        EXPECT_EQ(image.glType, GLenum(GL_UNSIGNED_BYTE));
        EXPECT_EQ(image.bitsPerPixel, row.bits);
        // Exactly 16 + w * h * bytes per pixel unpacked, taken as it stands.
        EXPECT_EQ(image.pixels, TextureFiles::Pixels(3, 2, row.bits / 8));
    }
}

TEST_F(TextureReaderTest, PvrThirtyTwoBitAndPvrtcHeaders)
{
    const std::vector<uint8_t> plain = TextureFiles::Read("pvr32_4x2.pvr");
    TextureImage image;
    ASSERT_TRUE(PvrReader::Read(plain.data(), plain.size(), false, image));
    EXPECT_EQ(image.width, 4u);
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(image.formatCode, 0x2420FDu);
    EXPECT_EQ(image.glFormat, GLenum(GL_RGBA));
    EXPECT_EQ(image.glType, GLenum(GL_UNSIGNED_BYTE));
    EXPECT_EQ(image.pixels, PvrBody(32));

    struct Row
    {
        const char* file;
        GLenum pvrtc;
        int bits;
    };
    const Row rows[] = {{"pvrtc2_alpha_4x4.pvr", 0x8C03, 2}, {"pvrtc4_8x8.pvr", 0x8C00, 4}};
    for (Row const& row : rows)
    {
        SCOPED_TRACE(row.file);
        const std::vector<uint8_t> bytes = TextureFiles::Read(row.file);
        TextureImage compressed;
        // Without the extension the image is refused.
        EXPECT_FALSE(PvrReader::Read(bytes.data(), bytes.size(), false, compressed));
        ASSERT_TRUE(PvrReader::Read(bytes.data(), bytes.size(), true, compressed));
        EXPECT_EQ(compressed.formatCode, 0u);
        EXPECT_EQ(compressed.glFormat, row.pvrtc);
        EXPECT_EQ(compressed.glInternalFormat, row.pvrtc);
        EXPECT_EQ(compressed.glType, row.pvrtc);
        EXPECT_EQ(compressed.bitsPerPixel, row.bits);
        EXPECT_TRUE(compressed.IsCompressed());
        EXPECT_EQ(compressed.pixels.size(), 32u); // max(32, w * h * bits / 8)
    }
}

TEST_F(TextureReaderTest, PvrtcTakesTwoOrFourBitsAndAtLeastItsPaddedBlocks)
{
    struct Row
    {
        uint32_t width, height, bits;
        int needed; // bytes the image takes; 0 when no size is accepted
    };
    const Row rows[] = {
        {8, 8, 4, 32},    {4, 4, 4, 32},     {4, 16, 4, 64}, // 4 bits: at least 8 x 8
        {32, 32, 4, 512}, {16, 8, 2, 32},    {4, 4, 2, 32},  // 2 bits: at least 16 x 8
        {32, 4, 2, 64},   {64, 64, 2, 1024}, {8, 8, 1, 0},   // other counts are no PVRTC
        {8, 8, 3, 0},     {8, 8, 8, 0},      {8, 8, 16, 0},  {8, 8, 24, 0},
    };
    for (Row const& row : rows)
    {
        SCOPED_TRACE(std::to_string(row.width) + "x" + std::to_string(row.height) + " at " +
                     std::to_string(row.bits));
        TextureImage image;
        const std::vector<uint8_t> roomy = MakePvr(row.width, row.height, row.bits, true, 4096);
        if (row.needed == 0)
        {
            EXPECT_FALSE(PvrReader::Read(roomy.data(), roomy.size(), true, image));
            continue;
        }
        EXPECT_EQ(PvrReader::PvrtcByteCount(row.width, row.height, row.bits), uint64_t(row.needed));
        const std::vector<uint8_t> exact = MakePvr(row.width, row.height, row.bits, false, row.needed);
        ASSERT_TRUE(PvrReader::Read(exact.data(), exact.size(), true, image));
        EXPECT_EQ(image.pixels, PvrBody(row.needed));
        ASSERT_TRUE(PvrReader::Read(roomy.data(), roomy.size(), true, image));
        EXPECT_EQ(image.pixels.size(), size_t(row.needed));
        const std::vector<uint8_t> shortByOne =
            MakePvr(row.width, row.height, row.bits, false, row.needed - 1);
        EXPECT_FALSE(PvrReader::Read(shortByOne.data(), shortByOne.size(), true, image));
    }
}

TEST_F(TextureReaderTest, DamagedFilesEndInTheirStates)
{
    struct Row
    {
        const char* file;
        int state;
    };
    const Row rows[] = {
        {"three_bytes.bin", TextureState::NoData},
        {"empty.bin", TextureState::NoData},
        {"text.txt", TextureState::Loading},
        {"raw_one_byte_short.raw", TextureState::Loading},
        {"raw_truncated.raw", TextureState::Loading},
        {"raw_header_only.raw", TextureState::Loading},
        {"raw_short_stream.raw", TextureState::Loading},
        {"raw_unknown_code.raw", TextureState::Loading},
        {"raw_bpp_mismatch.raw", TextureState::Loading},
        {"raw_size_unstated.raw", TextureState::Loading},
        {"raw_size_huge.raw", TextureState::Loading},
        {"raw_dims_huge.raw", TextureState::Loading},
        {"raw_zero_width.raw", TextureState::Loading},
        {"pvr_short_header.pvr", TextureState::Loading},
        {"pvr_truncated.pvr", TextureState::Loading},
        {"pvr_huge.pvr", TextureState::Loading},
        {"pvr_header_past_end.pvr", TextureState::Loading},
        {"pvrtc2_alpha_4x4.pvr", TextureState::Loading}, // no PVRTC on the null table
        {"png_truncated.png", TextureState::Loading},
        {"png_bad_crc.png", TextureState::Loading},
        {"png_dims_huge.png", TextureState::Loading},
        // The good ones, for contrast.
        {"raw_rgba_3x2.raw", TextureState::Decoded},
        {"raw_dictionary_huge.raw", TextureState::Decoded},
        {"rgba_3x2.png", TextureState::Decoded},
        {"pvr32_4x2.pvr", TextureState::Decoded},
    };
    for (Row const& row : rows)
        EXPECT_EQ(DecodedState(TextureFiles::Read(row.file)), row.state) << row.file;
}

TEST_F(TextureReaderTest, MissingFileIsNoDataAndAFileByPathDecodes)
{
    TextureReference missing(TextureFiles::Path("no_such_file.png"));
    missing.Load();
    EXPECT_EQ(missing.GetState(), TextureState::NoData);
    TextureReference present(TextureFiles::Path("raw_luminance_alpha_3x2.raw"));
    present.Load();
    ASSERT_EQ(present.GetState(), TextureState::Decoded);
    EXPECT_EQ(present.GetWidth(), 3u);
    EXPECT_EQ(present.GetGLFormat(), GLenum(GL_LUMINANCE_ALPHA));
    EXPECT_EQ(present.GetPixelByteCount(), 12u);
}

TEST_F(TextureReaderTest, EveryPrefixOfAGoodFileIsRefusedOrGivesTheSameImage)
{
    for (const char* file :
         {"rgba_3x2.png", "raw_rgb_3x2.raw", "raw_alpha_3x2.raw", "pvr32_4x2.pvr", "pvrtc4_8x8.pvr"})
    {
        const std::vector<uint8_t> bytes = TextureFiles::Read(file);
        TextureImage whole;
        ASSERT_TRUE(ReadAny(bytes, bytes.size(), true, whole)) << file;
        for (size_t length = 0; length < bytes.size(); ++length)
        {
            // A copy of exactly this length, so a read past it is caught.
            const std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + length);
            TextureImage image;
            if (ReadAny(prefix, prefix.size(), true, image))
            {
                EXPECT_EQ(image.pixels, whole.pixels) << file << " cut to " << length;
            }
        }
    }
}

TEST_F(TextureReaderTest, NullAndTinyInputsAreRefused)
{
    TextureImage image;
    const uint8_t byte = 0;
    EXPECT_FALSE(PngReader::Read(nullptr, 100, image));
    EXPECT_FALSE(RawTextureReader::Read(nullptr, 100, image));
    EXPECT_FALSE(PvrReader::Read(nullptr, 100, true, image));
    EXPECT_FALSE(PngReader::Read(&byte, 1, image));
    EXPECT_FALSE(RawTextureReader::Read(&byte, 1, image));
    EXPECT_FALSE(PvrReader::Read(&byte, 1, true, image));
    EXPECT_TRUE(image.pixels.empty());
}
