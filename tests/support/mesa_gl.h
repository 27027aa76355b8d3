// Mesa's OpenGL and OpenGL ES through EGL without a display (the surfaceless
// platform, on the software rasteriser): its compiler judges shader texts,
// and a program draws into a row of float pixels that are read back.
#pragma once

#define GL_GLES_PROTOTYPES 0
#include <EGL/egl.h>
#include <GLES3/gl3.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/row_vertices.h"

enum class GlApi { Desktop, Es };

// The entry points the tests use; desktop GL and GL ES share them.
// Desktop GL's, which the ES header lacks.
typedef void(GL_APIENTRYP PFNGLBINDFRAGDATALOCATIONPROC)(GLuint program, GLuint color, const GLchar* name);

struct GlFunctions {
    PFNGLACTIVETEXTUREPROC ActiveTexture;
    PFNGLATTACHSHADERPROC AttachShader;
    PFNGLBINDBUFFERPROC BindBuffer;
    PFNGLBINDFRAGDATALOCATIONPROC BindFragDataLocation;
    PFNGLBINDFRAMEBUFFERPROC BindFramebuffer;
    PFNGLBINDRENDERBUFFERPROC BindRenderbuffer;
    PFNGLBINDTEXTUREPROC BindTexture;
    PFNGLBUFFERDATAPROC BufferData;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC CheckFramebufferStatus;
    PFNGLCLEARPROC Clear;
    PFNGLCLEARCOLORPROC ClearColor;
    PFNGLCOMPILESHADERPROC CompileShader;
    PFNGLCREATEPROGRAMPROC CreateProgram;
    PFNGLCREATESHADERPROC CreateShader;
    PFNGLDELETEBUFFERSPROC DeleteBuffers;
    PFNGLDELETEFRAMEBUFFERSPROC DeleteFramebuffers;
    PFNGLDELETEPROGRAMPROC DeleteProgram;
    PFNGLDELETERENDERBUFFERSPROC DeleteRenderbuffers;
    PFNGLDELETESHADERPROC DeleteShader;
    PFNGLDELETETEXTURESPROC DeleteTextures;
    PFNGLDISABLEVERTEXATTRIBARRAYPROC DisableVertexAttribArray;
    PFNGLDRAWARRAYSPROC DrawArrays;
    PFNGLDRAWBUFFERSPROC DrawBuffers;
    PFNGLENABLEVERTEXATTRIBARRAYPROC EnableVertexAttribArray;
    PFNGLFINISHPROC Finish;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC FramebufferRenderbuffer;
    PFNGLGENBUFFERSPROC GenBuffers;
    PFNGLGENFRAMEBUFFERSPROC GenFramebuffers;
    PFNGLGENRENDERBUFFERSPROC GenRenderbuffers;
    PFNGLGENTEXTURESPROC GenTextures;
    PFNGLGETACTIVEATTRIBPROC GetActiveAttrib;
    PFNGLGETACTIVEUNIFORMPROC GetActiveUniform;
    PFNGLGETATTRIBLOCATIONPROC GetAttribLocation;
    PFNGLGETERRORPROC GetError;
    PFNGLGETPROGRAMINFOLOGPROC GetProgramInfoLog;
    PFNGLGETPROGRAMIVPROC GetProgramiv;
    PFNGLGETSHADERINFOLOGPROC GetShaderInfoLog;
    PFNGLGETSHADERIVPROC GetShaderiv;
    PFNGLGETUNIFORMLOCATIONPROC GetUniformLocation;
    PFNGLLINKPROGRAMPROC LinkProgram;
    PFNGLPIXELSTOREIPROC PixelStorei;
    PFNGLREADBUFFERPROC ReadBuffer;
    PFNGLREADPIXELSPROC ReadPixels;
    PFNGLRENDERBUFFERSTORAGEPROC RenderbufferStorage;
    PFNGLSHADERSOURCEPROC ShaderSource;
    PFNGLTEXIMAGE2DPROC TexImage2D;
    PFNGLTEXPARAMETERIPROC TexParameteri;
    PFNGLUNIFORM1IPROC Uniform1i;
    PFNGLUNIFORM4FVPROC Uniform4fv;
    PFNGLUNIFORM4IVPROC Uniform4iv;
    PFNGLUNIFORMMATRIX2FVPROC UniformMatrix2fv;
    PFNGLUNIFORMMATRIX3FVPROC UniformMatrix3fv;
    PFNGLUNIFORMMATRIX4FVPROC UniformMatrix4fv;
    PFNGLUSEPROGRAMPROC UseProgram;
    PFNGLVERTEXATTRIBPOINTERPROC VertexAttribPointer;
    PFNGLVIEWPORTPROC Viewport;
};

// One active uniform of a linked program.
struct GlUniform {
    std::string name;  // as the driver lists it ("_const_m", "_const_a[0]")
    GLenum type = 0;
    GLint count = 0;
    GLint location = -1;
};

class MesaGl {
public:
    MesaGl() = default;
    ~MesaGl();
    MesaGl(const MesaGl&) = delete;
    MesaGl& operator=(const MesaGl&) = delete;

    // Opens the display and a desktop GL and a GL ES 3 context on it; false, with the reason, when Mesa's
    // surfaceless EGL cannot give them.
    bool Open(std::string* reason);
    // Makes the API's context current; its functions are then those of gl().
    void Use(GlApi api);
    const GlFunctions& gl() const { return m_gl; }
    // "OpenGL 4.5 (Compatibility Profile) Mesa ..." and the like, for messages.
    std::string Version(GlApi api);

    // Compiles one shader of the kind (GL_VERTEX_SHADER, GL_FRAGMENT_SHADER) in the current context, without
    // linking; false when the compiler refuses. *log holds the compiler's words, warnings included.
    bool Compile(GLenum kind, const std::string& text, std::string* log);
    // Compiles both stages and links them in the current context, on desktop GL with the pixel stage's
    // outputs of the names given bound to draw buffers 0, 1 ... (ES texts give their own locations); 0, with
    // the compiler's or the linker's words, when either refuses.
    GLuint Build(const std::string& vertex, const std::string& pixel, std::string* log,
                 const std::vector<std::string>& pixelOutputs = {});
    std::vector<GlUniform> Uniforms(GLuint program) const;

    // Draws the vertices' two triangles over `outputs` targets of `width` x 1 four floats (draw buffer i
    // into target i) with the program, each
    // attribute fed to the program's "_in_" input of its name (bytes as floats, the colour normalised), after
    // `setUniforms` ran with the program in use; the pixels' floats, left to right, target after target. False
    // with a reason when GL reports an error.
    bool DrawRow(GLuint program, int width, int outputs, const RowVertices& vertices,
                 const std::function<void()>& setUniforms, std::vector<float>* pixels, std::string* reason);

private:
    bool LoadFunctions(std::string* reason);

    EGLDisplay m_display = EGL_NO_DISPLAY;
    EGLContext m_contexts[2] = {EGL_NO_CONTEXT, EGL_NO_CONTEXT};
    GlApi m_current = GlApi::Desktop;
    GlFunctions m_gl{};
};
