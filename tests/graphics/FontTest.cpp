// Typefaces and fonts over files the tests write: load states, shared faces,
// scaled metrics, and the values of Measure and Layout.
#include "engine/graphics/Texture.h"
#include "engine/graphics/type/IFont.h"
#include "engine/graphics/type/ITypeface.h"
#include "engine/graphics/type/LinotypeBatch.h"
#include "engine/graphics/type/LinotypeBatchImpl.h"
#include "engine/graphics/type/Typeface.h"
#include "tests/graphics/TypeFileBuilder.h"
#include "tests/support/Latch.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>

using namespace Vexel::Graphics;
using Vexel::Rectangle;
using namespace Vexel::Graphics::Type;
using namespace TypeFileTesting;

namespace
{

// The standard face at size 40: scale 2, spacing 4, vertical offset 32,
// line spacing 48; advances A 20, B 24, C 16, D 18, E 22, spaces 10; the
// pair A, B kerned to -2.
std::unique_ptr<IFont> StandardFont(float size = 40.0f)
{
    static const std::string path = WriteTempFile("standard", Build(StandardFace()));
    std::unique_ptr<IFont> font(CreateFont(path, size));
    EXPECT_EQ(TypeState::Ready, font->Load());
    return font;
}

std::unique_ptr<IFont> LoadedFont(FilePlan const& plan, float size = 40.0f)
{
    std::unique_ptr<IFont> font(CreateFont(WriteTempFile("face", Build(plan)), size));
    font->Load();
    return font;
}

void ExpectVector(Vector2 const& expected, Vector2 const& actual, const char* what)
{
    EXPECT_FLOAT_EQ(expected.x, actual.x) << what;
    EXPECT_FLOAT_EQ(expected.y, actual.y) << what;
}

Geometry::VertexP2T2C const* Quad(LinotypeBatch const& batch, int index)
{
    LinotypeBatch::Impl const& impl = *batch.GetImpl();
    const int firstVertex = impl.buffer->GetIndices()[impl.firstIndex + index * 6 + 4];
    return impl.buffer->GetVertices() + firstVertex;
}

} // namespace

TEST(FontTest, LoadStatesOfDamagedAndMissingFiles)
{
    std::vector<uint8_t> good = Build(StandardFace());
    FilePlan sizeOff = StandardFace();
    sizeOff.sizeFieldDelta = 1;
    FilePlan badMagic = StandardFace();
    badMagic.magic = 0x31464654;
    FilePlan badTexture = StandardFace();
    badTexture.texture = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};
    FilePlan tinyTexture = StandardFace();
    tinyTexture.texture = {0x89, 'P', 'N'};
    FilePlan brokenPng = StandardFace();
    brokenPng.texture.resize(brokenPng.texture.size() / 2);

    struct Case
    {
        const char* name;
        std::string path;
        int expected;
    };
    const Case cases[] = {
        {"ready", WriteTempFile("good", good), TypeState::Ready},
        {"missing", WriteTempFile("gone", good) + ".missing", TypeState::CannotOpen},
        {"empty", WriteTempFile("empty", {}), TypeState::BadFile},
        {"15 bytes", WriteTempFile("short", std::vector<uint8_t>(good.begin(), good.begin() + 15)),
         TypeState::BadFile},
        {"size field one off", WriteTempFile("size", Build(sizeOff)), TypeState::SizeMismatch},
        {"bad magic", WriteTempFile("magic", Build(badMagic)), TypeState::BadFile},
        {"texture not an image", WriteTempFile("texture", Build(badTexture)), TypeState::BadFile},
        {"texture of 3 bytes", WriteTempFile("tiny", Build(tinyTexture)), TypeState::BadFile},
        {"truncated PNG", WriteTempFile("png", Build(brokenPng)), TypeState::BadFile},
    };
    for (Case const& c : cases)
    {
        std::unique_ptr<IFont> font(CreateFont(c.path, 40.0f));
        EXPECT_EQ(c.expected, font->Load()) << c.name;
        EXPECT_EQ(c.expected, font->GetState()) << c.name;
        EXPECT_EQ(c.expected, font->Load()) << c.name << " (final)";
        ASSERT_NE(nullptr, font->GetTypeface()) << c.name;
        if (c.expected == TypeState::Ready)
        {
            EXPECT_NE(nullptr, font->GetTypeface()->GetTexture()) << c.name;
            continue;
        }
        // A failed face: no texture, no glyphs, nothing laid out.
        EXPECT_EQ(nullptr, font->GetTypeface()->GetTexture()) << c.name;
        EXPECT_EQ("", font->GetTypeface()->GetName()) << c.name;
        LinotypeBatch batch(8);
        ExpectVector(Vector2(0.0f, 40.0f), font->Layout(batch, std::string("AB"), Vector2(5.0f, 5.0f)),
                     c.name);
        EXPECT_EQ(0, batch.GetCharacterCount()) << c.name;
        ExpectVector(Vector2(0.0f, 40.0f), font->Measure(std::string("AB")), c.name);
        batch.Draw(); // no texture to upload or bind
    }
}

