#include "app/Splash.h"

#include "engine/graphics/GL.h"
#include "engine/graphics/GeometryBuffer.h"
#include "engine/graphics/Texture.h"
#include "engine/graphics/VertexFormat.h"

namespace Vexel
{
namespace App
{

namespace GL = Graphics::GL;
using Graphics::Geometry::GeometryBuffer;
using Graphics::Geometry::VertexP2T2;

void DrawSplash()
{
    Graphics::Texture splash("default_pot.png", Graphics::TextureMode::Immediate);
    splash.EnsureUploaded();
    splash.Bind();
    // The unit square fills the screen; image row 0 (v = 0) goes to the top.
    GL::Orthof(0.0f, 1.0f, 0.0f, 1.0f, -1.0f, 1.0f);
    GeometryBuffer<VertexP2T2> quad(1, 0, 10);
    if (VertexP2T2* corners = quad.AllocatePolygon(4))
    {
        corners[0] = VertexP2T2(0.0f, 0.0f, 0.0f, 1.0f);
        corners[1] = VertexP2T2(1.0f, 0.0f, 1.0f, 1.0f);
        corners[2] = VertexP2T2(1.0f, 1.0f, 1.0f, 0.0f);
        corners[3] = VertexP2T2(0.0f, 1.0f, 0.0f, 0.0f);
    }
    GL::Color4f(1.0f, 1.0f, 1.0f, 1.0f);
    GL::Clear(GL_COLOR_BUFFER_BIT);
    quad.Draw();
}

} // namespace App
} // namespace Vexel
