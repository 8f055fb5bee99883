#include "app/WindowHost.h"

#include "app/FrameCapture.h"
#include "engine/core/Log.h"
#include "engine/display/GLContext.h"

namespace Vexel
{
namespace App
{

WindowHost::WindowHost(Platform::GLContext* context, FrameCapture const* capture)
    : context(context), capture(capture)
{
}

int WindowHost::GetSurfaceWidth() const
{
    return context->GetWidth();
}

int WindowHost::GetSurfaceHeight() const
{
    return context->GetHeight();
}

void WindowHost::Present(int frame)
{
    if (capture && capture->CaptureFrame(frame, GetSurfaceWidth(), GetSurfaceHeight()) > 0)
        Vexel::Log::Verbose("shell", "frame %d saved", frame);
    context->SwapBuffers();
}

} // namespace App
} // namespace Vexel