TEST(FontTest, FaceOfOwnSizeAndScaledMetrics)
{
    std::unique_ptr<IFont> own = StandardFont(-1.0f);
    EXPECT_EQ(20.0f, own->GetSize());
    EXPECT_EQ(16.0f, own->GetVerticalOffset());
    EXPECT_EQ(2.0f, own->GetCharacterSpacing());
    EXPECT_EQ(24.0f, own->GetLineSpacing());
    ExpectVector(Vector2(10.0f + 2.0f + 11.0f, 20.0f), own->Measure(std::string("AE")), "scale 1");

    std::unique_ptr<IFont> big = StandardFont(40.0f);
    EXPECT_EQ(40.0f, big->GetSize());
    EXPECT_EQ(32.0f, big->GetVerticalOffset());
    EXPECT_EQ(4.0f, big->GetCharacterSpacing());
    EXPECT_EQ(48.0f, big->GetLineSpacing());
    EXPECT_EQ(48.0f, big->GetLineHeight());
    EXPECT_EQ(32.0f, big->GetBase());
    EXPECT_EQ(20.0f, big->GetBaseSize());
    EXPECT_EQ(16.0f, big->GetBaseVerticalOffset());
    EXPECT_EQ(2.0f, big->GetBaseCharacterSpacing());
    EXPECT_EQ(24.0f, big->GetBaseLineSpacing());
    EXPECT_EQ("Test Face", big->GetTypeface()->GetName());
}

TEST(FontTest, MetricsStayZeroUntilLoad)
{
    std::unique_ptr<IFont> font(CreateFont(WriteTempFile("unloaded", Build(StandardFace())), 40.0f));
    EXPECT_EQ(40.0f, font->GetSize());
    EXPECT_EQ(0.0f, font->GetVerticalOffset());
    EXPECT_EQ(0.0f, font->GetCharacterSpacing());
    EXPECT_EQ(0.0f, font->GetLineSpacing());
    EXPECT_EQ(TypeState::Ready, font->Load());
    EXPECT_EQ(32.0f, font->GetVerticalOffset());
}

TEST(FontTest, FontsOfOneFileShareOneFace)
{
    const std::string path = WriteTempFile("shared", Build(StandardFace()));
    std::unique_ptr<IFont> small(CreateFont(path, 10.0f));
    std::unique_ptr<IFont> large(CreateFont(path, 30.0f));
    std::unique_ptr<IFont> other = StandardFont();
    ASSERT_EQ(small->GetTypeface(), large->GetTypeface());
    EXPECT_TRUE(*small->GetTypeface() == *large->GetTypeface());
    EXPECT_TRUE(*small->GetTypeface() != *other->GetTypeface());
    EXPECT_NE(*small->GetTypeface() < *other->GetTypeface(), *other->GetTypeface() < *small->GetTypeface());
    EXPECT_EQ(TypeState::Ready, small->Load());
    // The second font finds the face loaded: same texture, same tables.
    EXPECT_EQ(TypeState::Ready, large->Load());
    EXPECT_EQ(small->GetTypeface()->GetTexture(), large->GetTypeface()->GetTexture());
    EXPECT_FLOAT_EQ(3.0f * small->Measure(std::string("ABCDE")).x, large->Measure(std::string("ABCDE")).x);
}

