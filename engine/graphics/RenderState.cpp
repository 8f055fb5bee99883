#include "engine/graphics/RenderState.h"

#include "engine/graphics/GL.h"

namespace Vexel
{
namespace Graphics
{

namespace
{
struct BlendFactors
{
    GLenum source;
    GLenum destination;
};

const BlendFactors kBlendTable[BlendMode::Count] = {
    {GL_ONE, GL_ZERO},                      // opaque
    {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}, // alpha
    {GL_SRC_ALPHA, GL_ONE},                 // additive
    {GL_DST_COLOR, GL_ZERO},                // multiplicative
};

// The cache mirrors the GL context of the main thread; constant-initialised.
struct Cache
{
    bool blendEnabled = true;
    int blendMode = BlendMode::Alpha;
    ClientArrayState arrays;
};
Cache g_cache;

void SetArray(bool& cached, bool enabled, GLenum array)
{
    if (cached == enabled)
        return;
    cached = enabled;
    if (enabled)
        GL::EnableClientState(array);
    else
        GL::DisableClientState(array);
}
} // namespace

void RenderState::SetBlendEnabled(bool enabled)
{
    if (g_cache.blendEnabled == enabled)
        return;
    g_cache.blendEnabled = enabled;
    // Opaque mode keeps GL_BLEND off whatever the flag says.
    if (g_cache.blendMode == BlendMode::Opaque)
        return;
    if (enabled)
        GL::Enable(GL_BLEND);
    else
        GL::Disable(GL_BLEND);
}

bool RenderState::GetBlendEnabled()
{
    return g_cache.blendEnabled;
}

void RenderState::SetBlendMode(int mode)
{
    if (mode < 0 || mode >= BlendMode::Count || mode == g_cache.blendMode)
        return;
    if (g_cache.blendMode == BlendMode::Opaque && g_cache.blendEnabled)
        GL::Enable(GL_BLEND);
    g_cache.blendMode = mode;
    if (mode == BlendMode::Opaque && g_cache.blendEnabled)
        GL::Disable(GL_BLEND);
    GL::BlendFunc(kBlendTable[mode].source, kBlendTable[mode].destination);
}

int RenderState::GetBlendMode()
{
    return g_cache.blendMode;
}

ClientArrayState RenderState::GetClientArrays()
{
    return g_cache.arrays;
}

void RenderState::SetClientArrays(ClientArrayState const& state)
{
    SetClientArrays(state.vertex, state.color, state.texCoord);
}

void RenderState::SetClientArrays(bool vertex, bool color, bool texCoord)
{
    SetVertexArrayEnabled(vertex);
    SetColorArrayEnabled(color);
    SetTexCoordArrayEnabled(texCoord);
}

void RenderState::SetVertexArrayEnabled(bool enabled)
{
    SetArray(g_cache.arrays.vertex, enabled, GL_VERTEX_ARRAY);
}

void RenderState::SetColorArrayEnabled(bool enabled)
{
    SetArray(g_cache.arrays.color, enabled, GL_COLOR_ARRAY);
}

void RenderState::SetTexCoordArrayEnabled(bool enabled)
{
    SetArray(g_cache.arrays.texCoord, enabled, GL_TEXTURE_COORD_ARRAY);
}

bool RenderState::GetVertexArrayEnabled()
{
    return g_cache.arrays.vertex;
}

void RenderState::ResetCache()
{
    g_cache = Cache();
}

} // namespace Graphics
} // namespace Vexel
