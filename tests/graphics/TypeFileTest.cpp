// The ".type" reader: the fields of a good file, and a table of damaged
// files that must all be refused without reading past the bytes.
#include "engine/graphics/type/ITypeface.h"
#include "engine/graphics/type/TypeFile.h"
#include "tests/graphics/TypeFileBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

using Vexel::Graphics::Type::TypeFile;
using Vexel::Graphics::Type::TypeState;
using namespace TypeFileTesting;

namespace
{

int ReadState(std::vector<uint8_t> const& bytes)
{
    TypeFile file;
    return file.Read(bytes.data(), int(bytes.size()));
}

} // namespace

TEST(TypeFileTest, ReadsEveryFieldOfAGoodFile)
{
    FilePlan plan = StandardFace();
    std::vector<uint8_t> bytes = Build(plan);
    TypeFile file;
    ASSERT_EQ(TypeState::Ready, file.Read(bytes.data(), int(bytes.size())));
    EXPECT_EQ("Test Face", file.faceName);
    EXPECT_EQ(20.0f, file.size);
    EXPECT_EQ(16.0f, file.verticalOffset);
    EXPECT_EQ(24.0f, file.lineSpacing);
    EXPECT_EQ(2.0f, file.characterSpacing);
    ASSERT_EQ(7u, file.glyphs.size());

    // A: x 1, y 2, u 0, v 0, w 8, h 12; texture coordinates still in pixels.
    auto const& a = file.glyphs[0];
    EXPECT_EQ(65, a.code);
    EXPECT_FALSE(a.blank);
    EXPECT_EQ(10.0f, a.advance);
    const float expected[4][4] = {{1, 2, 0, 0}, {9, 2, 8, 0}, {9, 14, 8, 12}, {1, 14, 0, 12}};
    for (int k = 0; k < 4; ++k)
    {
        EXPECT_EQ(expected[k][0], a.vertices[k].x) << k;
        EXPECT_EQ(expected[k][1], a.vertices[k].y) << k;
        EXPECT_EQ(expected[k][2], a.vertices[k].u) << k;
        EXPECT_EQ(expected[k][3], a.vertices[k].v) << k;
        EXPECT_EQ(0xFFFFFFFFu, a.vertices[k].color.Packed()) << k;
    }
    // A blank record keeps default vertices.
    auto const& space = file.glyphs[5];
    EXPECT_EQ(32, space.code);
    EXPECT_TRUE(space.blank);
    EXPECT_EQ(5.0f, space.advance);
    EXPECT_EQ(0.0f, space.vertices[2].x);

    ASSERT_EQ(7u, file.characterMap.size());
    EXPECT_EQ(160, file.characterMap[6].code);
    EXPECT_EQ(6, file.characterMap[6].glyphIndex);
    ASSERT_EQ(1u, file.kerning.size());
    EXPECT_EQ((65u << 16) + 66u, file.kerning[0].key);
    EXPECT_EQ(-1.0f, file.kerning[0].amount);

    EXPECT_EQ(int(plan.texture.size()), file.textureLength);
    EXPECT_EQ(int(bytes.size() - plan.texture.size()), file.textureOffset);
    EXPECT_EQ(0x89, bytes[size_t(file.textureOffset)]);
}

TEST(TypeFileTest, SecondAdvanceOfAnImageRecordReplacesTheFirst)
{
    FilePlan plan = StandardFace();
    plan.glyphs[0].firstAdvance = 3;
    plan.glyphs[5].advance = 7; // blank: only the 15-bit advance exists
    std::vector<uint8_t> bytes = Build(plan);
    TypeFile file;
    ASSERT_EQ(TypeState::Ready, file.Read(bytes.data(), int(bytes.size())));
    EXPECT_EQ(10.0f, file.glyphs[0].advance);
    EXPECT_EQ(7.0f, file.glyphs[5].advance);
}

TEST(TypeFileTest, RecordSizesAre32BitsBlankAnd144WithAnImage)
{
    FilePlan blank = StandardFace();
    blank.glyphs = {{32, true, 5, 0, 0, 0, 0, 0, 0}};
    blank.characterMap = {{32, 0}};
    blank.kerning.clear();
    FilePlan image = blank;
    image.glyphs = {{65, false, 5, 0, 0, 0, 0, 4, 4}};
    image.characterMap = {{65, 0}};
    std::vector<uint8_t> a = Build(blank);
    std::vector<uint8_t> b = Build(image);
    EXPECT_EQ(b.size(), a.size() + (144 - 32) / 8);
    EXPECT_EQ(TypeState::Ready, ReadState(a));
    EXPECT_EQ(TypeState::Ready, ReadState(b));
}

