// The one seam through which the engine calls OpenGL ES 1.1. Every GL call of
// the engine goes through these thin forwarders to a table of entry points:
// - the real table, loaded by the platform layer once a context is current
//   (ES 1.1 through EGL, or the desktop compatibility context through SDL);
// - a recording table (GL::Recorder), which logs names and arguments and needs
//   no GL at all, for unit tests;
// - the null table (the start state): every call does nothing.
// Only <GLES/gl.h> types and constants are used here, so this library never
// links a GL library itself; the platform layer resolves the entry points.
#pragma once

#include <GLES/gl.h>

#include <cstdint>
#include <string>
#include <vector>

namespace Vexel
{
namespace Graphics
{
namespace GL
{

// Constants that <GLES/gl.h> does not define.
const GLenum kBgr = 0x80E0;
const GLenum kCompressedRgbPvrtc4 = 0x8C00;
const GLenum kCompressedRgbPvrtc2 = 0x8C01;
const GLenum kCompressedRgbaPvrtc4 = 0x8C02;
const GLenum kCompressedRgbaPvrtc2 = 0x8C03;
const char* const kPvrtcExtension = "GL_IMG_texture_compression_pvrtc";

// Forwarders, named after the GL entry point without its "gl" prefix.
void ActiveTexture(GLenum texture);
void BindTexture(GLenum target, GLuint texture);
void BlendFunc(GLenum sfactor, GLenum dfactor);
void Clear(GLbitfield mask);
void ClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
void Color4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
void Color4ub(GLubyte red, GLubyte green, GLubyte blue, GLubyte alpha);
void ColorMask(GLboolean red, GLboolean green, GLboolean blue, GLboolean alpha);
void ColorPointer(GLint size, GLenum type, GLsizei stride, const void* pointer);
void CompressedTexImage2D(GLenum target, GLint level, GLenum internalformat, GLsizei width, GLsizei height,
                          GLint border, GLsizei imageSize, const void* data);
void CullFace(GLenum mode);
void DeleteTextures(GLsizei n, const GLuint* textures);
void DepthMask(GLboolean flag);
void Disable(GLenum cap);
void DisableClientState(GLenum array);
void DrawArrays(GLenum mode, GLint first, GLsizei count);
void DrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices);
void Enable(GLenum cap);
void EnableClientState(GLenum array);
void Finish();
void Flush();
void GenTextures(GLsizei n, GLuint* textures);
GLenum GetError();
void GetIntegerv(GLenum pname, GLint* data);
const GLubyte* GetString(GLenum name);
void Hint(GLenum target, GLenum mode);
void LoadIdentity();
void LoadMatrixf(const GLfloat* m);
void MatrixMode(GLenum mode);
void MultMatrixf(const GLfloat* m);
void Orthof(GLfloat left, GLfloat right, GLfloat bottom, GLfloat top, GLfloat zNear, GLfloat zFar);
void PixelStorei(GLenum pname, GLint param);
void PointSize(GLfloat size);
void PopMatrix();
void PushMatrix();
void ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels);
void Rotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void Scalef(GLfloat x, GLfloat y, GLfloat z);
void Scissor(GLint x, GLint y, GLsizei width, GLsizei height);
void ShadeModel(GLenum mode);
void TexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer);
void TexEnvi(GLenum target, GLenum pname, GLint param);
void TexImage2D(GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height, GLint border,
                GLenum format, GLenum type, const void* pixels);
void TexParameteri(GLenum target, GLenum pname, GLint param);
void Translatef(GLfloat x, GLfloat y, GLfloat z);
void VertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer);
void Viewport(GLint x, GLint y, GLsizei width, GLsizei height);

// Which table the forwarders use.
struct Backend
{
    enum Enum
    {
        Null = 0,      // every call does nothing; GenTextures yields 0
        OpenGLES1 = 1, // a real ES 1.1 context
        Desktop = 2,   // a real desktop compatibility context running the ES 1.1 calls
        Recording = 3, // GL::Recorder
    };
};

// Resolves every entry point through getProc (called with names such as
// "glBlendFunc") and makes the real table current. On a desktop context
// glOrthof is served by glOrtho. Call on the thread whose context is current.
// Returns false, naming the missing entry points on stderr, and leaves the
// previous table in place when any is missing.
bool LoadFunctions(void* (*getProc)(const char* name), Backend::Enum backend);

// Back to the null table (when a context goes away).
void UseNullBackend();

Backend::Enum GetBackend();

// True on a real desktop context, whose GL_BGR uploads need no CPU swizzle.
bool SupportsBgrUpload();

// The extension string captured when the table was made current; safe to
// read from any thread.
bool HasExtension(const char* name);

// Reports GL errors pending since the last check, with the caller's place,
// on stderr. Returns the first error, or GL_NO_ERROR.
GLenum CheckErrors(const char* file, int line, const char* what);

// One recorded call. Integers, enums and pointers go to ints (pointers as
// their address), floats to floats, in argument order; MultMatrixf and
// LoadMatrixf record their 16 floats.
struct Call
{
    std::string name; // "glBlendFunc"
    std::vector<int64_t> ints;
    std::vector<float> floats;

    // "glBlendFunc(770, 771)" with ints first, then floats.
    std::string ToString() const;
};

// Switches the forwarders to recording for its lifetime and restores the
// previous table afterwards. One recorder at a time; main thread only.
// GenTextures hands out 1, 2, 3 ...; GetString(GL_EXTENSIONS) returns the
// configured extensions; GetError returns the errors queued with QueueError,
// then GL_NO_ERROR.
class Recorder
{
public:
    explicit Recorder(std::string const& extensions = std::string());
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    std::vector<Call> const& GetCalls() const;
    void Clear();
    // Number of recorded calls with this name.
    int Count(std::string const& name) const;
    // The calls, one ToString per line: readable in a failed assertion.
    std::string Describe() const;

    void SetExtensions(std::string const& extensions);
    void QueueError(GLenum error);
    // The next call named callName (e.g. "glTexImage2D") queues error, as a
    // driver refusing it would.
    void FailNext(std::string const& callName, GLenum error);

    class Impl;

private:
    Impl* impl;
};

} // namespace GL
} // namespace Graphics
} // namespace Vexel
