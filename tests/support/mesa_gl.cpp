#include "support/mesa_gl.h"

#include <EGL/eglext.h>

#include <cstdlib>

namespace {

// The GL names the ES 3 header lacks.
constexpr GLenum kShadingLanguageVersion = 0x8B8C;

bool HasExtension(const char* list, const std::string& name)
{
    const std::string padded = std::string(" ") + (list != nullptr ? list : "") + " ";
    return padded.find(" " + name + " ") != std::string::npos;
}

template <typename Function>
bool Load(Function& function, const char* name, std::string* reason)
{
    function = reinterpret_cast<Function>(eglGetProcAddress(name));
    if (function == nullptr) *reason = std::string("EGL has no ") + name;
    return function != nullptr;
}

// The info log of a shader or program object.
template <typename GetInfo, typename GetLog>
std::string InfoLog(GLuint object, GetInfo getInfo, GetLog getLog)
{
    GLint length = 0;
    getInfo(object, GL_INFO_LOG_LENGTH, &length);
    std::string log(length > 0 ? size_t(length) : 0, '\0');
    if (length > 0) getLog(object, length, nullptr, log.data());
    if (!log.empty() && log.back() == '\0') log.pop_back();
    return log;
}

// A shader object of the kind compiled from the text, for the caller to delete; *log holds the compiler's words,
// warnings included.
GLuint CompileShader(const GlFunctions& gl, GLenum kind, const std::string& text, bool* compiled, std::string* log)
{
    const GLuint shader = gl.CreateShader(kind);
    const char* source = text.c_str();
    gl.ShaderSource(shader, 1, &source, nullptr);
    gl.CompileShader(shader);
    GLint status = GL_FALSE;
    gl.GetShaderiv(shader, GL_COMPILE_STATUS, &status);
    *compiled = status == GL_TRUE;
    *log = InfoLog(shader, gl.GetShaderiv, gl.GetShaderInfoLog);
    return shader;
}

}  // namespace

MesaGl::~MesaGl()
{
    if (m_display == EGL_NO_DISPLAY) return;
    eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    for (EGLContext context : m_contexts) {
        if (context != EGL_NO_CONTEXT) eglDestroyContext(m_display, context);
    }
    // The display stays initialised: terminating it unloads Mesa's driver, and the memory that only the
    // driver's globals held would look leaked to the leak checker.
    eglReleaseThread();
}

bool MesaGl::Open(std::string* reason)
{
    // Mesa's software rasteriser gives the same answers on every machine, with or without a GPU.
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    if (!HasExtension(eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS), "EGL_MESA_platform_surfaceless")) {
        *reason = "EGL offers no surfaceless platform (EGL_MESA_platform_surfaceless)";
        return false;
    }
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay != nullptr) {
        m_display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    }
    if (m_display == EGL_NO_DISPLAY || eglInitialize(m_display, nullptr, nullptr) != EGL_TRUE) {
        m_display = EGL_NO_DISPLAY;
        *reason = "the surfaceless EGL display does not start";
        return false;
    }
    const char* extensions = eglQueryString(m_display, EGL_EXTENSIONS);
    if (!HasExtension(extensions, "EGL_KHR_surfaceless_context") ||
        !HasExtension(extensions, "EGL_KHR_no_config_context")) {
        *reason = "the display has no contexts without surfaces";
        return false;
    }
    const EGLint esAttributes[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_NONE};
    const struct {
        EGLenum api;
        const EGLint* attributes;
    } requests[] = {{EGL_OPENGL_API, nullptr}, {EGL_OPENGL_ES_API, esAttributes}};
    for (int api = 0; api < 2; ++api) {
        if (eglBindAPI(requests[api].api) != EGL_TRUE) {
            *reason = "EGL does not bind the API";
            return false;
        }
        // A desktop context without attributes is the compatibility profile, which compiles both
        // #version 120 and #version 140 texts.
        m_contexts[api] = eglCreateContext(m_display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, requests[api].attributes);
        if (m_contexts[api] == EGL_NO_CONTEXT) {
            *reason = api == 0 ? "no desktop GL context" : "no GL ES 3 context";
            return false;
        }
    }
    Use(GlApi::Desktop);
    return LoadFunctions(reason);
}

void MesaGl::Use(GlApi api)
{
    m_current = api;
    eglBindAPI(api == GlApi::Desktop ? EGL_OPENGL_API : EGL_OPENGL_ES_API);
    eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, m_contexts[api == GlApi::Desktop ? 0 : 1]);
}

std::string MesaGl::Version(GlApi api)
{
    Use(api);
    auto getString = reinterpret_cast<PFNGLGETSTRINGPROC>(eglGetProcAddress("glGetString"));
    const auto* version = getString(GL_VERSION);
    const auto* language = getString(kShadingLanguageVersion);
    return std::string(reinterpret_cast<const char*>(version)) + ", shading language " +
           reinterpret_cast<const char*>(language);
}