TEST(TypeFileTest, NameOf24CharactersAlignsTheMetricsToTheNextByte)
{
    FilePlan plan = StandardFace();
    plan.name = "ABCDEFGHIJKLMNOPQRSTUVWX";
    std::vector<uint8_t> bytes = Build(plan);
    // 64 header bits + 5 + 24 * 7 = 237 bits: the size field starts at byte 30.
    ASSERT_GE(bytes.size(), 34u);
    EXPECT_EQ(0, bytes[30]);
    EXPECT_EQ(20, bytes[33]);
    TypeFile file;
    ASSERT_EQ(TypeState::Ready, file.Read(bytes.data(), int(bytes.size())));
    EXPECT_EQ(plan.name, file.faceName);
    EXPECT_EQ(20.0f, file.size);
    EXPECT_EQ(16.0f, file.verticalOffset);
}

TEST(TypeFileTest, TextureIsTheLastBytesEvenAfterAGap)
{
    FilePlan plan = StandardFace();
    plan.gap = {1, 2, 3, 4, 5, 6, 7};
    std::vector<uint8_t> bytes = Build(plan);
    TypeFile file;
    ASSERT_EQ(TypeState::Ready, file.Read(bytes.data(), int(bytes.size())));
    EXPECT_EQ(int(bytes.size() - plan.texture.size()), file.textureOffset);
    EXPECT_EQ(0x89, bytes[size_t(file.textureOffset)]);
}

TEST(TypeFileTest, DamagedFilesEndInTheirStates)
{
    struct Case
    {
        const char* name;
        std::function<void(FilePlan&)> damage;
        int expected;
    };
    const Case cases[] = {
        {"size field one byte more", [](FilePlan& s) { s.sizeFieldDelta = 1; }, TypeState::SizeMismatch},
        {"size field one byte less", [](FilePlan& s) { s.sizeFieldDelta = -1; }, TypeState::SizeMismatch},
        {"bad magic", [](FilePlan& s) { s.magic = 0x54464632; }, TypeState::BadFile},
        {"name length field past 24", [](FilePlan& s) { s.nameLengthField = 25; }, TypeState::BadFile},
        {"face size zero", [](FilePlan& s) { s.size = 0; }, TypeState::BadFile},
        {"face size negative", [](FilePlan& s) { s.size = -24; }, TypeState::BadFile},
        {"negative glyph count",
         [](FilePlan& s)
         {
             s.overrideGlyphCount = true;
             s.glyphCount = -1;
         },
         TypeState::BadFile},
        {"glyph count beyond the file",
         [](FilePlan& s)
         {
             s.overrideGlyphCount = true;
             s.glyphCount = 0x7FFFFFFF;
         },
         TypeState::BadFile},
        {"glyph count of a thousand",
         [](FilePlan& s)
         {
             s.overrideGlyphCount = true;
             s.glyphCount = 1000;
         },
         TypeState::BadFile},
        {"negative map count",
         [](FilePlan& s)
         {
             s.overrideMapCount = true;
             s.mapCount = -7;
         },
         TypeState::BadFile},
        {"map count beyond the file",
         [](FilePlan& s)
         {
             s.overrideMapCount = true;
             s.mapCount = 1 << 28;
         },
         TypeState::BadFile},
        {"map index past the glyphs",
         [](FilePlan& s) {
             s.characterMap.push_back({70, 7});
         },
         TypeState::BadFile},
        {"map index far past the glyphs", [](FilePlan& s) { s.characterMap[0].second = 65535; },
         TypeState::BadFile},
        {"negative kerning count",
         [](FilePlan& s)
         {
             s.overrideKerningCount = true;
             s.kerningCount = int32_t(0x80000000u);
         },
         TypeState::BadFile},
        {"kerning count beyond the file",
         [](FilePlan& s)
         {
             s.overrideKerningCount = true;
             s.kerningCount = 100000;
         },
         TypeState::BadFile},
        {"negative texture length",
         [](FilePlan& s)
         {
             s.overrideTextureLength = true;
             s.textureLength = -4;
         },
         TypeState::BadFile},
        {"zero texture length",
         [](FilePlan& s)
         {
             s.overrideTextureLength = true;
             s.textureLength = 0;
         },
         TypeState::BadFile},
        {"texture longer than the file",
         [](FilePlan& s)
         {
             s.overrideTextureLength = true;
             s.textureLength = 1 << 30;
         },
         TypeState::BadFile},
        {"texture reaching into the tables",
         [](FilePlan& s)
         {
             s.overrideTextureLength = true;
             s.textureLength = int32_t(s.texture.size()) + 1;
         },
         TypeState::BadFile},
        {"no glyphs at all is still a face",
         [](FilePlan& s)
         {
             s.glyphs.clear();
             s.characterMap.clear();
         },
         TypeState::Ready},
    };
    for (Case const& c : cases)
    {
        FilePlan plan = StandardFace();
        c.damage(plan);
        std::vector<uint8_t> bytes = Build(plan);
        TypeFile file;
        EXPECT_EQ(c.expected, file.Read(bytes.data(), int(bytes.size()))) << c.name;
        if (c.expected != TypeState::Ready)
        {
            EXPECT_TRUE(file.glyphs.empty()) << c.name;
            EXPECT_TRUE(file.characterMap.empty()) << c.name;
            EXPECT_EQ(0.0f, file.size) << c.name;
        }
    }
}

