// The font over a shared typeface: scaled metrics, text layout into a text
// batch and measuring, for byte and wide strings alike.
#include "engine/graphics/type/IFont.h"

#include "engine/core/Rectangle.h"
#include "engine/graphics/Texture.h"
#include "engine/graphics/type/LinotypeBatch.h"
#include "engine/graphics/type/LinotypeBatchImpl.h"
#include "engine/graphics/type/TypeManager.h"
#include "engine/graphics/type/Typeface.h"

#include <algorithm>
#include <cstdint>

namespace Vexel
{
namespace Graphics
{
namespace Type
{

namespace
{

const int kNewline = 10;

// The character code of a code unit: its low 8 bits, unsigned.
template <class Unit> int CodeOf(Unit unit)
{
    return int(static_cast<uint32_t>(unit) & 0xFFu);
}

// Units start .. start + count - 1, cut to the text.
template <class S> void ClampRange(S const& text, unsigned start, unsigned count, size_t* first, size_t* end)
{
    const size_t length = text.size();
    *first = std::min<size_t>(start, length);
    *end = *first + std::min<size_t>(count, length - *first);
}

class TypeFoundryFont : public virtual IFont
{
public:
    TypeFoundryFont(Typeface* face, float size) : face(face), size(size) {}

    int Load() override
    {
        face->Load();
        const int state = face->GetState();
        // A failed face has no texture and no size to scale by.
        if (dirty && state == TypeState::Ready)
        {
            if (Texture* texture = face->GetTexture())
                texture->EnsureUploaded();
            if (size < 0.0f)
                size = face->GetSize();
            scale = size / face->GetSize();
            verticalOffset = scale * face->GetVerticalOffset();
            characterSpacing = scale * face->GetCharacterSpacing();
            lineSpacing = scale * face->GetLineSpacing();
            dirty = false;
        }
        return state;
    }

    int GetState() const override { return face->GetState(); }
    ITypeface* GetTypeface() const override { return face; }
    float GetSize() const override { return size; }
    float GetVerticalOffset() const override { return verticalOffset; }
    float GetCharacterSpacing() const override { return characterSpacing; }
    float GetLineSpacing() const override { return lineSpacing; }
    float GetBaseSize() const override { return face->GetSize(); }
    float GetBaseVerticalOffset() const override { return face->GetVerticalOffset(); }
    float GetBaseCharacterSpacing() const override { return face->GetCharacterSpacing(); }
    float GetBaseLineSpacing() const override { return face->GetLineSpacing(); }

    Vector2 Layout(LinotypeBatch& batch, std::string const& text, Vector2 const& position) override
    {
        return LayOut(batch, text, 0, unsigned(-1), position, kWhite, nullptr);
    }
    Vector2 Layout(LinotypeBatch& batch, std::wstring const& text, Vector2 const& position) override
    {
        return LayOut(batch, text, 0, unsigned(-1), position, kWhite, nullptr);
    }
    Vector2 Layout(LinotypeBatch& batch, std::string const& text, unsigned start, unsigned count,
                   Vector2 const& position) override
    {
        return LayOut(batch, text, start, count, position, kWhite, nullptr);
    }
    Vector2 Layout(LinotypeBatch& batch, std::wstring const& text, unsigned start, unsigned count,
                   Vector2 const& position) override
    {
        return LayOut(batch, text, start, count, position, kWhite, nullptr);
    }
    Vector2 Layout(LinotypeBatch& batch, std::string const& text, Vector2 const& position,
                   Color const& color) override
    {
        return LayOut(batch, text, 0, unsigned(-1), position, color, nullptr);
    }
    Vector2 Layout(LinotypeBatch& batch, std::wstring const& text, Vector2 const& position,
                   Color const& color) override
    {
        return LayOut(batch, text, 0, unsigned(-1), position, color, nullptr);
    }
    Vector2 Layout(LinotypeBatch& batch, std::string const& text, unsigned start, unsigned count,
                   Vector2 const& position, Color const& color) override
    {
        return LayOut(batch, text, start, count, position, color, nullptr);
    }
    Vector2 Layout(LinotypeBatch& batch, std::wstring const& text, unsigned start, unsigned count,
                   Vector2 const& position, Color const& color) override
    {
        return LayOut(batch, text, start, count, position, color, nullptr);
    }

    Vector2 Measure(std::string const& text) override { return MeasureRange(text, 0, unsigned(-1)); }
    Vector2 Measure(std::wstring const& text) override { return MeasureRange(text, 0, unsigned(-1)); }
    Vector2 Measure(std::string const& text, unsigned start, unsigned count) override
    {
        return MeasureRange(text, start, count);
    }
    Vector2 Measure(std::wstring const& text, unsigned start, unsigned count) override
    {
        return MeasureRange(text, start, count);
    }

