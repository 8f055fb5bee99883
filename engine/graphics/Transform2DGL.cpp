// The GL side of Transform2D, kept here so that the core library makes no GL
// call.
#include "engine/core/Transform2D.h"

#include "engine/graphics/GL.h"

void Transform2D::MultiplyGL() const
{
    // Column-major 4 x 4: the linear part in the first two columns, the
    // translation in the last.
    const GLfloat m[16] = {f[0], f[1], 0.0f, 0.0f, f[2], f[3], 0.0f, 0.0f,
                           0.0f, 0.0f, 1.0f, 0.0f, f[4], f[5], 0.0f, 1.0f};
    Vexel::Graphics::GL::MultMatrixf(m);
}

void Transform2D::Push() const
{
    Vexel::Graphics::GL::PushMatrix();
    MultiplyGL();
}

void Transform2D::Pop()
{
    Vexel::Graphics::GL::PopMatrix();
}
