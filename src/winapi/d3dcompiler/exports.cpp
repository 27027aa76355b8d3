// The entry points of the HLSL compiler library.
#include <d3dcompiler.h>

#include <cstring>
#include <string>
#include <vector>

#include "winapi/d3dcompiler/blob.h"
#include "winapi/d3dcompiler/code_format.h"
#include "winapi/d3dcompiler/include_bridge.h"
#include "winapi/d3dcompiler/messages.h"
#include "winapi/d3dcompiler/profile_table.h"
#include "winapi/d3dcompiler/spirv_compile.h"

using namespace halvo::d3dcompiler;

namespace {

// Hands a message text to the caller when it asked for messages.
void GiveMessages(const std::string& text, ID3DBlob** ppErrorMsgs)
{
    if (ppErrorMsgs != nullptr && !text.empty()) *ppErrorMsgs = MakeTextBlob(text);
}

std::vector<unsigned char> CodeBlobBytes(const Profile& profile, const std::vector<uint32_t>& words)
{
    CodeHeader header{};
    std::memcpy(header.magic, kCodeMagic, sizeof header.magic);
    header.headerSize = sizeof(CodeHeader);
    header.programType = profile.type;
    header.shaderModel = profile.shaderModel;
    header.minimumFeatureLevel = profile.minimumFeatureLevel;
    header.wordCount = static_cast<uint32_t>(words.size());
    std::vector<unsigned char> bytes(sizeof header + words.size() * sizeof(uint32_t));
    std::memcpy(bytes.data(), &header, sizeof header);
    if (!words.empty()) std::memcpy(bytes.data() + sizeof header, words.data(), words.size() * sizeof(uint32_t));
    return bytes;
}

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI
    D3DCompile(LPCVOID pSrcData, SIZE_T SrcDataSize, LPCSTR pSourceName, const D3D_SHADER_MACRO* pDefines,
               ID3DInclude* pInclude, LPCSTR pEntrypoint, LPCSTR pTarget, UINT Flags1, UINT /*Flags2*/,
               ID3DBlob** ppCode, ID3DBlob** ppErrorMsgs)
{
    if (ppErrorMsgs != nullptr) *ppErrorMsgs = nullptr;
    if (ppCode == nullptr || (pSrcData == nullptr && SrcDataSize != 0)) return E_INVALIDARG;
    *ppCode = nullptr;
    if (pEntrypoint == nullptr || pEntrypoint[0] == '\0') {
        GiveMessages(kNoEntryPoint, ppErrorMsgs);
        return E_INVALIDARG;
    }
    const Profile* profile = FindProfile(pTarget);
    if (profile == nullptr) {
        GiveMessages(FormatMessageText(kUnknownProfile, pTarget != nullptr ? pTarget : ""), ppErrorMsgs);
        return E_INVALIDARG;
    }
    StandardFileInclude standardInclude(pSourceName);
    ID3DInclude* include = pInclude == D3D_COMPILE_STANDARD_FILE_INCLUDE ? &standardInclude : pInclude;

    const SpirvRequest request{
        {static_cast<const char*>(pSrcData), SrcDataSize},
        pSourceName != nullptr ? pSourceName : "memory",
        pDefines,
        include,
        pEntrypoint,
        profile,
        Flags1,
    };
    const SpirvResult result = CompileToSpirv(request);
    GiveMessages(result.messages, ppErrorMsgs);
    if (!result.succeeded) return E_FAIL;
    *ppCode = MakeBlob(CodeBlobBytes(*profile, result.words));
    return *ppCode != nullptr ? S_OK : E_OUTOFMEMORY;
}

extern "C" __declspec(dllexport) HRESULT WINAPI D3DCreateBlob(SIZE_T Size, ID3DBlob** ppBlob)
{
    if (ppBlob == nullptr) return E_INVALIDARG;
    *ppBlob = MakeBlob(std::vector<unsigned char>(Size));
    return *ppBlob != nullptr ? S_OK : E_OUTOFMEMORY;
}
