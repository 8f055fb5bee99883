#include "game/widgets/WidgetPieces.h"

#include "engine/core/StringUtil.h"
#include "engine/core/Transform2D.h"
#include "engine/core/VectorMath.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/graphics/SpriteShape.h"
#include "engine/graphics/Texture.h"
#include "engine/graphics/TileInfo.h"
#include "engine/graphics/type/IFont.h"
#include "engine/graphics/type/ITypeface.h"
#include "engine/graphics/type/LinotypeBatch.h"
#include "engine/ui/UIHelper.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace WidgetPieces
{

namespace
{

using Vexel::Graphics::Texture;
using Vexel::Graphics::Type::IFont;

using Vexel::kPi;
const float kGlowRate = 1.5f; // pulses per second
// Any cached size selects the face: its texture belongs to the face.
const float kTextureFontSize = 10.0f;

const float kSliceU[4] = {0.0f, 0.48f, 0.52f, 1.0f};
const float kSliceV[3] = {0.0f, 0.5f, 1.0f};

bool BindFace(IFont* font)
{
    if (!font)
        return false;
    Vexel::Graphics::Type::ITypeface* face = font->GetTypeface();
    Texture* texture = face ? face->GetTexture() : nullptr;
    if (!texture)
        return false;
    texture->Bind();
    return true;
}

} // namespace

float AdvanceGlow(float phase, float dt, bool held)
{
    if (!held && phase == 0.0f)
        return phase;
    phase += dt * kGlowRate;
    if (phase >= 1.0f)
    {
        if (held)
            phase -= std::trunc(phase);
        else
            phase = 0.0f;
    }
    return phase;
}

float GlowScale(float phase)
{
    return phase * 0.06f + 1.005f;
}

float GlowAlpha(float phase, float alpha)
{
    return alpha * alpha * 0.85f * std::sin(kPi * phase);
}

float DesignScale(Vexel::Rectangle const& rect, Vector2 const& designSize)
{
    float scale = 0.0f;
    bool any = false;
    if (designSize.x > 0.0f)
    {
        scale = rect.width / designSize.x;
        any = true;
    }
    if (designSize.y > 0.0f)
    {
        const float ratio = rect.height / designSize.y;
        scale = any ? std::min(scale, ratio) : ratio;
        any = true;
    }
    if (!any || !std::isfinite(scale))
        return 1.0f;
    return scale;
}

void AddSlices(Vexel::Graphics::Sprites::ITransientBatch* target, TileInfo const& tile, Vector2 centre,
               float scale, float const xs[4], float const ys[3], Color colour, int blendMode)
{
    if (!target)
        return;
    const Texture texture = Vexel::Graphics::Sprites::TileTexture(&tile);
    const Vector2 uvOrigin = tile.uv.Position();
    const Vector2 uvSize = tile.uv.Size();
    for (int i = 0; i < 3; ++i)
    {
        for (int j = 0; j < 2; ++j)
        {
            const Vexel::Rectangle region(
                uvOrigin + uvSize * Vector2(kSliceU[i], kSliceV[j]),
                uvSize * Vector2(kSliceU[i + 1] - kSliceU[i], kSliceV[j + 1] - kSliceV[j]));
            const Vector2 sliceCentre((xs[i] + xs[i + 1]) / 2.0f, (ys[j] + ys[j + 1]) / 2.0f);
            const Vector2 sliceSize(xs[i + 1] - xs[i], ys[j + 1] - ys[j]);
            target->AddRegionSized(texture, region, centre + sliceCentre * scale, sliceSize * scale, colour,
                                   blendMode);
        }
    }
}

Vector2 LayoutWrapped(IFont* font, TextBuffer& buffer, std::string const& label, float wrapWidth,
                      Color colour)
{
    if (!font)
        return Vector2();
    Vexel::Graphics::Type::LinotypeBatch batch(buffer);
    Vector2 pen(0.0f, font->GetVerticalOffset());
    std::vector<std::string> words;
    Vexel::StringUtil::Split(label, ' ', words);
    std::string line;
    // One pass more than there are words: the last one lets the pending line out.
    for (size_t i = 0; i <= words.size(); ++i)
    {
        std::string out;
        if (i < words.size())
        {
            if (line.empty())
                line = words[i];
            else
            {
                std::string candidate = line + " " + words[i];
                if (font->Measure(candidate).x > wrapWidth)
                {
                    out = line;
                    line = words[i];
                }
                else
                    line = candidate;
            }
        }
        else
            out = line;
        if (!out.empty())
            pen.y += font->Layout(batch, out, pen, colour).y;
    }
    return batch.GetBounds().Size();
}

void Recolour(TextBuffer& buffer, Color colour)
{
    Vexel::Graphics::Geometry::VertexP2T2C* vertices = buffer.GetVertices();
    const int count = buffer.GetVertexCount();
    for (int i = 0; i < count; ++i)
        vertices[i].color = colour;
}

void DrawWithBothFaces(TextBuffer const& buffer, Vector2 topLeft, float scale)
{
    const Transform2D place(topLeft, 0.0f, Vector2(scale, scale));
    place.Push();
    Vexel::Graphics::RenderState::SetBlendMode(2);
    if (BindFace(GetFont(kTextureFontSize)))
        buffer.Draw();
    if (BindFace(GetOutlineFont(kTextureFontSize)))
        buffer.Draw();
    Transform2D::Pop();
}

} // namespace WidgetPieces
