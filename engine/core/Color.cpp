#include "engine/core/Color.h"

namespace
{
uint8_t ChannelToByte(float v)
{
    if (!(v > 0.0f)) // also catches NaN
        v = 0.0f;
    if (v > 1.0f)
        v = 1.0f;
    return uint8_t(int(v * 255.99f) & 0xFF);
}
} // namespace

Color::Color(Color4f const& c) : r(ChannelToByte(c.r)), g(ChannelToByte(c.g)), b(ChannelToByte(c.b)), a(ChannelToByte(c.a))
{
}

Color Color::ScaleAlpha(float factor) const
{
    const float scaled = float(a) * factor;
    int alpha;
    if (!(scaled > 0.0f))
        alpha = 0;
    else if (scaled >= 256.0f)
        alpha = 255;
    else
        alpha = int(scaled);
    return Color(r, g, b, uint8_t(alpha > 255 ? 255 : alpha));
}

Color4f::Color4f(Color const& c) : r(c.r / 255.99f), g(c.g / 255.99f), b(c.b / 255.99f), a(c.a / 255.99f) {}
