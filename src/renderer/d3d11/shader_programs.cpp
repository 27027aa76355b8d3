// Shader programs from the translator's byte code, with the input layout of
// the shader's vertex format.
#include "renderer/d3d11/rend_imp_direct3d11.h"
#include "renderer/d3d11/shader_program.h"

bool RendImpDirect3D11::CreateShaderProgram(HV_Shader*, const ShaderTool::ShaderDescription*, const ByteBuffer*)
{
    return false;
}

void RendImpDirect3D11::ReleaseShaderProgram(HV_Shader*) {}

void RendImpDirect3D11::BindShaderProgram(HV_Shader*) {}

uint32_t RendImpDirect3D11::CreateInputLayoutDescription(uint32_t, D3D11_INPUT_ELEMENT_DESC*) const { return 0; }
