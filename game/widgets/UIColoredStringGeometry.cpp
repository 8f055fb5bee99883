#include "game/widgets/UIColoredStringGeometry.h"

#include "engine/graphics/GeometryBuffer.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/Texture.h"
#include "engine/graphics/type/IFont.h"
#include "engine/graphics/type/ITypeface.h"
#include "engine/graphics/type/LinotypeBatch.h"

using Vexel::Graphics::Geometry::GenerationData;
using Vexel::Graphics::Geometry::GenerationResponse;
using Vexel::Graphics::Geometry::GeometryBuffer;
using Vexel::Graphics::Type::IFont;

namespace
{

const int kVerticesPerCharacter = 4;
const int kIndicesPerCharacter = 6;
// A row may overhang the rectangle by this much before it counts as too wide.
const float kWrapTolerance = 0.5f;

bool IsWhitespace(char c)
{
    return c == '\t' || c == '\n' || c == ' ';
}

// The font is loaded first: before its face has loaded there is no texture
// to take. A font without a face gives the empty texture.
Vexel::Graphics::Texture LoadedFaceTexture(IFont* font)
{
    if (!font)
        return Vexel::Graphics::Texture::Empty;
    font->Load();
    Vexel::Graphics::Type::ITypeface* face = font->GetTypeface();
    Vexel::Graphics::Texture* texture = face ? face->GetTexture() : nullptr;
    return texture ? *texture : Vexel::Graphics::Texture::Empty;
}

} // namespace

UIColoredStringGeometry::UIColoredStringGeometry(IFont* font, Vector2 const& position)
    : UIColoredStringGeometry(font, Vexel::Rectangle(position, Vector2(-1.0f, -1.0f)))
{
}

UIColoredStringGeometry::UIColoredStringGeometry(IFont* font, Vexel::Rectangle const& rect)
    : Geometry(kVerticesPerCharacter, kIndicesPerCharacter, LoadedFaceTexture(font),
               Vexel::Graphics::BlendMode::Alpha),
      font(font), rect(rect), segmentEnds(1, 0)
{
    SetGenerator(Generator(this, &UIColoredStringGeometry::Generate));
}

UIColoredStringGeometry::~UIColoredStringGeometry() {}

void UIColoredStringGeometry::Relayout()
{
    const int length = int(text.size());
    Resize(kVerticesPerCharacter * length, kIndicesPerCharacter * length);
}

void UIColoredStringGeometry::Append(std::string const& s, Color const& colour)
{
    if (s.empty())
        return;
    colours.push_back(colour);
    text += s;
    segmentEnds.push_back(int(text.size()));
    Relayout();
}

void UIColoredStringGeometry::Append(UIColoredStringSegment const& segment)
{
    Append(segment.text, segment.colour);
}

void UIColoredStringGeometry::Clear()
{
    text.clear();
    colours.clear();
    segmentEnds.assign(1, 0);
    // Nothing is generated for an empty text, so no later layout would
    // replace the old text's bounds.
    bounds = Vexel::Rectangle();
    Resize(0, 0);
}

void UIColoredStringGeometry::SetRect(Vexel::Rectangle r)
{
    if (r == rect)
        return;
    const Vector2 d = r.Position() - rect.Position();
    const Vector2 e = r.Size() - rect.Size();
    rect = r;
    Vertex* vertices = GetVertices();
    if (vertices && e == Vector2(0.0f, 0.0f))
    {
        // Only moved: shift what was laid out.
        if (d != Vector2(0.0f, 0.0f))
        {
            const int count = GetVertexCount();
            for (int i = 0; i < count; ++i)
            {
                vertices[i].x += d.x;
                vertices[i].y += d.y;
            }
            bounds.x += d.x;
            bounds.y += d.y;
        }
        CommitVertices();
        return;
    }
    Relayout();
}

Vexel::Rectangle UIColoredStringGeometry::GetBounds()
{
    Snapshot();
    return bounds;
}

GenerationResponse::Enum UIColoredStringGeometry::Generate(GenerationData<Vertex>& data)
{
    if (text.empty() || !font)
    {
        bounds = Vexel::Rectangle();
        return GenerationResponse::None;
    }
    GeometryBuffer<Vertex> buffer(*data.vertexCount, *data.indexCount, data.vertices, data.indices);
    Vexel::Graphics::Type::LinotypeBatch batch(buffer);

    const int length = int(text.size());
    int start = 0;      // first character of the pending run
    int pos = 0;        // character being examined
    int lastBreak = -1; // the last space or tab accepted
    bool lineStart = true;
    int line = 0;
    float penX = 0.0f;
    size_t segment = 1; // into segmentEnds
    size_t colour = 0;  // into colours

    auto drawRun = [&](int first, int last)
    {
        const Vector2 at =
            rect.Position() + Vector2(penX, font->GetVerticalOffset() + font->GetSize() * float(line));
        const Color c = colour < colours.size() ? colours[colour] : Color();
        return font->Layout(batch, text, unsigned(first), unsigned(last - first + 1), at, c).x;
    };

    while (start < length)
    {
        const bool overflow =
            rect.width > 0.0f && font->Measure(text, unsigned(start), unsigned(pos - start + 1)).x + penX >
                                     rect.width + kWrapTolerance;
        if (overflow && penX > 0.0f && lastBreak < start)
        {
            // Runs of other colours already fill this row and the pending
            // run has no blank to break at: it moves down whole rather than
            // overhanging the rectangle or losing its first letters here.
            line += 1;
            penX = 0.0f;
        }
        else if (overflow || pos >= length)
        {
            // A run that begins right after the last break at the start of
            // a row is a character too wide even for an empty row.
            const bool freshRow = start - 1 == lastBreak && lineStart;
            // Behind other runs a blank that opens the pending run is a
            // break too.
            const bool breakable = lastBreak > start || (lastBreak == start && penX > 0.0f);
            if (breakable && overflow)
                pos = lastBreak + 1;
            else if (freshRow)
            {
                line += 1;
                penX = 0.0f;
            }
            if (pos > start)
                pos -= 1;
            penX += drawRun(start, pos);
            if (!freshRow)
            {
                line += 1;
                penX = 0.0f;
            }
            start = pos + 1;
            pos = start;
        }
        else if (segment < segmentEnds.size() && pos == segmentEnds[segment])
        {
            // A colour change: the run so far keeps its colour.
            if (start < pos)
            {
                penX += drawRun(start, pos - 1);
                start = pos;
            }
            segment += 1;
            colour += 1;
        }
        else if (text[size_t(pos)] == '\n')
        {
            if (start == pos)
                start = pos = pos + 1;
            else
            {
                drawRun(start, pos);
                start = pos = pos + 1;
            }
            lineStart = true;
            line += 1;
            penX = 0.0f;
        }
        else if (lineStart && start == pos && IsWhitespace(text[size_t(pos)]))
        {
            // Leading blanks of a row after a newline are dropped.
            start = pos = pos + 1;
        }
        else
        {
            if (IsWhitespace(text[size_t(pos)]))
                lastBreak = pos;
            pos += 1;
            lineStart = false;
        }
    }

    bounds = batch.GetBounds();
    *data.vertexCount = buffer.GetVertexCount();
    *data.indexCount = buffer.GetIndexCount();
    return GenerationResponse::Keep;
}
