// Captions and numbers for the art, rendered with FreeType from DejaVu Sans
// (Bold when present). One renderer per thread: an FT_Library is not shared.
#pragma once

#include "tools/assetgen/Raster.h"

#include <memory>
#include <string>
#include <vector>

namespace AssetGen
{

// A coverage mask (0..1) of laid-out text; (originX, baseline) is the pen
// start inside the mask.
struct TextMask
{
    int width = 0, height = 0;
    float originX = 0, baseline = 0;
    float advance = 0; // pen advance of the whole string
    std::vector<float> coverage;
    float At(int x, int y) const
    {
        return (x < 0 || y < 0 || x >= width || y >= height)
                   ? 0.0f
                   : coverage[size_t(y) * size_t(width) + size_t(x)];
    }
};

class TextRenderer
{
public:
    explicit TextRenderer(std::string const& fontPath);
    ~TextRenderer();
    TextRenderer(TextRenderer const&) = delete;
    TextRenderer& operator=(TextRenderer const&) = delete;

    bool Ok() const;
    // Lays out one line at the pixel size, with `pad` empty pixels around it.
    TextMask Render(std::string const& text, float pixelSize, int pad = 0);
    // Largest size <= maxSize at which the text fits the width.
    float FitSize(std::string const& text, float maxSize, float maxWidth);

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

// Box blur applied three times (close to a gaussian of the given radius).
TextMask Blurred(TextMask const& m, int radius);

// Stamps a mask onto the canvas with its ink box centred at (cx, cy) in canvas
// pixels, clipped to the clip rectangle.
struct PixelRect
{
    int x, y, w, h;
};
void StampCentred(Canvas& canvas, PixelRect clip, TextMask const& m, float cx, float cy, Rgba colour,
                  Blend blend);
// Same, with the pen's baseline start at (x, baseline).
void StampAt(Canvas& canvas, PixelRect clip, TextMask const& m, float x, float baseline, Rgba colour,
             Blend blend);
// Caption helper: optional soft glow, dark outline (for alpha art) and face.
struct CaptionStyle
{
    Rgba face = Rgba(1, 1, 1, 1);
    Rgba glow = Rgba(0, 0, 0, 0);
    int glowRadius = 0;
    Rgba outline = Rgba(0, 0, 0, 0); // drawn as a 1-px dilation under the face
    Blend blend = Blend::Over;
};
void DrawCaption(TextRenderer& text, Canvas& canvas, PixelRect clip, std::string const& s, float size,
                 float cx, float cy, CaptionStyle const& style);

} // namespace AssetGen
