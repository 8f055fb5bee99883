// An element that shows a multi-coloured, word-wrapped text in its
// rectangle through the shared widget batch, in the plain widget font at a
// given size, and can size itself to its text. Takes no touches; the text
// keeps its colours' own alpha.
#pragma once

#include "engine/core/Color.h"
#include "engine/ui/Element.h"
#include "game/widgets/UIColoredStringGeometry.h"
#include "game/widgets/UIColoredStringSegment.h"

#include <string>
#include <vector>

class UITextComponent : public Vexel::UI::Element
{
public:
    UITextComponent(Vexel::UI::ElementLayout const& layout, float fontSize, Color colour);
    UITextComponent(Vexel::UI::ElementLayout const& layout, float fontSize, std::string const& text,
                    Color colour);
    UITextComponent(Vexel::UI::ElementLayout const& layout, float fontSize,
                    UIColoredStringSegment const& segment, Color colour);
    UITextComponent(Vexel::UI::ElementLayout const& layout, float fontSize,
                    std::vector<UIColoredStringSegment> const& segments, Color colour);
    ~UITextComponent() override;

    // The colour of later texts given without one.
    void SetColor(Color colour);
    Color GetColor() const { return defaultColour; }

    void SetText(std::string const& text);
    void SetText(std::string const& text, Color colour);
    void SetText(UIColoredStringSegment const& segment);
    void SetText(std::vector<UIColoredStringSegment> const& segments);
    void AppendText(std::string const& text);
    void AppendText(std::string const& text, Color colour);
    void AppendText(UIColoredStringSegment const& segment);
    void AppendText(std::vector<UIColoredStringSegment> const& segments);

    // Sizes each orientation's variant to its text, per axis.
    void FitToText(bool fitWidth, bool fitHeight);

    void Draw(Vexel::Rectangle rect, float alpha) override;

    UIColoredStringGeometry& GetTextGeometry() { return textGeometry; }

private:
    UIColoredStringGeometry textGeometry;
    Color defaultColour;
};
