#include "game/widgets/UITextComponent.h"

#include "engine/graphics/GeometryBatch.h"
#include "engine/ui/UIHelper.h"

UITextComponent::UITextComponent(Vexel::UI::ElementLayout const& layout, float fontSize, Color colour)
    : Element(layout, Vexel::UI::TouchMode::Ignore),
      // A placeholder rectangle: the first draw or fit replaces it.
      textGeometry(GetFont(fontSize), Vector2(GetSize().x, GetSize().x)), defaultColour(colour)
{
}

UITextComponent::UITextComponent(Vexel::UI::ElementLayout const& layout, float fontSize,
                                 std::string const& text, Color colour)
    : UITextComponent(layout, fontSize, colour)
{
    SetText(text);
}

UITextComponent::UITextComponent(Vexel::UI::ElementLayout const& layout, float fontSize,
                                 UIColoredStringSegment const& segment, Color colour)
    : UITextComponent(layout, fontSize, colour)
{
    SetText(segment);
}

UITextComponent::UITextComponent(Vexel::UI::ElementLayout const& layout, float fontSize,
                                 std::vector<UIColoredStringSegment> const& segments, Color colour)
    : UITextComponent(layout, fontSize, colour)
{
    SetText(segments);
}

UITextComponent::~UITextComponent() {}

void UITextComponent::SetColor(Color colour)
{
    defaultColour = colour;
}

void UITextComponent::SetText(std::string const& text)
{
    textGeometry.Clear();
    AppendText(text);
}

void UITextComponent::SetText(std::string const& text, Color colour)
{
    textGeometry.Clear();
    AppendText(text, colour);
}

void UITextComponent::SetText(UIColoredStringSegment const& segment)
{
    textGeometry.Clear();
    AppendText(segment);
}

void UITextComponent::SetText(std::vector<UIColoredStringSegment> const& segments)
{
    textGeometry.Clear();
    AppendText(segments);
}

void UITextComponent::AppendText(std::string const& text)
{
    textGeometry.Append(text, defaultColour);
}

void UITextComponent::AppendText(std::string const& text, Color colour)
{
    textGeometry.Append(text, colour);
}

void UITextComponent::AppendText(UIColoredStringSegment const& segment)
{
    textGeometry.Append(segment);
}

void UITextComponent::AppendText(std::vector<UIColoredStringSegment> const& segments)
{
    for (UIColoredStringSegment const& segment : segments)
        textGeometry.Append(segment);
}

void UITextComponent::FitToText(bool fitWidth, bool fitHeight)
{
    auto fit = [&](bool portrait)
    {
        const Vector2 size = GetSizeFor(portrait);
        textGeometry.SetRect(Vexel::Rectangle(GetPositionFor(portrait), size));
        const Vector2 text = textGeometry.GetBounds().Size();
        return Vector2(fitWidth ? text.x : size.x, fitHeight ? text.y : size.y);
    };
    const Vector2 landscape = fit(false);
    // Equal variants wrap alike: one layout serves both.
    const Vector2 portrait = GetSizeFor(true) == GetSizeFor(false) ? landscape : fit(true);
    SetSizes(portrait, landscape);
}

void UITextComponent::Draw(Vexel::Rectangle rect, float)
{
    textGeometry.SetRect(rect);
    if (Vexel::Graphics::Geometry::TransientBatch* batch = GetTransientBatch())
        batch->Add(&textGeometry);
}
