#include "engine/graphics/GL.h"

#include "engine/core/Log.h"
#include "engine/core/Mutex.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <deque>
#include <sstream>
#include <type_traits>

namespace Vexel
{
namespace Graphics
{
namespace GL
{

// Entry points whose arguments are all numbers or pointers and that return
// nothing: (name, parameter list, argument list). The rest are written out
// below because they return values or read arrays.
#define VEXEL_GL_PLAIN_FUNCTIONS(X)                                                                          \
    X(ActiveTexture, (GLenum a), (a))                                                                        \
    X(BindTexture, (GLenum a, GLuint b), (a, b))                                                             \
    X(BlendFunc, (GLenum a, GLenum b), (a, b))                                                               \
    X(Clear, (GLbitfield a), (a))                                                                            \
    X(ClearColor, (GLfloat a, GLfloat b, GLfloat c, GLfloat d), (a, b, c, d))                                \
    X(Color4f, (GLfloat a, GLfloat b, GLfloat c, GLfloat d), (a, b, c, d))                                   \
    X(Color4ub, (GLubyte a, GLubyte b, GLubyte c, GLubyte d), (a, b, c, d))                                  \
    X(ColorMask, (GLboolean a, GLboolean b, GLboolean c, GLboolean d), (a, b, c, d))                         \
    X(ColorPointer, (GLint a, GLenum b, GLsizei c, const void* d), (a, b, c, d))                             \
    X(CompressedTexImage2D,                                                                                  \
      (GLenum a, GLint b, GLenum c, GLsizei d, GLsizei e, GLint f, GLsizei g, const void* h),                \
      (a, b, c, d, e, f, g, h))                                                                              \
    X(CullFace, (GLenum a), (a))                                                                             \
    X(DepthMask, (GLboolean a), (a))                                                                         \
    X(Disable, (GLenum a), (a))                                                                              \
    X(DisableClientState, (GLenum a), (a))                                                                   \
    X(DrawArrays, (GLenum a, GLint b, GLsizei c), (a, b, c))                                                 \
    X(DrawElements, (GLenum a, GLsizei b, GLenum c, const void* d), (a, b, c, d))                            \
    X(Enable, (GLenum a), (a))                                                                               \
    X(EnableClientState, (GLenum a), (a))                                                                    \
    X(Finish, (), ())                                                                                        \
    X(Flush, (), ())                                                                                         \
    X(Hint, (GLenum a, GLenum b), (a, b))                                                                    \
    X(LoadIdentity, (), ())                                                                                  \
    X(MatrixMode, (GLenum a), (a))                                                                           \
    X(Orthof, (GLfloat a, GLfloat b, GLfloat c, GLfloat d, GLfloat e, GLfloat f), (a, b, c, d, e, f))        \
    X(PixelStorei, (GLenum a, GLint b), (a, b))                                                              \
    X(PointSize, (GLfloat a), (a))                                                                           \
    X(PopMatrix, (), ())                                                                                     \
    X(PushMatrix, (), ())                                                                                    \
    X(Rotatef, (GLfloat a, GLfloat b, GLfloat c, GLfloat d), (a, b, c, d))                                   \
    X(Scalef, (GLfloat a, GLfloat b, GLfloat c), (a, b, c))                                                  \
    X(Scissor, (GLint a, GLint b, GLsizei c, GLsizei d), (a, b, c, d))                                       \
    X(ShadeModel, (GLenum a), (a))                                                                           \
    X(TexCoordPointer, (GLint a, GLenum b, GLsizei c, const void* d), (a, b, c, d))                          \
    X(TexEnvi, (GLenum a, GLenum b, GLint c), (a, b, c))                                                     \
    X(TexImage2D,                                                                                            \
      (GLenum a, GLint b, GLint c, GLsizei d, GLsizei e, GLint f, GLenum g, GLenum h, const void* i),        \
      (a, b, c, d, e, f, g, h, i))                                                                           \
    X(TexParameteri, (GLenum a, GLenum b, GLint c), (a, b, c))                                               \
    X(Translatef, (GLfloat a, GLfloat b, GLfloat c), (a, b, c))                                              \
    X(VertexPointer, (GLint a, GLenum b, GLsizei c, const void* d), (a, b, c, d))                            \
    X(Viewport, (GLint a, GLint b, GLsizei c, GLsizei d), (a, b, c, d))

// The entry points whose null and recording versions are written out by
// hand (they return values, fill arrays or take pointers worth recording).
#define VEXEL_GL_OTHER_FUNCTIONS(X)                                                                          \
    X(DeleteTextures)                                                                                        \
    X(GenTextures)                                                                                           \
    X(GetError)                                                                                              \
    X(GetIntegerv)                                                                                           \
    X(GetString)                                                                                             \
    X(LoadMatrixf)                                                                                           \
    X(MultMatrixf)                                                                                           \
    X(ReadPixels)

// Points every slot of the local `table` at the function of the same name in
// the namespace that VEXEL_GL_SOURCE names.
#define VEXEL_GL_FILL_TABLE()                                                                                \
    do                                                                                                       \
    {                                                                                                        \
        VEXEL_GL_PLAIN_FUNCTIONS(VEXEL_GL_ASSIGN_PLAIN)                                                      \
        VEXEL_GL_OTHER_FUNCTIONS(VEXEL_GL_ASSIGN_OTHER)                                                      \
    } while (false)
#define VEXEL_GL_ASSIGN_PLAIN(Name, Params, Args) table.Name = &VEXEL_GL_SOURCE::Name;
#define VEXEL_GL_ASSIGN_OTHER(Name) table.Name = &VEXEL_GL_SOURCE::Name;

namespace
{

struct Table
{
#define VEXEL_GL_MEMBER(Name, Params, Args) void(GL_APIENTRY * Name) Params;
    VEXEL_GL_PLAIN_FUNCTIONS(VEXEL_GL_MEMBER)
#undef VEXEL_GL_MEMBER
    void(GL_APIENTRY* DeleteTextures)(GLsizei, const GLuint*);
    void(GL_APIENTRY* GenTextures)(GLsizei, GLuint*);
    GLenum(GL_APIENTRY* GetError)();
    void(GL_APIENTRY* GetIntegerv)(GLenum, GLint*);
    const GLubyte*(GL_APIENTRY* GetString)(GLenum);
    void(GL_APIENTRY* LoadMatrixf)(const GLfloat*);
    void(GL_APIENTRY* MultMatrixf)(const GLfloat*);
    void(GL_APIENTRY* ReadPixels)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*);
};

// ---- The null table: a context-free no-op for every call.

namespace Null
{
template <class... A> void Ignore(A...) {}
#define VEXEL_GL_NULL(Name, Params, Args)                                                                    \
    void GL_APIENTRY Name Params                                                                             \
    {                                                                                                        \
        Ignore Args;                                                                                         \
    }
VEXEL_GL_PLAIN_FUNCTIONS(VEXEL_GL_NULL)
#undef VEXEL_GL_NULL
void GL_APIENTRY DeleteTextures(GLsizei, const GLuint*) {}
void GL_APIENTRY GenTextures(GLsizei n, GLuint* textures)
{
    for (GLsizei i = 0; i < n; ++i)
        textures[i] = 0;
}
GLenum GL_APIENTRY GetError()
{
    return GL_NO_ERROR;
}
void GL_APIENTRY GetIntegerv(GLenum, GLint* data)
{
    *data = 0;
}
const GLubyte* GL_APIENTRY GetString(GLenum)
{
    return reinterpret_cast<const GLubyte*>("");
}
void GL_APIENTRY LoadMatrixf(const GLfloat*) {}
void GL_APIENTRY MultMatrixf(const GLfloat*) {}
void GL_APIENTRY ReadPixels(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*) {}
} // namespace Null

Table MakeNullTable()
{
    Table table;
#define VEXEL_GL_SOURCE Null
    VEXEL_GL_FILL_TABLE();
#undef VEXEL_GL_SOURCE
    return table;
}

const Table g_nullTable = MakeNullTable();
Table g_realTable = MakeNullTable();
// The forwarders read this on the GL thread only.
const Table* g_active = &g_nullTable;
std::atomic<int> g_backend{Backend::Null};

// The extension string of the current table; read by decoders on pool
// workers, hence the lock.
Threading::Mutex& ExtensionLock()
{
    static Threading::Mutex* lock = new Threading::Mutex(); // lives to the very end of the process
    return *lock;
}
std::string& Extensions()
{
    static std::string* extensions = new std::string();
    return *extensions;
}

void SetExtensions(std::string const& extensions)
{
    Threading::ScopedLock<Threading::Mutex> guard(ExtensionLock());
    Extensions() = extensions;
}

// glOrtho of a desktop context, behind the glOrthof entry.
void(GL_APIENTRY* g_desktopOrtho)(double, double, double, double, double, double) = nullptr;

void GL_APIENTRY DesktopOrthof(GLfloat l, GLfloat r, GLfloat b, GLfloat t, GLfloat n, GLfloat f)
{
    g_desktopOrtho(l, r, b, t, n, f);
}

} // namespace

// ---- Recording.

class Recorder::Impl
{
public:
    std::vector<Call> calls;
    std::deque<GLenum> errors;
    GLuint nextTexture = 1;
    const Table* previousTable = nullptr;
    int previousBackend = Backend::Null;
    std::string previousExtensions;
    std::string failName;
    GLenum failError = GL_NO_ERROR;
};

namespace
{
Recorder::Impl* g_recorder = nullptr;

template <class T> void AddArg(Call& call, T value)
{
    if constexpr (std::is_pointer<T>::value)
        call.ints.push_back(int64_t(reinterpret_cast<uintptr_t>(value)));
    else if constexpr (std::is_floating_point<T>::value)
        call.floats.push_back(float(value));
    else
        call.ints.push_back(int64_t(value));
}

template <class... A> Call& Record(const char* name, A... args)
{
    g_recorder->calls.emplace_back();
    Call& call = g_recorder->calls.back();
    call.name = name;
    (AddArg(call, args), ...);
    if (!g_recorder->failName.empty() && g_recorder->failName == name)
    {
        g_recorder->errors.push_back(g_recorder->failError);
        g_recorder->failName.clear();
    }
    return call;
}

namespace Recording
{
// Each plain entry records its name and arguments.
#define VEXEL_GL_RECORD_PLAIN(Name, Params, Args)                                                            \
    template <class... A> void Record##Name(A... args)                                                       \
    {                                                                                                        \
        Record("gl" #Name, args...);                                                                         \
    }                                                                                                        \
    void GL_APIENTRY Name Params                                                                             \
    {                                                                                                        \
        Record##Name Args;                                                                                   \
    }
VEXEL_GL_PLAIN_FUNCTIONS(VEXEL_GL_RECORD_PLAIN)
#undef VEXEL_GL_RECORD_PLAIN

void GL_APIENTRY DeleteTextures(GLsizei n, const GLuint* textures)
{
    Call& call = Record("glDeleteTextures", n);
    for (GLsizei i = 0; i < n; ++i)
        call.ints.push_back(textures[i]);
}
void GL_APIENTRY GenTextures(GLsizei n, GLuint* textures)
{
    Call& call = Record("glGenTextures", n);
    for (GLsizei i = 0; i < n; ++i)
    {
        textures[i] = g_recorder->nextTexture++;
        call.ints.push_back(textures[i]);
    }
}
GLenum GL_APIENTRY GetError()
{
    Record("glGetError");
    if (g_recorder->errors.empty())
        return GL_NO_ERROR;
    const GLenum error = g_recorder->errors.front();
    g_recorder->errors.pop_front();
    return error;
}
void GL_APIENTRY GetIntegerv(GLenum pname, GLint* data)
{
    Record("glGetIntegerv", pname);
    *data = 0;
}
const GLubyte* GL_APIENTRY GetString(GLenum name)
{
    Record("glGetString", name);
    // The string stays valid until the extensions change, as GL's would.
    static thread_local std::string copy;
    if (name == GL_EXTENSIONS)
    {
        Threading::ScopedLock<Threading::Mutex> guard(ExtensionLock());
        copy = Extensions();
    }
    else
    {
        copy = "recorder";
    }
    return reinterpret_cast<const GLubyte*>(copy.c_str());
}
void GL_APIENTRY LoadMatrixf(const GLfloat* m)
{
    Call& call = Record("glLoadMatrixf");
    call.floats.assign(m, m + 16);
}
void GL_APIENTRY MultMatrixf(const GLfloat* m)
{
    Call& call = Record("glMultMatrixf");
    call.floats.assign(m, m + 16);
}
void GL_APIENTRY ReadPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type, void* pixels)
{
    Record("glReadPixels", x, y, w, h, format, type, pixels);
}
} // namespace Recording

Table MakeRecordingTable()
{
    Table table;
#define VEXEL_GL_SOURCE Recording
    VEXEL_GL_FILL_TABLE();
#undef VEXEL_GL_SOURCE
    return table;
}

const Table g_recordingTable = MakeRecordingTable();
} // namespace

// ---- Forwarders.

#define VEXEL_GL_FORWARD(Name, Params, Args)                                                                 \
    void Name Params                                                                                         \
    {                                                                                                        \
        g_active->Name Args;                                                                                 \
    }
VEXEL_GL_PLAIN_FUNCTIONS(VEXEL_GL_FORWARD)
#undef VEXEL_GL_FORWARD

void DeleteTextures(GLsizei n, const GLuint* textures)
{
    g_active->DeleteTextures(n, textures);
}
void GenTextures(GLsizei n, GLuint* textures)
{
    g_active->GenTextures(n, textures);
}
GLenum GetError()
{
    return g_active->GetError();
}
void GetIntegerv(GLenum pname, GLint* data)
{
    g_active->GetIntegerv(pname, data);
}
const GLubyte* GetString(GLenum name)
{
    return g_active->GetString(name);
}
void LoadMatrixf(const GLfloat* m)
{
    g_active->LoadMatrixf(m);
}
void MultMatrixf(const GLfloat* m)
{
    g_active->MultMatrixf(m);
}
void ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels)
{
    g_active->ReadPixels(x, y, width, height, format, type, pixels);
}

// ---- Backends.

bool LoadFunctions(void* (*getProc)(const char* name), Backend::Enum backend)
{
    if (!getProc || (backend != Backend::OpenGLES1 && backend != Backend::Desktop))
        return false;
    Table table = MakeNullTable();
    std::string missing;
    auto resolve = [&](auto& slot, const char* name)
    {
        void* address = getProc(name);
        if (!address)
        {
            missing += missing.empty() ? "" : ", ";
            missing += name;
            return;
        }
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(address);
    };
#define VEXEL_GL_RESOLVE(Name, Params, Args) resolve(table.Name, "gl" #Name);
#define VEXEL_GL_RESOLVE_OTHER(Name) resolve(table.Name, "gl" #Name);
    VEXEL_GL_PLAIN_FUNCTIONS(VEXEL_GL_RESOLVE)
    VEXEL_GL_OTHER_FUNCTIONS(VEXEL_GL_RESOLVE_OTHER)
#undef VEXEL_GL_RESOLVE_OTHER
#undef VEXEL_GL_RESOLVE
    if (backend == Backend::Desktop)
    {
        // Desktop GL has no glOrthof (a resolved name may be a stub that does
        // nothing); glOrtho takes doubles.
        const std::string before = missing;
        missing.clear();
        resolve(g_desktopOrtho, "glOrtho");
        if (missing.empty())
        {
            table.Orthof = &DesktopOrthof;
            missing = before;
        }
        else
        {
            missing = before + (before.empty() ? "" : ", ") + missing;
        }
    }
    if (!missing.empty())
    {
        Vexel::Log::Error("gl", "missing entry points: %s", missing.c_str());
        return false;
    }
    g_realTable = table;
    g_active = &g_realTable;
    g_backend = backend;
    const GLubyte* extensions = g_realTable.GetString(GL_EXTENSIONS);
    SetExtensions(extensions ? reinterpret_cast<const char*>(extensions) : "");
    return true;
}

void UseNullBackend()
{
    g_active = &g_nullTable;
    g_backend = Backend::Null;
    SetExtensions("");
}

Backend::Enum GetBackend()
{
    return Backend::Enum(g_backend.load());
}

bool SupportsBgrUpload()
{
    return g_backend.load() == Backend::Desktop;
}

bool HasExtension(const char* name)
{
    if (!name || !*name)
        return false;
    Threading::ScopedLock<Threading::Mutex> guard(ExtensionLock());
    std::string const& all = Extensions();
    const size_t length = std::strlen(name);
    for (size_t at = all.find(name); at != std::string::npos; at = all.find(name, at + 1))
    {
        const bool startsWord = at == 0 || all[at - 1] == ' ';
        const bool endsWord = at + length == all.size() || all[at + length] == ' ';
        if (startsWord && endsWord)
            return true;
    }
    return false;
}

GLenum CheckErrors(const char* file, int line, const char* what)
{
    GLenum first = GL_NO_ERROR;
    // A lost context may report errors for ever: look at a few only.
    for (int i = 0; i < 8; ++i)
    {
        const GLenum error = GetError();
        if (error == GL_NO_ERROR)
            break;
        if (first == GL_NO_ERROR)
            first = error;
        Vexel::Log::Error("gl", "error 0x%04X after %s (%s:%d)", unsigned(error), what, file, line);
    }
    return first;
}

// ---- Call and Recorder.

std::string Call::ToString() const
{
    std::ostringstream out;
    out << name << "(";
    bool first = true;
    for (int64_t value : ints)
    {
        out << (first ? "" : ", ") << value;
        first = false;
    }
    for (float value : floats)
    {
        out << (first ? "" : ", ") << value;
        first = false;
    }
    out << ")";
    return out.str();
}

Recorder::Recorder(std::string const& extensions) : impl(new Impl())
{
    if (g_recorder)
        Vexel::Log::Warning("gl", "a second recorder replaces the first");
    impl->previousTable = g_active;
    impl->previousBackend = g_backend.load();
    {
        Threading::ScopedLock<Threading::Mutex> guard(ExtensionLock());
        impl->previousExtensions = Extensions();
    }
    g_recorder = impl;
    g_active = &g_recordingTable;
    g_backend = Backend::Recording;
    SetExtensions(extensions);
}

Recorder::~Recorder()
{
    g_active = impl->previousTable;
    g_backend = impl->previousBackend;
    SetExtensions(impl->previousExtensions);
    if (g_recorder == impl)
        g_recorder = nullptr;
    delete impl;
}

std::vector<Call> const& Recorder::GetCalls() const
{
    return impl->calls;
}

void Recorder::Clear()
{
    impl->calls.clear();
}

int Recorder::Count(std::string const& name) const
{
    int count = 0;
    for (Call const& call : impl->calls)
        count += call.name == name ? 1 : 0;
    return count;
}

std::string Recorder::Describe() const
{
    std::string text;
    for (Call const& call : impl->calls)
        text += call.ToString() + "\n";
    return text;
}

void Recorder::SetExtensions(std::string const& extensions)
{
    GL::SetExtensions(extensions);
}

void Recorder::QueueError(GLenum error)
{
    impl->errors.push_back(error);
}

void Recorder::FailNext(std::string const& callName, GLenum error)
{
    impl->failName = callName;
    impl->failError = error;
}

} // namespace GL
} // namespace Graphics
} // namespace Vexel