TEST(FontTest, ThreadsAskingForOneNameGetOneFace)
{
    const std::string path = WriteTempFile("race", Build(StandardFace()));
    const int kThreads = 8;
    TestSupport::Latch gate; // starts the threads together
    std::vector<std::unique_ptr<IFont>> fonts(kThreads);
    std::vector<int> states(kThreads, -1);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back(
            [&, i]
            {
                gate.Wait();
                fonts[size_t(i)].reset(CreateFont(path, 12.0f + float(i)));
                states[size_t(i)] = fonts[size_t(i)]->GetTypeface() ? 0 : -1;
            });
    gate.CountDown();
    for (std::thread& t : threads)
        t.join();
    for (int i = 0; i < kThreads; ++i)
    {
        EXPECT_EQ(0, states[size_t(i)]);
        EXPECT_EQ(fonts[0]->GetTypeface(), fonts[size_t(i)]->GetTypeface());
    }
    // Loads from several threads while the pool may be loading too.
    threads.clear();
    TestSupport::Latch second;
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back(
            [&, i]
            {
                second.Wait();
                dynamic_cast<Typeface*>(fonts[size_t(i)]->GetTypeface())->Load();
                states[size_t(i)] = fonts[size_t(i)]->GetState();
            });
    second.CountDown();
    for (std::thread& t : threads)
        t.join();
    for (int i = 0; i < kThreads; ++i)
        EXPECT_EQ(TypeState::Ready, states[size_t(i)]);
}

TEST(FontTest, MeasureValues)
{
    FilePlan kernedToNothing = StandardFace();
    kernedToNothing.kerning.push_back({(65u << 16) + 90u, 5}); // Z has no glyph
    std::unique_ptr<IFont> font = StandardFont();
    std::unique_ptr<IFont> orphan = LoadedFont(kernedToNothing);

    struct Case
    {
        const char* name;
        IFont* font;
        std::string text;
        Vector2 expected;
    };
    const Case cases[] = {
        {"kerned pair", font.get(), "AB", Vector2(20.0f - 2.0f + 24.0f, 40.0f)},
        {"pair without kerning", font.get(), "BA", Vector2(24.0f + 4.0f + 20.0f, 40.0f)},
        {"newline", font.get(), "A\nBB", Vector2(24.0f + 4.0f + 24.0f, 88.0f)},
        {"newline, first line wider", font.get(), "BBB\nA", Vector2(24.0f * 3 + 8.0f, 88.0f)},
        {"empty", font.get(), "", Vector2(0.0f, 40.0f)},
        {"spaces only", font.get(), "  ", Vector2(-4.0f + 14.0f + 14.0f, 40.0f)},
        {"non-breaking space", font.get(),
         "\xA0"
         "A",
         Vector2(-4.0f + 14.0f + 24.0f, 40.0f)},
        {"unmapped character skipped but breaks the pair", font.get(), "A?B", Vector2(48.0f, 40.0f)},
        {"two newlines", font.get(), "\n\n", Vector2(0.0f, 136.0f)},
        {"kerning to a missing glyph", orphan.get(), "AZ", Vector2(20.0f, 40.0f)},
        {"kerning to a missing glyph, then B", orphan.get(), "AZB", Vector2(48.0f, 40.0f)},
    };
    for (Case const& c : cases)
    {
        ExpectVector(c.expected, c.font->Measure(c.text), c.name);
        ExpectVector(c.expected, c.font->MeasureText(c.text), c.name);
    }
}

