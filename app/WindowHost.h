// The program's frame host: the window's GL context, sized as the platform's
// screen, which takes the requested screenshots before each swap.
#pragma once

#include "app/ShellInterfaces.h"

namespace Vexel
{
namespace Platform
{
class GLContext;
}

namespace App
{

class FrameCapture;

class WindowHost : public IFrameHost
{
public:
    // Neither is owned; capture may be null.
    WindowHost(Platform::GLContext* context, FrameCapture const* capture);

    int GetSurfaceWidth() const override;
    int GetSurfaceHeight() const override;
    void Present(int frame) override;

private:
    Platform::GLContext* context;
    FrameCapture const* capture;
};

} // namespace App
} // namespace Vexel