bool MesaGl::LoadFunctions(std::string* reason)
{
    GlFunctions& f = m_gl;
    return Load(f.ActiveTexture, "glActiveTexture", reason) && Load(f.AttachShader, "glAttachShader", reason) &&
           Load(f.BindTexture, "glBindTexture", reason) && Load(f.DrawBuffers, "glDrawBuffers", reason) &&
           Load(f.ReadBuffer, "glReadBuffer", reason) &&
           Load(f.BindFragDataLocation, "glBindFragDataLocation", reason) &&
           Load(f.DeleteTextures, "glDeleteTextures", reason) && Load(f.GenTextures, "glGenTextures", reason) &&
           Load(f.PixelStorei, "glPixelStorei", reason) && Load(f.TexImage2D, "glTexImage2D", reason) &&
           Load(f.TexParameteri, "glTexParameteri", reason) && Load(f.Uniform1i, "glUniform1i", reason) &&
           Load(f.BindBuffer, "glBindBuffer", reason) && Load(f.BindFramebuffer, "glBindFramebuffer", reason) &&
           Load(f.BindRenderbuffer, "glBindRenderbuffer", reason) && Load(f.BufferData, "glBufferData", reason) &&
           Load(f.CheckFramebufferStatus, "glCheckFramebufferStatus", reason) && Load(f.Clear, "glClear", reason) &&
           Load(f.ClearColor, "glClearColor", reason) && Load(f.CompileShader, "glCompileShader", reason) &&
           Load(f.CreateProgram, "glCreateProgram", reason) && Load(f.CreateShader, "glCreateShader", reason) &&
           Load(f.DeleteBuffers, "glDeleteBuffers", reason) &&
           Load(f.DeleteFramebuffers, "glDeleteFramebuffers", reason) &&
           Load(f.DeleteProgram, "glDeleteProgram", reason) &&
           Load(f.DeleteRenderbuffers, "glDeleteRenderbuffers", reason) &&
           Load(f.DeleteShader, "glDeleteShader", reason) &&
           Load(f.DisableVertexAttribArray, "glDisableVertexAttribArray", reason) &&
           Load(f.DrawArrays, "glDrawArrays", reason) &&
           Load(f.EnableVertexAttribArray, "glEnableVertexAttribArray", reason) && Load(f.Finish, "glFinish", reason) &&
           Load(f.FramebufferRenderbuffer, "glFramebufferRenderbuffer", reason) &&
           Load(f.GenBuffers, "glGenBuffers", reason) && Load(f.GenFramebuffers, "glGenFramebuffers", reason) &&
           Load(f.GenRenderbuffers, "glGenRenderbuffers", reason) &&
           Load(f.GetActiveAttrib, "glGetActiveAttrib", reason) &&
           Load(f.GetActiveUniform, "glGetActiveUniform", reason) &&
           Load(f.GetAttribLocation, "glGetAttribLocation", reason) && Load(f.GetError, "glGetError", reason) &&
           Load(f.GetProgramInfoLog, "glGetProgramInfoLog", reason) && Load(f.GetProgramiv, "glGetProgramiv", reason) &&
           Load(f.GetShaderInfoLog, "glGetShaderInfoLog", reason) && Load(f.GetShaderiv, "glGetShaderiv", reason) &&
           Load(f.GetUniformLocation, "glGetUniformLocation", reason) && Load(f.LinkProgram, "glLinkProgram", reason) &&
           Load(f.ReadPixels, "glReadPixels", reason) && Load(f.RenderbufferStorage, "glRenderbufferStorage", reason) &&
           Load(f.ShaderSource, "glShaderSource", reason) && Load(f.Uniform4fv, "glUniform4fv", reason) &&
           Load(f.Uniform4iv, "glUniform4iv", reason) && Load(f.UniformMatrix2fv, "glUniformMatrix2fv", reason) &&
           Load(f.UniformMatrix3fv, "glUniformMatrix3fv", reason) &&
           Load(f.UniformMatrix4fv, "glUniformMatrix4fv", reason) && Load(f.UseProgram, "glUseProgram", reason) &&
           Load(f.VertexAttribPointer, "glVertexAttribPointer", reason) && Load(f.Viewport, "glViewport", reason);
}

bool MesaGl::Compile(GLenum kind, const std::string& text, std::string* log)
{
    bool compiled = false;
    m_gl.DeleteShader(CompileShader(m_gl, kind, text, &compiled, log));
    return compiled;
}

