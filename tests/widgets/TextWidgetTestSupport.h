// Shared pieces of the text widget tests: a font of fixed advances over a
// face whose texture appears only once the font is loaded, the widget font
// caches pointed at such fonts, a counting IFlush, and a replay of recorded
// GL calls that gives every drawn vertex where it lands on screen.
#pragma once

#include "engine/core/Rectangle.h"
#include "engine/graphics/GL.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/Texture.h"
#include "engine/graphics/TextureReference.h"
#include "engine/graphics/VertexFormat.h"
#include "engine/graphics/type/IFont.h"
#include "engine/graphics/type/ITypeface.h"
#include "engine/graphics/type/LinotypeBatch.h"
#include "engine/graphics/type/LinotypeBatchImpl.h"
#include "engine/ui/UIHelper.h"
#include "game/widgets/IFlush.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace TextWidgetTest
{

using Vexel::Graphics::Geometry::VertexP2T2C;

// GL texture names of the two faces.
const unsigned kPlainTextureName = 71;
const unsigned kOutlineTextureName = 72;

// An uploaded texture with this GL name that needs no GL; lives to the end.
inline Vexel::Graphics::Texture* KeptTexture(unsigned glName)
{
    static std::vector<std::unique_ptr<Vexel::Graphics::TextureReference>> references;
    static std::vector<std::unique_ptr<Vexel::Graphics::Texture>> textures;
    references.emplace_back(new Vexel::Graphics::TextureReference(
        "text-widget-test-" + std::to_string(glName), glName, 64, 64, 0));
    textures.emplace_back(new Vexel::Graphics::Texture(references.back().get()));
    return textures.back().get();
}

class FakeTypeface : public virtual Vexel::Graphics::Type::ITypeface
{
public:
    explicit FakeTypeface(unsigned glName) : texture(KeptTexture(glName)) {}
    uintptr_t GetIdentity() const override { return reinterpret_cast<uintptr_t>(this); }
    std::string GetName() const override { return loaded ? "Fixed" : ""; }
    // Null until a font over the face has been loaded, as with a real face.
    Vexel::Graphics::Texture* GetTexture() const override { return loaded ? texture : nullptr; }

    Vexel::Graphics::Texture* texture;
    bool loaded = false;
};

// Every printable character advances 10 / 20 of the size and has a quad as
// tall as the size starting at the pen; a space advances without a quad;
// control characters other than the newline are not in the face. No
// character spacing, no kerning. The baseline lies 0.8 of the size below
// the line's top; lines are 1.2 of the size apart.
class FakeFont : public virtual Vexel::Graphics::Type::IFont
{
public:
    FakeFont(FakeTypeface* face, float size) : face(face), size(size) {}

    int Load() override
    {
        ++loads;
        if (face)
            face->loaded = true;
        return face ? 0 : 3;
    }
    int GetState() const override { return face ? 0 : 3; }
    Vexel::Graphics::Type::ITypeface* GetTypeface() const override { return face; }
    float GetSize() const override { return size; }
    float GetVerticalOffset() const override { return 0.8f * size; }
    float GetCharacterSpacing() const override { return 0.0f; }
    float GetLineSpacing() const override { return 1.2f * size; }
    float GetBaseSize() const override { return 20.0f; }
    float GetBaseVerticalOffset() const override { return 16.0f; }
    float GetBaseCharacterSpacing() const override { return 0.0f; }
    float GetBaseLineSpacing() const override { return 24.0f; }
    float Advance() const { return size * 0.5f; }

    Vector2 Layout(Vexel::Graphics::Type::LinotypeBatch& batch, std::string const& text,
                   Vector2 const& position) override
    {
        return LayOut(batch, text, 0, unsigned(-1), position, Color());
    }
    Vector2 Layout(Vexel::Graphics::Type::LinotypeBatch& batch, std::wstring const& text,
                   Vector2 const& position) override
    {
        return LayOut(batch, Narrow(text), 0, unsigned(-1), position, Color());
    }
    Vector2 Layout(Vexel::Graphics::Type::LinotypeBatch& batch, std::string const& text, unsigned start,
                   unsigned count, Vector2 const& position) override
    {
        return LayOut(batch, text, start, count, position, Color());
    }
    Vector2 Layout(Vexel::Graphics::Type::LinotypeBatch& batch, std::wstring const& text, unsigned start,
                   unsigned count, Vector2 const& position) override
    {
        return LayOut(batch, Narrow(text), start, count, position, Color());
    }
    Vector2 Layout(Vexel::Graphics::Type::LinotypeBatch& batch, std::string const& text,
                   Vector2 const& position, Color const& color) override
    {
        return LayOut(batch, text, 0, unsigned(-1), position, color);
    }
    Vector2 Layout(Vexel::Graphics::Type::LinotypeBatch& batch, std::wstring const& text,
                   Vector2 const& position, Color const& color) override
    {
        return LayOut(batch, Narrow(text), 0, unsigned(-1), position, color);
    }
    Vector2 Layout(Vexel::Graphics::Type::LinotypeBatch& batch, std::string const& text, unsigned start,
                   unsigned count, Vector2 const& position, Color const& color) override
    {
        return LayOut(batch, text, start, count, position, color);
    }
    Vector2 Layout(Vexel::Graphics::Type::LinotypeBatch& batch, std::wstring const& text, unsigned start,
                   unsigned count, Vector2 const& position, Color const& color) override
    {
        return LayOut(batch, Narrow(text), start, count, position, color);
    }
    Vector2 Measure(std::string const& text) override { return MeasureRange(text, 0, unsigned(-1)); }
    Vector2 Measure(std::wstring const& text) override { return MeasureRange(Narrow(text), 0, unsigned(-1)); }
    Vector2 Measure(std::string const& text, unsigned start, unsigned count) override
    {
        return MeasureRange(text, start, count);
    }
    Vector2 Measure(std::wstring const& text, unsigned start, unsigned count) override
    {
        return MeasureRange(Narrow(text), start, count);
    }
    Vector2 LayoutText(Vexel::Graphics::Type::LinotypeBatch& batch, std::string const& text,
                       Vector2 const& position, Color const& color) override
    {
        return position + Vector2(LayOut(batch, text, 0, unsigned(-1), position, color).x, 0.0f);
    }
    Vector2 LayoutText(Vexel::Graphics::Type::LinotypeBatch& batch, std::wstring const& text,
                       Vector2 const& position, Color const& color) override
    {
        return LayoutText(batch, Narrow(text), position, color);
    }

    FakeTypeface* face; // may be null: a font whose file is missing
    float size;
    int loads = 0;
    int layouts = 0;

private:
    static std::string Narrow(std::wstring const& text)
    {
        std::string out;
        for (wchar_t c : text)
            out += char(c);
        return out;
    }
    static bool InFace(char c) { return static_cast<unsigned char>(c) >= 32; }

    Vector2 LayOut(Vexel::Graphics::Type::LinotypeBatch& batch, std::string const& text, unsigned start,
                   unsigned count, Vector2 const& position, Color const& color)
    {
        ++layouts;
        Vexel::Graphics::Type::LinotypeBatch::Impl& target = *batch.GetImpl();
        if (face)
        {
            target.texture = face->GetTexture();
            target.typeface = face;
        }
        const size_t first = std::min<size_t>(start, text.size());
        const size_t end = first + std::min<size_t>(count, text.size() - first);
        Vector2 result(0.0f, size);
        Vector2 pen(position.x, position.y - GetVerticalOffset());
        const int before = target.characterCount;
        for (size_t i = first; i < end && face; ++i)
        {
            const char c = text[i];
            if (c == '\n')
            {
                result.x = std::max(result.x, pen.x - position.x);
                result.y += GetLineSpacing();
                pen = Vector2(position.x, pen.y + GetLineSpacing());
                continue;
            }
            if (!InFace(c))
                continue;
            if (c != ' ')
            {
                if (VertexP2T2C* quad = target.AllocateQuad())
                {
                    const float u = float(static_cast<unsigned char>(c)) / 256.0f;
                    quad[0] = VertexP2T2C(pen.x, pen.y, u, 0.0f, color);
                    quad[1] = VertexP2T2C(pen.x + Advance(), pen.y, u, 0.0f, color);
                    quad[2] = VertexP2T2C(pen.x + Advance(), pen.y + size, u, 1.0f, color);
                    quad[3] = VertexP2T2C(pen.x, pen.y + size, u, 1.0f, color);
                    ++target.characterCount;
                }
            }
            pen.x += Advance();
        }
        if (target.characterCount > before)
        {
            result.x = std::max(result.x, pen.x - position.x);
            const Vexel::Rectangle area(position.x, position.y - GetVerticalOffset(), result.x, result.y);
            if (before == 0)
                target.bounds = area;
            else
                target.bounds.Union(area);
        }
        return result;
    }

    Vector2 MeasureRange(std::string const& text, unsigned start, unsigned count)
    {
        const size_t first = std::min<size_t>(start, text.size());
        const size_t end = first + std::min<size_t>(count, text.size() - first);
        Vector2 result(0.0f, size);
        float x = 0.0f;
        for (size_t i = first; i < end && face; ++i)
        {
            if (text[i] == '\n')
            {
                result.x = std::max(result.x, x);
                result.y += GetLineSpacing();
                x = 0.0f;
            }
            else if (InFace(text[i]))
                x += Advance();
        }
        result.x = std::max(result.x, x);
        return result;
    }
};

// The widget font caches handing out fake fonts: the plain file's over one
// face, the outline file's over another. Made fresh for each test.
class FakeWidgetFonts
{
public:
    FakeWidgetFonts() : plain(kPlainTextureName), outline(kOutlineTextureName)
    {
        ShutdownUIHelper();
        current = this;
        SetUIFontFactory(&Make);
    }
    ~FakeWidgetFonts()
    {
        ShutdownUIHelper(); // deletes the fonts it made
        SetUIFontFactory(nullptr);
        current = nullptr;
    }

    // Fonts made for a file, in order.
    std::vector<FakeFont*> made;
    std::vector<std::string> files;
    FakeTypeface plain;
    FakeTypeface outline;
    bool missingFaces = false;

private:
    static Vexel::Graphics::Type::IFont* Make(std::string const& fileName, float size)
    {
        FakeTypeface* face = fileName == kUIOutlineFontFile ? &current->outline : &current->plain;
        FakeFont* font = new FakeFont(current->missingFaces ? nullptr : face, size);
        current->made.push_back(font);
        current->files.push_back(fileName);
        return font;
    }
    static FakeWidgetFonts* current;
};

inline FakeWidgetFonts* FakeWidgetFonts::current = nullptr;

class CountingFlush : public IFlush
{
public:
    void FlushFirstBatch() override
    {
        ++first;
        calls.push_back(recorder ? int(recorder->GetCalls().size()) : -1);
    }
    void FlushSecondBatch() override { ++second; }

    int first = 0;
    int second = 0;
    // The number of GL calls recorded before each flush.
    std::vector<int> calls;
    Vexel::Graphics::GL::Recorder* recorder = nullptr;
};

// A 2-D affine matrix as GL keeps it for the recorded calls.
struct Affine
{
    float a = 1, b = 0, c = 0, d = 1, e = 0, f = 0; // x' = a x + c y + e, y' = b x + d y + f

    Affine Times(Affine const& o) const
    {
        Affine r;
        r.a = a * o.a + c * o.b;
        r.b = b * o.a + d * o.b;
        r.c = a * o.c + c * o.d;
        r.d = b * o.c + d * o.d;
        r.e = a * o.e + c * o.f + e;
        r.f = b * o.e + d * o.f + f;
        return r;
    }
    Vector2 Apply(float x, float y) const { return Vector2(a * x + c * y + e, b * x + d * y + f); }
};

// One glDrawElements or glDrawArrays: the texture bound, the blend mode at
// the time, the matrix, and the vertices in strip order, before and after
// the matrix.
struct Drawn
{
    int64_t texture = -1;
    Affine matrix;
    std::vector<VertexP2T2C> vertices;
    std::vector<Vector2> screen;

    // The screen area of the drawn vertices.
    Vexel::Rectangle Extent() const
    {
        if (screen.empty())
            return Vexel::Rectangle();
        float x0 = screen[0].x, y0 = screen[0].y, x1 = x0, y1 = y0;
        for (Vector2 const& p : screen)
        {
            x0 = std::min(x0, p.x);
            y0 = std::min(y0, p.y);
            x1 = std::max(x1, p.x);
            y1 = std::max(y1, p.y);
        }
        return Vexel::Rectangle(x0, y0, x1 - x0, y1 - y0);
    }
};

// Replays the matrix calls from an identity modelview.
inline std::vector<Drawn> Replay(Vexel::Graphics::GL::Recorder const& recorder)
{
    std::vector<Drawn> out;
    std::vector<Affine> stack(1);
    int64_t texture = -1;
    const VertexP2T2C* vertices = nullptr;
    for (auto const& call : recorder.GetCalls())
    {
        if (call.name == "glPushMatrix")
            stack.push_back(stack.back());
        else if (call.name == "glPopMatrix")
        {
            EXPECT_GT(stack.size(), 1u) << "a pop without a push";
            if (stack.size() > 1)
                stack.pop_back();
        }
        else if (call.name == "glLoadIdentity")
            stack.back() = Affine();
        else if (call.name == "glMultMatrixf")
        {
            Affine m;
            m.a = call.floats[0];
            m.b = call.floats[1];
            m.c = call.floats[4];
            m.d = call.floats[5];
            m.e = call.floats[12];
            m.f = call.floats[13];
            stack.back() = stack.back().Times(m);
        }
        else if (call.name == "glBindTexture")
            texture = call.ints[1];
        else if (call.name == "glVertexPointer")
            vertices = reinterpret_cast<const VertexP2T2C*>(static_cast<uintptr_t>(call.ints[3]));
        else if (call.name == "glDrawElements" || call.name == "glDrawArrays")
        {
            Drawn drawn;
            drawn.texture = texture;
            drawn.matrix = stack.back();
            if (call.name == "glDrawElements")
            {
                const auto* indices = reinterpret_cast<const uint16_t*>(static_cast<uintptr_t>(call.ints[3]));
                for (int64_t i = 0; i < call.ints[1]; ++i)
                    drawn.vertices.push_back(vertices[indices[i]]);
            }
            else
            {
                for (int64_t i = 0; i < call.ints[2]; ++i)
                    drawn.vertices.push_back(vertices[call.ints[1] + i]);
            }
            for (VertexP2T2C const& v : drawn.vertices)
                drawn.screen.push_back(drawn.matrix.Apply(v.x, v.y));
            out.push_back(drawn);
        }
    }
    EXPECT_EQ(1u, stack.size()) << "pushes and pops do not pair";
    return out;
}

// The summed area of the non-degenerate triangles of a strip.
inline float StripArea(std::vector<Vector2> const& strip)
{
    float area = 0.0f;
    for (size_t i = 2; i < strip.size(); ++i)
    {
        Vector2 const& p = strip[i - 2];
        Vector2 const& q = strip[i - 1];
        Vector2 const& r = strip[i];
        area += 0.5f * std::abs((q.x - p.x) * (r.y - p.y) - (r.x - p.x) * (q.y - p.y));
    }
    return area;
}

} // namespace TextWidgetTest