TEST(FontTest, MeasureRangesAndWideText)
{
    std::unique_ptr<IFont> font = StandardFont();
    ExpectVector(Vector2(42.0f, 40.0f), font->Measure(std::string("EABCD"), 1, 2), "range");
    ExpectVector(Vector2(24.0f, 40.0f), font->Measure(std::string("AB"), 1, 100), "count past the end");
    ExpectVector(Vector2(0.0f, 40.0f), font->Measure(std::string("AB"), 5, 1), "start past the end");
    ExpectVector(Vector2(42.0f, 40.0f), font->Measure(std::wstring(L"AB")), "wide");
    // Codes above 255 fold to their low 8 bits: U+0141 is read as A.
    ExpectVector(Vector2(42.0f, 40.0f), font->Measure(std::wstring(L"\u0141\u0142")), "folded");
    ExpectVector(Vector2(42.0f, 40.0f), font->Measure(std::wstring(L"EABCD"), 1, 2), "wide range");
}

TEST(FontTest, LayoutPlacesScaledQuadsAtThePen)
{
    std::unique_ptr<IFont> font = StandardFont();
    LinotypeBatch batch(16);
    const Color color(10, 20, 30, 40);
    ExpectVector(Vector2(42.0f, 40.0f),
                 font->Layout(batch, std::string("AB"), Vector2(100.0f, 200.0f), color), "size");
    ASSERT_EQ(2, batch.GetCharacterCount());
    EXPECT_EQ(font->GetTypeface(), batch.GetTypeface());
    EXPECT_EQ(font->GetTypeface()->GetTexture(), batch.GetTexture());
    const Rectangle bounds = batch.GetBounds();
    EXPECT_EQ(Rectangle(100.0f, 168.0f, 42.0f, 40.0f), bounds);

    // A at the pen (100, 168 = line top): x 1, y 2, w 8, h 12, scaled by 2.
    Geometry::VertexP2T2C const* a = Quad(batch, 0);
    const float expectedA[4][4] = {
        {102, 172, 0.0f, 0.0f}, {118, 172, 0.25f, 0.0f}, {118, 196, 0.25f, 0.75f}, {102, 196, 0.0f, 0.75f}};
    for (int k = 0; k < 4; ++k)
    {
        EXPECT_FLOAT_EQ(expectedA[k][0], a[k].x) << k;
        EXPECT_FLOAT_EQ(expectedA[k][1], a[k].y) << k;
        EXPECT_FLOAT_EQ(expectedA[k][2], a[k].u) << k;
        EXPECT_FLOAT_EQ(expectedA[k][3], a[k].v) << k;
        EXPECT_EQ(color, a[k].color) << k;
    }
    // B after A's advance (20) and the kerning (-2) instead of the spacing.
    Geometry::VertexP2T2C const* b = Quad(batch, 1);
    EXPECT_FLOAT_EQ(118.0f, b[0].x);
    EXPECT_FLOAT_EQ(172.0f, b[0].y);
    EXPECT_FLOAT_EQ(0.25f, b[0].u);
}

TEST(FontTest, LayoutOfNewlinesSpacesAndEmptyText)
{
    std::unique_ptr<IFont> font = StandardFont();
    LinotypeBatch batch(16);
    ExpectVector(Vector2(24.0f, 88.0f), font->Layout(batch, std::string("A\nB"), Vector2(100.0f, 200.0f)),
                 "two lines");
    ASSERT_EQ(2, batch.GetCharacterCount());
    EXPECT_FLOAT_EQ(100.0f, Quad(batch, 1)[0].x);
    EXPECT_FLOAT_EQ(216.0f + 4.0f, Quad(batch, 1)[0].y);
    EXPECT_EQ(0xFFFFFFFFu, Quad(batch, 1)[0].color.Packed());

    LinotypeBatch empty(16);
    ExpectVector(Vector2(0.0f, 40.0f), font->Layout(empty, std::string("  "), Vector2(7.0f, 7.0f)), "spaces");
    ExpectVector(Vector2(24.0f, 40.0f), font->Measure(std::string("  ")), "spaces measured");
    ExpectVector(Vector2(0.0f, 40.0f), font->Layout(empty, std::string(""), Vector2(7.0f, 7.0f)), "empty");
    EXPECT_EQ(0, empty.GetCharacterCount());
    EXPECT_EQ(Rectangle(), empty.GetBounds());
}