GLuint MesaGl::Build(const std::string& vertex, const std::string& pixel, std::string* log,
                     const std::vector<std::string>& pixelOutputs)
{
    const GlFunctions& gl = m_gl;
    log->clear();
    const GLuint program = gl.CreateProgram();
    bool compiled = true;
    const struct {
        GLenum kind;
        const std::string* text;
        const char* name;
    } stages[] = {{GL_VERTEX_SHADER, &vertex, "vertex"}, {GL_FRAGMENT_SHADER, &pixel, "pixel"}};
    for (const auto& stage : stages) {
        bool stageCompiled = false;
        std::string words;
        const GLuint shader = CompileShader(gl, stage.kind, *stage.text, &stageCompiled, &words);
        if (!stageCompiled) {
            compiled = false;
            *log += std::string(stage.name) + " stage: " + words;
        }
        gl.AttachShader(program, shader);
        gl.DeleteShader(shader);  // goes with the program
    }
    GLint linked = GL_FALSE;
    if (compiled) {
        if (m_current == GlApi::Desktop) {
            for (size_t output = 0; output < pixelOutputs.size(); ++output) {
                gl.BindFragDataLocation(program, GLuint(output), pixelOutputs[output].c_str());
            }
        }
        gl.LinkProgram(program);
        gl.GetProgramiv(program, GL_LINK_STATUS, &linked);
        if (linked != GL_TRUE) *log += "link: " + InfoLog(program, gl.GetProgramiv, gl.GetProgramInfoLog);
    }
    if (linked == GL_TRUE) return program;
    gl.DeleteProgram(program);
    return 0;
}

std::vector<GlUniform> MesaGl::Uniforms(GLuint program) const
{
    std::vector<GlUniform> uniforms;
    GLint count = 0;
    m_gl.GetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    for (GLint index = 0; index < count; ++index) {
        char name[256] = {};
        GlUniform uniform;
        m_gl.GetActiveUniform(program, GLuint(index), sizeof name, nullptr, &uniform.count, &uniform.type, name);
        uniform.name = name;
        uniform.location = m_gl.GetUniformLocation(program, name);
        uniforms.push_back(uniform);
    }
    return uniforms;
}

bool MesaGl::DrawRow(GLuint program, int width, int outputs, const RowVertices& vertices,
                     const std::function<void()>& setUniforms, std::vector<float>* pixels, std::string* reason)
{
    const GlFunctions& gl = m_gl;
    std::vector<GLuint> renderbuffers(static_cast<size_t>(outputs));
    std::vector<GLenum> drawBuffers;
    GLuint framebuffer = 0;
    GLuint buffer = 0;
    gl.GenFramebuffers(1, &framebuffer);
    gl.BindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    gl.GenRenderbuffers(GLsizei(outputs), renderbuffers.data());
    for (int output = 0; output < outputs; ++output) {
        gl.BindRenderbuffer(GL_RENDERBUFFER, renderbuffers[size_t(output)]);
        gl.RenderbufferStorage(GL_RENDERBUFFER, GL_RGBA32F, width, 1);
        drawBuffers.push_back(GLenum(GL_COLOR_ATTACHMENT0 + output));
        gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, drawBuffers.back(), GL_RENDERBUFFER, renderbuffers[size_t(output)]);
    }
    gl.DrawBuffers(GLsizei(outputs), drawBuffers.data());
    bool drawn = gl.CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (!drawn) *reason = "a four-float target is not complete";
    if (drawn) {
        gl.Viewport(0, 0, width, 1);
        gl.ClearColor(-7, -7, -7, -7);  // a value no probe writes
        gl.Clear(GL_COLOR_BUFFER_BIT);
        gl.UseProgram(program);
        setUniforms();
        gl.GenBuffers(1, &buffer);
        gl.BindBuffer(GL_ARRAY_BUFFER, buffer);
        gl.BufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.bytes.size()), vertices.bytes.data(), GL_STATIC_DRAW);
        std::vector<GLuint> enabled;
        for (const RowAttribute& attribute : vertices.attributes) {
            const GLint location = gl.GetAttribLocation(program, ("_in_" + attribute.name).c_str());
            if (location < 0) continue;
            const bool bytes = RowFormatIsBytes(attribute.format);
            gl.VertexAttribPointer(
                GLuint(location), RowFormatComponents(attribute.format), bytes ? GL_UNSIGNED_BYTE : GL_FLOAT,
                attribute.format == RowFormat::Unorm8x4 ? GL_TRUE : GL_FALSE, GLsizei(vertices.stride),
                reinterpret_cast<const void*>(uintptr_t(attribute.offset)));
            gl.EnableVertexAttribArray(GLuint(location));
            enabled.push_back(GLuint(location));
        }
        gl.DrawArrays(GL_TRIANGLES, 0, 6);
        for (GLuint location : enabled) gl.DisableVertexAttribArray(location);
        pixels->assign(size_t(width) * 4 * size_t(outputs), 0.0f);
        for (int output = 0; output < outputs; ++output) {
            gl.ReadBuffer(drawBuffers[size_t(output)]);
            gl.ReadPixels(0, 0, width, 1, GL_RGBA, GL_FLOAT, pixels->data() + size_t(output) * size_t(width) * 4);
        }
        gl.Finish();
        const GLenum error = gl.GetError();
        drawn = error == GL_NO_ERROR;
        if (!drawn) *reason = "GL error " + std::to_string(error);
        gl.UseProgram(0);
        gl.BindBuffer(GL_ARRAY_BUFFER, 0);
        gl.DeleteBuffers(1, &buffer);
    }
    gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
    gl.DeleteFramebuffers(1, &framebuffer);
    gl.DeleteRenderbuffers(GLsizei(outputs), renderbuffers.data());
    return drawn;
}
