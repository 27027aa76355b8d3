// Shader programs from the translator's byte code, with their input layouts
// and constant buffers.
#include <atomic>

#include "core/logging.h"
#include "renderer/d3d11/com_reference.h"
#include "renderer/d3d11/rend_imp_direct3d11.h"
#include "renderer/d3d11/shader_program.h"
#include "renderer/d3d11/texture_messages.h"
#include "renderer/d3d11/vertex_elements.h"

namespace {

void ReleaseProgramObjects(RendererShaderProgram& program)
{
    ReleaseReference(program.pixelConstants);
    ReleaseReference(program.vertexConstants);
    ReleaseReference(program.pixelShader);
    ReleaseReference(program.inputLayout);
    ReleaseReference(program.vertexShader);
}

}  // namespace

bool RendImpDirect3D11::CreateShaderProgram(HV_Shader* shader, const ShaderTool::ShaderDescription*,
                                            const ByteBuffer* outputs)
{
    if (m_device == nullptr || shader == nullptr || outputs == nullptr) return false;
    const ByteBuffer& vertexCode = outputs[ShaderTool::STAGE_VERTEX];
    const ByteBuffer& pixelCode = outputs[ShaderTool::STAGE_PIXEL];
    RendererShaderProgram program;
    auto fail = [&program](HV_LogLevel level, const char* text, const char* name) {
        HV_Log(level, text, name);
        ReleaseProgramObjects(program);
        return false;
    };

    if (FAILED(m_device->CreateVertexShader(vertexCode.GetData(), SIZE_T(vertexCode.GetSize()), nullptr,
                                            &program.vertexShader))) {
        return fail(HV_LOG_WARNING, kProgramVertexShaderFailed, shader->name.GetText());
    }
    D3D11_INPUT_ELEMENT_DESC elements[kVertexElementCount];
    const uint32_t elementCount = CreateInputLayoutDescription(shader->vertexFormat, elements);
    if (FAILED(m_device->CreateInputLayout(elements, elementCount, vertexCode.GetData(), SIZE_T(vertexCode.GetSize()),
                                           &program.inputLayout))) {
        return fail(HV_LOG_WARNING, kProgramInputLayoutFailed, nullptr);
    }
    if (FAILED(m_device->CreatePixelShader(pixelCode.GetData(), SIZE_T(pixelCode.GetSize()), nullptr,
                                           &program.pixelShader))) {
        return fail(HV_LOG_WARNING, kProgramPixelShaderFailed, shader->name.GetText());
    }
    if (shader->vertexConstants.byteSize > 0 &&
        !CreateConstantBuffer(shader->vertexConstants.byteSize, &program.vertexConstants)) {
        return fail(HV_LOG_ERROR, kProgramVertexConstantsFailed, nullptr);
    }
    if (shader->pixelConstants.byteSize > 0 &&
        !CreateConstantBuffer(shader->pixelConstants.byteSize, &program.pixelConstants)) {
        return fail(HV_LOG_ERROR, kProgramPixelConstantsFailed, nullptr);
    }

    // A program the shader had before is replaced; the shader stays current and the next draw binds the new one.
    static std::atomic<uint64_t> serials{0};
    program.serial = ++serials;
    RendererShaderProgram* replaced = nullptr;
    {
        std::lock_guard<std::mutex> hold(m_programLock);
        replaced = shader->program;
        shader->program = new RendererShaderProgram(program);
    }
    if (replaced != nullptr) {
        ReleaseProgramObjects(*replaced);
        delete replaced;
    }
    return true;
}

// One 16-byte block more than the whole blocks of the constants.
bool RendImpDirect3D11::CreateConstantBuffer(uint32_t byteSize, ID3D11Buffer** buffer)
{
    D3D11_BUFFER_DESC desc{};
    desc.ByteWidth = (byteSize / 16 + 1) * 16;
    desc.Usage = D3D11_USAGE_DYNAMIC;
    desc.BindFlags = D3D11_BIND_CONSTANT_BUFFER;
    desc.CPUAccessFlags = D3D11_CPU_ACCESS_WRITE;
    return SUCCEEDED(m_device->CreateBuffer(&desc, nullptr, buffer));
}

uint32_t RendImpDirect3D11::CreateInputLayoutDescription(uint32_t vertexFormat,
                                                         D3D11_INPUT_ELEMENT_DESC* elements) const
{
    return uint32_t(BuildInputLayout(vertexFormat, (m_capabilities & kCapabilityBgraVertexColors) != 0, elements));
}

// The program's objects are released even after Shutdown: they are ours
// whether or not the device is still there. No context call here: this may
// run on another thread; the context keeps its own references to what is
// bound, and a draw needs a current program again.
void RendImpDirect3D11::ReleaseShaderProgram(HV_Shader* shader)
{
    if (shader == nullptr) return;
    RendererShaderProgram* released = nullptr;
    {
        std::lock_guard<std::mutex> hold(m_programLock);
        released = shader->program;
        shader->program = nullptr;
        if (m_currentShader == shader) m_currentShader = nullptr;
    }
    if (released == nullptr) return;
    ReleaseProgramObjects(*released);
    delete released;
}

void RendImpDirect3D11::BindShaderProgram(HV_Shader* shader)
{
    if (m_context == nullptr) return;
    std::lock_guard<std::mutex> hold(m_programLock);
    m_currentShader = shader;
    if (shader != nullptr && shader->program != nullptr) BindProgramObjects(*shader->program);
}

void RendImpDirect3D11::BindProgramObjects(const RendererShaderProgram& program)
{
    m_context->VSSetShader(program.vertexShader, nullptr, 0);
    m_context->PSSetShader(program.pixelShader, nullptr, 0);
    m_context->IASetInputLayout(program.inputLayout);
    m_boundProgram = program.serial;
}
