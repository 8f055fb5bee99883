#include "game/widgets/TitleBarText.h"

#include "engine/core/Transform2D.h"
#include "engine/core/VectorMath.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/Texture.h"
#include "engine/graphics/type/IFont.h"
#include "engine/graphics/type/ITypeface.h"
#include "engine/graphics/type/LinotypeBatch.h"
#include "engine/ui/UIHelper.h"
#include "game/widgets/IFlush.h"

#include <cmath>

using Vexel::Graphics::Texture;
using Vexel::Graphics::Type::IFont;
using Vexel::Graphics::Type::LinotypeBatch;

namespace
{

const float kFontScale = 0.9f;     // of the element's height
const float kSqueezeWidth = 0.72f; // widest title, as a part of the element's width
const float kPulseRate = 0.48f;    // pulses per second
const float kPulseSwell = 0.0175f; // per outline pass, at the pulse's peak
const float kBaselineDrop = 0.33f; // of the height, before the lift
const float kOutlineLift = -0.2f;  // of the height: the point the outline swells about
const float kPlainAlpha = 0.7f;
const float kOutlineAlpha = 0.5f;
using Vexel::kTwoPi;

// The face texture of a widget font, or null while the face has none.
Texture* FaceTexture(IFont* font)
{
    if (!font || !font->GetTypeface())
        return nullptr;
    return font->GetTypeface()->GetTexture();
}

} // namespace

TitleBarText::TitleBarText(Vexel::UI::ElementLayout const& layout, std::string const& text, Color colour,
                           IFlush* flusher)
    : Element(layout, Vexel::UI::TouchMode::Take), flusher(flusher), textBatch(nullptr),
      outlineVertices(nullptr), outlineVertexCount(0), outlineIndices(nullptr), outlineIndexCount(0),
      outlineGeometry(nullptr), text(text), colour(colour), textSize(0.0f, 0.0f), pulsePhase(0.0f)
{
    const int n = int(text.size());
    outlineVertexCount = 4 * n;
    outlineIndexCount = 6 * n;
    outlineVertices = new Vertex[size_t(outlineVertexCount)];
    outlineIndices = new uint16_t[size_t(outlineIndexCount)]();
    outlineGeometry = new Vexel::Graphics::Geometry::GeometryBuffer<Vertex>(
        outlineVertexCount, outlineIndexCount, outlineVertices, outlineIndices);
    textBatch = new LinotypeBatch(n);

    const float fontSize = kFontScale * GetSize().y;
    {
        LinotypeBatch outlineText(*outlineGeometry);
        if (IFont* outline = GetOutlineFont(fontSize))
            textSize =
                outline->Layout(outlineText, text, Vector2(0.0f, 0.0f), colour.ScaleAlpha(kOutlineAlpha));
    }
    // The plain face's size is the one kept.
    if (IFont* plain = GetFont(fontSize))
        textSize = plain->Layout(*textBatch, text, Vector2(0.0f, 0.0f), colour.ScaleAlpha(kPlainAlpha));
}

TitleBarText::~TitleBarText()
{
    delete textBatch;
    delete outlineGeometry;
    delete[] outlineVertices;
    delete[] outlineIndices;
}

void TitleBarText::Update(float dt)
{
    pulsePhase += kPulseRate * dt;
    pulsePhase -= std::trunc(pulsePhase);
    if (pulsePhase < 0.0f)
        pulsePhase += 1.0f;
}

float TitleBarText::GetSqueeze(float width) const
{
    // A title that measures nothing (empty, or no glyph of it in the face)
    // has nothing to squeeze.
    if (!(textSize.x > 0.0f))
        return 1.0f;
    const float squeeze = kSqueezeWidth * width / textSize.x;
    return squeeze > 1.0f ? 1.0f : squeeze;
}

void TitleBarText::Draw(Vexel::Rectangle rect, float)
{
    // What the owner queued so far lies beneath the title.
    if (flusher)
        flusher->FlushFirstBatch();
    Vexel::Graphics::RenderState::SetBlendMode(Vexel::Graphics::BlendMode::Additive);

    const Transform2D centre(rect.Center(), Vector2(GetSqueeze(rect.width), 1.0f));
    centre.Push();

    const float h = GetSize().y;
    const float a = kBaselineDrop * h;
    const float b = kOutlineLift * h;
    const float left = -0.5f * textSize.x;

    if (Texture* plain = FaceTexture(GetFont(10.0f)))
        plain->Bind();
    Transform2D(Vector2(left, a + b), Vector2(1.0f, 1.0f)).Push();
    textBatch->Draw();
    Transform2D::Pop();

    // The outline face: skipped while it has no texture (it then laid out
    // no quads either).
    if (Texture* outline = FaceTexture(GetOutlineFont(10.0f)))
    {
        outline->Bind();
        const float pulse = 0.5f + 0.5f * std::cos(kTwoPi * pulsePhase);
        for (int pass = 0; pass < 2; ++pass)
        {
            const float k = 1.0f + kPulseSwell * float(pass + 1) * pulse;
            Transform2D(Vector2(0.0f, b), 0.0f, Vector2(k, k)).Push();
            Transform2D(Vector2(left, a), Vector2(1.0f, 1.0f)).MultiplyGL();
            outlineGeometry->Draw();
            Transform2D::Pop();
        }
    }

    Transform2D::Pop();
}