TEST(FontTest, LayoutOfAWideRange)
{
    std::unique_ptr<IFont> font = StandardFont();
    LinotypeBatch batch(16);
    ExpectVector(Vector2(42.0f, 40.0f),
                 font->Layout(batch, std::wstring(L"EABCD"), 1, 2, Vector2(0.0f, 0.0f), Color(1, 2, 3, 4)),
                 "range");
    ASSERT_EQ(2, batch.GetCharacterCount());
    EXPECT_FLOAT_EQ(2.0f, Quad(batch, 0)[0].x); // A, not E
    EXPECT_EQ(Color(1, 2, 3, 4), Quad(batch, 1)[2].color);
}

TEST(FontTest, BoundsGrowUntilClear)
{
    std::unique_ptr<IFont> font = StandardFont();
    LinotypeBatch batch(16);
    font->Layout(batch, std::string("A"), Vector2(0.0f, 0.0f));
    EXPECT_EQ(Rectangle(0.0f, -32.0f, 20.0f, 40.0f), batch.GetBounds());
    font->Layout(batch, std::string("B"), Vector2(100.0f, 100.0f));
    EXPECT_EQ(Rectangle(0.0f, -32.0f, 124.0f, 140.0f), batch.GetBounds());
    batch.Clear();
    EXPECT_EQ(0, batch.GetCharacterCount());
    EXPECT_EQ(Rectangle(), batch.GetBounds());
    font->Layout(batch, std::string("A"), Vector2(50.0f, 50.0f));
    EXPECT_EQ(Rectangle(50.0f, 18.0f, 20.0f, 40.0f), batch.GetBounds());
}

TEST(FontTest, FullBatchDropsQuadsButMeasuresEverything)
{
    std::unique_ptr<IFont> font = StandardFont();
    LinotypeBatch three(3);
    const Vector2 size = font->Layout(three, std::string("ABCDE"), Vector2(0.0f, 0.0f));
    EXPECT_EQ(3, three.GetCharacterCount());
    ExpectVector(font->Measure(std::string("ABCDE")), size, "full width");
    EXPECT_FLOAT_EQ(size.x, three.GetBounds().width);

    LinotypeBatch batch(32);
    std::string visible(33, 'C');
    font->Layout(batch, visible, Vector2(0.0f, 0.0f));
    EXPECT_EQ(32, batch.GetCharacterCount());

    // Spaces take no room.
    LinotypeBatch spaced(32);
    std::string text;
    for (int i = 0; i < 32; ++i)
        text += "D ";
    font->Layout(spaced, text, Vector2(0.0f, 0.0f));
    EXPECT_EQ(32, spaced.GetCharacterCount());
}

TEST(FontTest, LayoutTextReturnsThePenAfterTheText)
{
    std::unique_ptr<IFont> font = StandardFont();
    LinotypeBatch batch(16);
    const Vector2 p(100.0f, 200.0f);
    ExpectVector(Vector2(142.0f, 200.0f), font->LayoutText(batch, std::string("AB"), p), "one line");
    // The pen after one line is P.x plus the width Layout returns.
    LinotypeBatch other(16);
    EXPECT_FLOAT_EQ(p.x + font->Layout(other, std::string("AB"), p).x,
                    font->LayoutText(other, std::string("AB"), p).x);
    ExpectVector(Vector2(124.0f, 248.0f), font->LayoutText(batch, std::string("A\nB"), p), "two lines");
    ExpectVector(Vector2(100.0f, 248.0f), font->LayoutText(batch, std::string("A\n"), p), "empty last line");
    ExpectVector(Vector2(100.0f, 200.0f), font->LayoutText(batch, std::string(""), p), "empty");
    ExpectVector(Vector2(124.0f, 200.0f), font->LayoutText(batch, std::wstring(L"  "), p), "spaces");

    // A second layout at the returned pen continues the line.
    LinotypeBatch chain(16);
    const Vector2 pen = font->LayoutText(chain, std::string("A"), p, Color(9, 9, 9, 9));
    font->LayoutText(chain, std::string("B"), pen);
    EXPECT_FLOAT_EQ(120.0f, Quad(chain, 1)[0].x);
}
