#include "game/widgets/UILinotypeElement.h"

#include "engine/core/StringUtil.h"
#include "engine/core/Transform2D.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/type/IFont.h"
#include "engine/graphics/type/LinotypeBatch.h"
#include "game/widgets/IFlush.h"

#include <string>

using Vexel::Graphics::Type::LinotypeBatch;

namespace
{
// Below this the text is laid out (transparent) but not drawn.
const float kMinimumAlpha = 0.0001f;
} // namespace

UILinotypeElement::UILinotypeElement(std::vector<LinotypeLine> const& lines,
                                     Vexel::UI::ElementPosition position, IFlush* flusher,
                                     Vexel::Graphics::Type::IFont* font)
    : Element(Vexel::UI::ElementLayout(position, Vector2(0.0f, 0.0f), 1.0f, true),
              Vexel::UI::TouchMode::Ignore),
      flusher(flusher), font(font), lines(lines), lastAlpha(-1.0f), textBatch(nullptr)
{
    Rebuild(0.0f);
}

UILinotypeElement::~UILinotypeElement()
{
    delete textBatch;
}

void UILinotypeElement::Rebuild(float alpha)
{
    if (alpha == lastAlpha && textBatch)
        return;
    lastAlpha = alpha;

    if (!textBatch)
    {
        // One quad at most per byte of text.
        size_t characters = 0;
        for (LinotypeLine const& line : lines)
            characters += line.text.size();
        textBatch = new LinotypeBatch(int(characters));
    }
    else
        textBatch->Clear();

    for (LinotypeLine const& line : lines)
    {
        if (!font)
            break;
        const Color colour = line.colour.ScaleAlpha(alpha);
        Vector2 pen(0.0f, 0.0f);
        std::vector<std::string> words;
        Vexel::StringUtil::Split(line.text, ' ', words);
        std::string row;
        // One pass more than there are words, to set the last row.
        for (size_t i = 0; i <= words.size(); ++i)
        {
            std::string out;
            if (i < words.size())
            {
                if (row.empty())
                    row = words[i];
                else
                {
                    const std::string candidate = row + " " + words[i];
                    if (font->Measure(candidate).x > line.wrapWidth)
                    {
                        out = row;
                        row = words[i];
                    }
                    else
                        row = candidate;
                }
            }
            else
                out = row;
            if (!out.empty())
                pen.y += font->Layout(*textBatch, out, line.position + pen, colour).y;
        }
    }

    const Vexel::Rectangle bounds = textBatch->GetBounds();
    SetSize(Vector2(bounds.width, bounds.height));
}

void UILinotypeElement::Draw(Vexel::Rectangle rect, float alpha)
{
    // Everything the owner queued so far lies beneath the text.
    if (flusher)
        flusher->FlushFirstBatch();
    Rebuild(alpha);
    if (!textBatch || !(alpha > kMinimumAlpha))
        return;
    const Vexel::Rectangle bounds = textBatch->GetBounds();
    // The block's top-left lands on the element's; the text is not scaled.
    Transform2D(rect.Position() - bounds.Position(), Vector2(1.0f, 1.0f)).Push();
    Vexel::Graphics::RenderState::SetBlendMode(Vexel::Graphics::BlendMode::Additive);
    textBatch->Draw();
    Transform2D::Pop();
}
