#include "engine/display/GLContext.h"
#include "engine/core/Log.h"
#include "engine/display/PlatformEvents.h"

#include "engine/graphics/GL.h"
#include "engine/graphics/RenderState.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <SDL.h>
#include <SDL_syswm.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <string>

namespace Vexel
{
namespace Platform
{

namespace GL = Graphics::GL;

class GLContext::Impl
{
public:
    GLContextKind::Enum kind = GLContextKind::Headless;
    int width = 0;
    int height = 0;
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLSurface surface = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT;
    bool ownsSdlVideo = false;
    std::string version;

    void ReleaseEgl()
    {
        if (display == EGL_NO_DISPLAY)
            return;
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (context != EGL_NO_CONTEXT)
            eglDestroyContext(display, context);
        if (surface != EGL_NO_SURFACE)
            eglDestroySurface(display, surface);
        eglTerminate(display);
        display = EGL_NO_DISPLAY;
        surface = EGL_NO_SURFACE;
        context = EGL_NO_CONTEXT;
    }
};

namespace
{
const int kVideoInitAttempts = 5;

// ES 1.1 entry points: from libGLESv1_CM itself, else from EGL.
void* GetEsProc(const char* name)
{
    static void* library = dlopen("libGLESv1_CM.so.1", RTLD_NOW | RTLD_LOCAL);
    void* address = library ? dlsym(library, name) : nullptr;
    if (!address)
        address = reinterpret_cast<void*>(eglGetProcAddress(name));
    return address;
}

void* GetDesktopProc(const char* name)
{
    return SDL_GL_GetProcAddress(name);
}

int PinDriverModule(dl_phdr_info* info, size_t, void*)
{
    const char* name = info->dlpi_name;
    if (name != nullptr && std::strstr(name, "_dri.so") != nullptr)
        dlopen(name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    return 0;
}

// Keeps the loaded Mesa driver in memory until the process ends. It keeps
// allocations that only its own globals point to; unloading it when the
// display is terminated would orphan them, and leak checks at exit would
// blame us for the driver's bookkeeping.
void PinDriverModules() { dl_iterate_phdr(&PinDriverModule, nullptr); }

// Makes the seam's table current and brings the state we rely on in line.
bool FinishSetup(GLContext::Impl& impl, GL::Backend::Enum backend)
{
    PinDriverModules();
    const bool loaded = backend == GL::Backend::Desktop ? GL::LoadFunctions(&GetDesktopProc, backend)
                                                        : GL::LoadFunctions(&GetEsProc, backend);
    if (!loaded)
        return false;
    // Rows of 1- and 3-byte pixels are not padded to 4 bytes.
    GL::PixelStorei(GL_UNPACK_ALIGNMENT, 1);
    Graphics::RenderState::ResetCache();
    const GLubyte* version = GL::GetString(GL_VERSION);
    impl.version = version ? reinterpret_cast<const char*>(version) : "";
    return true;
}

bool ChooseEsConfig(EGLDisplay display, EGLint surfaceBit, EGLConfig& config)
{
    const EGLint attributes[] = {EGL_SURFACE_TYPE, surfaceBit, EGL_RENDERABLE_TYPE, EGL_OPENGL_ES_BIT,
                                 EGL_RED_SIZE,     8,          EGL_GREEN_SIZE,      8,
                                 EGL_BLUE_SIZE,    8,          EGL_ALPHA_SIZE,      8,
                                 EGL_NONE};
    EGLint count = 0;
    return eglChooseConfig(display, attributes, &config, 1, &count) == EGL_TRUE && count > 0;
}

EGLContext CreateEsContext(EGLDisplay display, EGLConfig config)
{
    const EGLint attributes[] = {EGL_CONTEXT_CLIENT_VERSION, 1, EGL_NONE};
    return eglCreateContext(display, config, EGL_NO_CONTEXT, attributes);
}

// Connecting to an X server fails now and then on a fresh Xvfb: try again.
bool InitSdlVideo(bool& owns)
{
    owns = false;
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return true;
    // A refused X connection must fail and be retried, not fall back to a
    // terminal driver without GL.
    PrepareVideoDriver();
    for (int attempt = 1; attempt <= kVideoInitAttempts; ++attempt)
    {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0)
        {
            owns = true;
            return true;
        }
        Vexel::Log::Error("display", "SDL video initialisation failed (%s), attempt %d of %d",
                     SDL_GetError(), attempt, kVideoInitAttempts);
        SDL_Delay(200 * attempt);
    }
    return false;
}

bool CreateWindowEs1(GLContext::Impl& impl)
{
    if (!SDL_SetVideoMode(impl.width, impl.height, 0, 0))
    {
        Vexel::Log::Error("display", "SDL_SetVideoMode failed: %s", SDL_GetError());
        return false;
    }
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) != 1 || info.subsystem != SDL_SYSWM_X11)
    {
        Vexel::Log::Error("display", "no X11 window to draw into");
        return false;
    }
    impl.display = eglGetDisplay(reinterpret_cast<EGLNativeDisplayType>(info.info.x11.display));
    EGLint major = 0;
    EGLint minor = 0;
    EGLConfig config = nullptr;
    if (impl.display == EGL_NO_DISPLAY || eglInitialize(impl.display, &major, &minor) != EGL_TRUE ||
        eglBindAPI(EGL_OPENGL_ES_API) != EGL_TRUE || !ChooseEsConfig(impl.display, EGL_WINDOW_BIT, config))
    {
        Vexel::Log::Error("display", "no EGL OpenGL ES 1.1 configuration for the window (0x%X)",
                     unsigned(eglGetError()));
        impl.ReleaseEgl();
        return false;
    }
    impl.surface = eglCreateWindowSurface(impl.display, config,
                                          static_cast<EGLNativeWindowType>(info.info.x11.window), nullptr);
    impl.context = CreateEsContext(impl.display, config);
    if (impl.surface == EGL_NO_SURFACE || impl.context == EGL_NO_CONTEXT ||
        eglMakeCurrent(impl.display, impl.surface, impl.surface, impl.context) != EGL_TRUE)
    {
        Vexel::Log::Error("display", "EGL window context failed (0x%X)", unsigned(eglGetError()));
        impl.ReleaseEgl();
        return false;
    }
    impl.kind = GLContextKind::WindowEs1;
    if (!FinishSetup(impl, GL::Backend::OpenGLES1))
    {
        impl.ReleaseEgl();
        return false;
    }
    return true;
}

bool CreateWindowDesktop(GLContext::Impl& impl)
{
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    if (!SDL_SetVideoMode(impl.width, impl.height, 0, SDL_OPENGL))
    {
        Vexel::Log::Error("display", "SDL_SetVideoMode with SDL_OPENGL failed: %s", SDL_GetError());
        return false;
    }
    impl.kind = GLContextKind::WindowDesktop;
    return FinishSetup(impl, GL::Backend::Desktop);
}
} // namespace

