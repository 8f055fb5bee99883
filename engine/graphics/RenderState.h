// Process-wide cache of the GL blend state and of the three client-array
// switches: GL is called only when a value really changes. Main thread only;
// it mirrors the state of the context current on that thread.
#pragma once

namespace Vexel
{
namespace Graphics
{

// Blend modes: indices into the blend table (source, destination factors).
struct BlendMode
{
    enum Enum
    {
        Opaque = 0,         // GL_ONE, GL_ZERO; GL_BLEND is off while current
        Alpha = 1,          // GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA; the default
        Additive = 2,       // GL_SRC_ALPHA, GL_ONE
        Multiplicative = 3, // GL_DST_COLOR, GL_ZERO
        Count = 4
    };
};

// The three client arrays, in the order vertex, colour, texture coordinates.
struct ClientArrayState
{
    bool vertex;
    bool color;
    bool texCoord;

    constexpr ClientArrayState() : vertex(false), color(false), texCoord(false) {}
    constexpr ClientArrayState(bool vertex, bool color, bool texCoord)
        : vertex(vertex), color(color), texCoord(texCoord)
    {
    }

    bool operator==(ClientArrayState const& o) const
    {
        return vertex == o.vertex && color == o.color && texCoord == o.texCoord;
    }
    bool operator!=(ClientArrayState const& o) const { return !(*this == o); }
};

class RenderState
{
public:
    // While mode 0 is current GL_BLEND stays off whatever this flag says.
    static void SetBlendEnabled(bool enabled);
    static bool GetBlendEnabled();

    // Modes outside 0..3 are ignored.
    static void SetBlendMode(int mode);
    static int GetBlendMode();

    static ClientArrayState GetClientArrays();
    static void SetClientArrays(ClientArrayState const& state);
    // Applied in this order: vertex, colour, texture coordinates.
    static void SetClientArrays(bool vertex, bool color, bool texCoord);
    static void SetVertexArrayEnabled(bool enabled);
    static void SetColorArrayEnabled(bool enabled);
    static void SetTexCoordArrayEnabled(bool enabled);
    static bool GetVertexArrayEnabled();

    // Back to the start values (blend on, mode 1, arrays off) without any GL
    // call: for a freshly made context and for tests.
    static void ResetCache();
};

} // namespace Graphics
} // namespace Vexel