    Vector2 LayoutText(LinotypeBatch& batch, std::string const& text, Vector2 const& position,
                       Color const& color) override
    {
        Vector2 pen;
        LayOut(batch, text, 0, unsigned(-1), position, color, &pen);
        return pen;
    }
    Vector2 LayoutText(LinotypeBatch& batch, std::wstring const& text, Vector2 const& position,
                       Color const& color) override
    {
        Vector2 pen;
        LayOut(batch, text, 0, unsigned(-1), position, color, &pen);
        return pen;
    }

private:
    static const Color kWhite;

    // The pen starts one spacing left of the position, so the spacing added
    // before the first character of a line cancels out. The pen's y is the
    // line top, a vertical offset above the baseline.
    template <class S>
    Vector2 LayOut(LinotypeBatch& batch, S const& text, unsigned start, unsigned count,
                   Vector2 const& position, Color const& color, Vector2* caret)
    {
        const float s = scale;
        const float sp = characterSpacing;
        Vector2 result(0.0f, size);
        Vector2 pen(position.x - sp, position.y - verticalOffset);

        LinotypeBatch::Impl& target = *batch.GetImpl();
        Texture* texture = face->GetTexture();
        if (target.texture != texture)
            target.dirty = true;
        target.texture = texture;
        target.typeface = face;
        const int before = target.characterCount;
        const bool wasEmpty = before == 0;

        size_t first, end;
        ClampRange(text, start, count, &first, &end);
        uint32_t key = 0;
        bool lineStarted = false;
        for (size_t i = first; i < end; ++i)
        {
            const int c = CodeOf(text[i]);
            key = (key << 16) + uint32_t(c);
            Glyph const* glyph = face->FindGlyph(c);
            if (glyph)
                pen.x += GapBefore(key);
            else
            {
                if (c == kNewline)
                {
                    result.x = std::max(result.x, pen.x - position.x);
                    result.y += lineSpacing;
                    pen.x = position.x - sp;
                    pen.y += lineSpacing;
                    key = 0;
                    lineStarted = false;
                }
                continue; // unmapped codes still stand in the key
            }
            Place(target, *glyph, pen, color);
            pen.x += glyph->advance * s;
            lineStarted = true;
        }

        if (target.characterCount > before)
        {
            result.x = std::max(result.x, pen.x - position.x);
            const Rectangle area(position.x, position.y - verticalOffset, result.x, result.y);
            if (wasEmpty)
                target.bounds = area;
            else
                target.bounds.Union(area);
        }
        if (caret)
            *caret = Vector2(lineStarted ? pen.x : position.x, pen.y + verticalOffset);
        return result;
    }

    // The room before a mapped glyph: the kerning of the pair that ends in
    // it (the last two codes of key), else the character spacing.
    float GapBefore(uint32_t key) const
    {
        float kerning = 0.0f;
        return face->FindKerning(key, &kerning) ? kerning * scale : characterSpacing;
    }

    void Place(LinotypeBatch::Impl& target, Glyph const& glyph, Vector2 const& pen, Color const& color)
    {
        if (glyph.blank)
            return;
        Geometry::VertexP2T2C* quad = target.AllocateQuad();
        if (!quad)
            return; // full: the pen still advances
        for (int k = 0; k < 4; ++k)
        {
            Geometry::VertexP2T2C vertex = glyph.vertices[k];
            vertex.x = vertex.x * scale + pen.x;
            vertex.y = vertex.y * scale + pen.y;
            vertex.color = color;
            quad[k] = vertex;
        }
        ++target.characterCount;
    }

    template <class S> Vector2 MeasureRange(S const& text, unsigned start, unsigned count)
    {
        const float s = scale;
        const float sp = characterSpacing;
        Vector2 result(0.0f, size);
        float x = -sp;
        size_t first, end;
        ClampRange(text, start, count, &first, &end);
        uint32_t key = 0;
        for (size_t i = first; i < end; ++i)
        {
            const int c = CodeOf(text[i]);
            key = (key << 16) + uint32_t(c);
            Glyph const* glyph = face->FindGlyph(c);
            if (glyph)
                x += GapBefore(key) + glyph->advance * s;
            else if (c == kNewline)
            {
                result.x = std::max(result.x, x);
                result.y += lineSpacing;
                x = -sp;
                key = 0;
            }
        }
        result.x = std::max(result.x, x);
        return result;
    }

    Typeface* face; // shared, not owned
    float scale = 1.0f;
    float size; // negative: the face's own size, once loaded
    float verticalOffset = 0.0f;
    float characterSpacing = 0.0f;
    float lineSpacing = 0.0f;
    bool dirty = true;
};

const Color TypeFoundryFont::kWhite(255, 255, 255, 255);

} // namespace

IFont* CreateFont(std::string const& fileName, float size)
{
    std::string name;
    name.reserve(256);
    name = fileName;
    return new TypeFoundryFont(TypeManager::Get().GetOrCreate(name), size);
}

IFont* CreateFont(std::string const& fileName)
{
    return CreateFont(fileName, -1.0f);
}

} // namespace Type
} // namespace Graphics
} // namespace Vexel