GLContext::GLContext(Impl* impl) : impl(impl) {}

GLContext* GLContext::CreateHeadless(int width, int height)
{
    if (width < 1 || height < 1)
    {
        Vexel::Log::Error("display", "a pbuffer needs a positive size, not %d x %d", width, height);
        return nullptr;
    }
    Impl* impl = new Impl();
    impl->kind = GLContextKind::Headless;
    impl->width = width;
    impl->height = height;
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay)
        impl->display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    EGLint major = 0;
    EGLint minor = 0;
    EGLConfig config = nullptr;
    if (impl->display == EGL_NO_DISPLAY || eglInitialize(impl->display, &major, &minor) != EGL_TRUE ||
        eglBindAPI(EGL_OPENGL_ES_API) != EGL_TRUE || !ChooseEsConfig(impl->display, EGL_PBUFFER_BIT, config))
    {
        Vexel::Log::Error("display", "no surfaceless EGL display with OpenGL ES 1.1 (0x%X)",
                     unsigned(eglGetError()));
        impl->ReleaseEgl();
        delete impl;
        return nullptr;
    }
    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    impl->surface = eglCreatePbufferSurface(impl->display, config, surfaceAttributes);
    impl->context = CreateEsContext(impl->display, config);
    if (impl->surface == EGL_NO_SURFACE || impl->context == EGL_NO_CONTEXT ||
        eglMakeCurrent(impl->display, impl->surface, impl->surface, impl->context) != EGL_TRUE ||
        !FinishSetup(*impl, GL::Backend::OpenGLES1))
    {
        Vexel::Log::Error("display", "pbuffer context failed (0x%X)", unsigned(eglGetError()));
        impl->ReleaseEgl();
        delete impl;
        return nullptr;
    }
    return new GLContext(impl);
}

GLContext* GLContext::CreateWindowed(int width, int height)
{
    const char* forced = std::getenv("COBALT_KEEP_GL");
    const std::string choice = forced ? forced : "";
    if (!choice.empty() && choice != "es1" && choice != "desktop")
        Vexel::Log::Warning("display", "COBALT_KEEP_GL=%s is neither es1 nor desktop; trying both", forced);
    Impl* impl = new Impl();
    impl->width = width;
    impl->height = height;
    if (!InitSdlVideo(impl->ownsSdlVideo))
    {
        Vexel::Log::Error("display", "no video: %s", SDL_GetError());
        delete impl;
        return nullptr;
    }
    bool made = false;
    if (choice != "desktop")
    {
        made = CreateWindowEs1(*impl);
        if (!made && choice != "es1")
            Vexel::Log::Warning("display", "no OpenGL ES 1.1 through EGL; falling back to desktop GL");
    }
    if (!made && choice != "es1")
        made = CreateWindowDesktop(*impl);
    if (!made)
    {
        if (impl->ownsSdlVideo)
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        delete impl;
        return nullptr;
    }
    return new GLContext(impl);
}

GLContext::~GLContext()
{
    GL::UseNullBackend();
    impl->ReleaseEgl();
    if (impl->kind != GLContextKind::Headless && impl->ownsSdlVideo)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    delete impl;
}

void GLContext::SwapBuffers()
{
    if (impl->kind == GLContextKind::WindowEs1)
        eglSwapBuffers(impl->display, impl->surface);
    else if (impl->kind == GLContextKind::WindowDesktop)
        SDL_GL_SwapBuffers();
}

GLContextKind::Enum GLContext::GetKind() const
{
    return impl->kind;
}

int GLContext::GetWidth() const
{
    return impl->width;
}

int GLContext::GetHeight() const
{
    return impl->height;
}

const char* GLContext::GetVersion() const
{
    return impl->version.c_str();
}

} // namespace Platform
} // namespace Vexel
