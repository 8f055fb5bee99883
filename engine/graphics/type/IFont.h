// A font: a typeface at a pixel size. It lays text out into a text batch as
// one textured quad per visible character, scaled from the face's size, and
// measures text without drawing it. Text is walked one code unit at a time
// (a byte of a std::string, an element of a std::wstring); each unit's low
// 8 bits are the character code.
//
// Layout convention: the position given to Layout is the baseline point of
// the first line; the line's top is the vertical offset above it. Between
// two characters of a line comes the character spacing, or the pair's
// kerning amount instead; code 10 starts a new line one line spacing lower.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Vector2.h"

#include <string>

namespace Vexel
{
namespace Graphics
{
namespace Type
{

class ITypeface;
class LinotypeBatch;

// Always inherited virtually. Use on the drawing thread; call Load before
// the first layout (until then the scale is 1 and the metrics are 0).
class IFont
{
public:
    virtual ~IFont() {}

    // Finishes the face's load on this thread (or waits for the load in
    // progress), uploads its texture the first time, and returns the face's
    // load state (a TypeState).
    virtual int Load() = 0;
    virtual int GetState() const = 0;
    // Null when there is no face.
    virtual ITypeface* GetTypeface() const = 0;

    virtual float GetSize() const = 0;
    // Scaled metrics.
    virtual float GetVerticalOffset() const = 0;
    virtual float GetCharacterSpacing() const = 0;
    virtual float GetLineSpacing() const = 0;
    // The face's own metrics.
    virtual float GetBaseSize() const = 0;
    virtual float GetBaseVerticalOffset() const = 0;
    virtual float GetBaseCharacterSpacing() const = 0;
    virtual float GetBaseLineSpacing() const = 0;

    // Appends the text to the batch and returns its size: the width of the
    // widest line and the size plus one line spacing per newline. Quads
    // that do not fit the batch are dropped; the size still covers them.
    virtual Vector2 Layout(LinotypeBatch& batch, std::string const& text, Vector2 const& position) = 0;
    virtual Vector2 Layout(LinotypeBatch& batch, std::wstring const& text, Vector2 const& position) = 0;
    virtual Vector2 Layout(LinotypeBatch& batch, std::string const& text, unsigned start, unsigned count,
                           Vector2 const& position) = 0;
    virtual Vector2 Layout(LinotypeBatch& batch, std::wstring const& text, unsigned start, unsigned count,
                           Vector2 const& position) = 0;
    virtual Vector2 Layout(LinotypeBatch& batch, std::string const& text, Vector2 const& position,
                           Color const& color) = 0;
    virtual Vector2 Layout(LinotypeBatch& batch, std::wstring const& text, Vector2 const& position,
                           Color const& color) = 0;
    virtual Vector2 Layout(LinotypeBatch& batch, std::string const& text, unsigned start, unsigned count,
                           Vector2 const& position, Color const& color) = 0;
    virtual Vector2 Layout(LinotypeBatch& batch, std::wstring const& text, unsigned start, unsigned count,
                           Vector2 const& position, Color const& color) = 0;

    // The size Layout would return for text of which it places a quad.
    virtual Vector2 Measure(std::string const& text) = 0;
    virtual Vector2 Measure(std::wstring const& text) = 0;
    virtual Vector2 Measure(std::string const& text, unsigned start, unsigned count) = 0;
    virtual Vector2 Measure(std::wstring const& text, unsigned start, unsigned count) = 0;

    // Layout that returns where the pen stands after the text: on the
    // baseline of the last line, just after its last character (the
    // position's x when that line is empty). For one line at P that is
    // (P.x + width, P.y), so a second layout there continues the line.
    virtual Vector2 LayoutText(LinotypeBatch& batch, std::string const& text, Vector2 const& position,
                               Color const& color = Color(255, 255, 255, 255)) = 0;
    virtual Vector2 LayoutText(LinotypeBatch& batch, std::wstring const& text, Vector2 const& position,
                               Color const& color = Color(255, 255, 255, 255)) = 0;

    // The game's names for the same things.
    float GetLineHeight() const { return GetLineSpacing(); }
    float GetBase() const { return GetVerticalOffset(); }
    Vector2 MeasureText(std::string const& text) { return Measure(text); }
    Vector2 MeasureText(std::wstring const& text) { return Measure(text); }
};

// A new font over the shared face of the file (created and queued for
// loading on first use). The caller owns the font; the face stays.
IFont* CreateFont(std::string const& fileName, float size);
// The face's own size.
IFont* CreateFont(std::string const& fileName);

} // namespace Type
} // namespace Graphics
} // namespace Vexel