TEST(TypeFileTest, ShortMissingAndEmptyFiles)
{
    std::vector<uint8_t> bytes = Build(StandardFace());
    TypeFile file;
    EXPECT_EQ(TypeState::CannotOpen, file.Read(nullptr, -1));
    EXPECT_EQ(TypeState::BadFile, file.Read(nullptr, 0));
    EXPECT_EQ(TypeState::BadFile, file.Read(bytes.data(), 0));
    EXPECT_EQ(TypeState::BadFile, file.Read(bytes.data(), 15));
    // 16 bytes with the right magic: the size field decides.
    EXPECT_EQ(TypeState::SizeMismatch, file.Read(bytes.data(), 16));
}

TEST(TypeFileTest, EveryTruncationIsRefused)
{
    std::vector<uint8_t> bytes = Build(StandardFace());
    for (size_t cut = 0; cut < bytes.size(); ++cut)
    {
        // A copy of exactly that many bytes, so the sanitizers see overreads.
        std::vector<uint8_t> part(bytes.begin(), bytes.begin() + long(cut));
        const int state = ReadState(part);
        EXPECT_TRUE(state == TypeState::BadFile || state == TypeState::SizeMismatch) << cut;
    }
}

TEST(TypeFileTest, TruncatedTablesWithAConsistentSizeFieldAreRefused)
{
    // The size field matches, but the tables end before their counts say.
    for (int keep : {40, 60, 80, 100})
    {
        FilePlan plan = StandardFace();
        plan.texture.clear();
        std::vector<uint8_t> full = Build(plan);
        ASSERT_LT(keep, int(full.size()));
        std::vector<uint8_t> part(full.begin(), full.begin() + keep);
        const uint32_t length = uint32_t(part.size());
        for (int i = 0; i < 4; ++i)
            part[4 + size_t(i)] = uint8_t(length >> (24 - 8 * i));
        EXPECT_EQ(TypeState::BadFile, ReadState(part)) << keep;
    }
}

// ThreadSanitizer checks no bounds, and under it the reader's large
// reservations for damaged counts cost a hundred times more: a tenth of the
// rounds there keeps the test quick (AddressSanitizer runs them all).
#if defined(__SANITIZE_THREAD__)
const int kDamageRounds = 300;
#else
const int kDamageRounds = 3000;
#endif

TEST(TypeFileTest, RandomDamageNeverReadsOutside)
{
    std::vector<uint8_t> good = Build(StandardFace());
    std::mt19937 random(1234);
    for (int round = 0; round < kDamageRounds; ++round)
    {
        std::vector<uint8_t> bytes = good;
        const int flips = 1 + int(random() % 4);
        for (int i = 0; i < flips; ++i)
        {
            // Damage the tables (the texture is not decoded here).
            const size_t at = random() % (good.size() - StandardFace().texture.size());
            bytes[at] ^= uint8_t(1u << (random() % 8));
        }
        const int state = ReadState(bytes);
        EXPECT_TRUE(state == TypeState::Ready || state == TypeState::BadFile ||
                    state == TypeState::SizeMismatch);
    }
}
