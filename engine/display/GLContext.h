// The platform's OpenGL context, made current on the calling thread and
// wired into the graphics library's GL seam:
// - headless: an EGL surfaceless display with a pbuffer (OpenGL ES 1.1), for
//   tests and benchmarks; no X server needed;
// - windowed: an SDL 1.2 video surface opened without SDL_OPENGL, with an
//   EGL window surface on its X11 window (OpenGL ES 1.1) swapped by
//   eglSwapBuffers; or, as a fallback for drivers without ES 1.1 through EGL,
//   SDL's own desktop GL context (SDL_OPENGL) running the same ES 1.1 calls.
// COBALT_KEEP_GL=es1|desktop forces the windowed choice; by default ES 1.1 is
// tried first. After creation GL_UNPACK_ALIGNMENT is 1 and the render-state
// cache holds its start values; the caller sets up the fixed GL state.
#pragma once

namespace Vexel
{
namespace Platform
{

struct GLContextKind
{
    enum Enum
    {
        Headless = 0,      // EGL pbuffer, OpenGL ES 1.1
        WindowEs1 = 1,     // EGL window surface on the SDL window, OpenGL ES 1.1
        WindowDesktop = 2, // SDL_OPENGL desktop context
    };
};

class GLContext
{
public:
    // Null, with the reason on stderr, when no context can be made.
    static GLContext* CreateHeadless(int width, int height);
    // Initialises SDL's video subsystem when nobody has; quits it again on
    // destruction in that case. Null, with the reason on stderr, on failure.
    static GLContext* CreateWindowed(int width, int height);
    // Releases the context and puts the GL seam back on its null table.
    ~GLContext();
    GLContext(const GLContext&) = delete;
    GLContext& operator=(const GLContext&) = delete;

    // Shows the back buffer (eglSwapBuffers or SDL_GL_SwapBuffers); nothing
    // for the headless context.
    void SwapBuffers();

    GLContextKind::Enum GetKind() const;
    int GetWidth() const;
    int GetHeight() const;
    // "OpenGL ES-CM 1.1 Mesa ..." and the like.
    const char* GetVersion() const;

    class Impl;

private:
    explicit GLContext(Impl* impl);
    Impl* impl;
};

} // namespace Platform
} // namespace Vexel
