// D3DCompile with the caller's include handler. The input is a head of two
// bytes (profile and options), then texts separated by zero bytes: the
// source, then include files, each its name on the first line and its text
// after it. The handler checks that the compiler hands back only texts it
// opened, names only open texts as parents, and closes every one it opened;
// a successful compile must give a whole code blob.
#include <d3dcompiler.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "winapi/d3dcompiler/code_format.h"

namespace {

constexpr const char* kProfiles[] = {"vs_4_0",           "ps_4_0", "vs_5_0", "ps_5_0", "vs_4_0_level_9_1",
                                     "ps_4_0_level_9_1", "cs_5_0", "gs_5_0", "hs_5_0", "ds_5_0",
                                     "vs_3_0",           "ps_2_0", "ps_9_9", ""};

// Option bits of the second byte.
constexpr uint8_t kDebug = 1;             // D3DCOMPILE_DEBUG | D3DCOMPILE_SKIP_OPTIMIZATION
constexpr uint8_t kNoIncludeHandler = 2;  // every #include is refused
constexpr uint8_t kWithDefines = 4;       // TINT and an empty definition
constexpr uint8_t kOtherEntryPoint = 8;   // "VSMain" instead of "main"
constexpr uint8_t kSourceName = 16;       // a name for the source in messages

pD3DCompile g_compile = nullptr;

// Serves the include files of one input from memory, each opening a copy of
// its own so that reads past its end are caught.
class MemoryInclude final : public ID3DInclude {
public:
    explicit MemoryInclude(std::map<std::string, std::string> files) : m_files(std::move(files)) {}

    HRESULT STDMETHODCALLTYPE Open(D3D_INCLUDE_TYPE, LPCSTR name, LPCVOID parent, LPCVOID* data, UINT* bytes) override
    {
        if (name == nullptr || data == nullptr || bytes == nullptr) {
            std::abort();
        }
        if (parent != nullptr && m_open.count(parent) == 0) {
            std::abort();  // a parent that is not an open text of ours
        }
        const auto file = m_files.find(name);
        if (file == m_files.end()) {
            return E_FAIL;
        }
        auto copy = std::make_unique<char[]>(file->second.size() + 1);
        std::memcpy(copy.get(), file->second.data(), file->second.size());
        *data = copy.get();
        *bytes = static_cast<UINT>(file->second.size());
        m_open.emplace(copy.get(), std::move(copy));
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Close(LPCVOID data) override
    {
        if (m_open.erase(data) != 1) {
            std::abort();  // closed twice, or never opened
        }
        return S_OK;
    }

    bool AllClosed() const { return m_open.empty(); }

private:
    std::map<std::string, std::string> m_files;
    std::map<LPCVOID, std::unique_ptr<char[]>> m_open;
};

void CheckCode(ID3DBlob* code)
{
    halvo::d3dcompiler::CodeHeader header{};
    if (code->GetBufferSize() < sizeof header) {
        std::abort();
    }
    std::memcpy(&header, code->GetBufferPointer(), sizeof header);
    if (std::memcmp(header.magic, halvo::d3dcompiler::kCodeMagic, sizeof header.magic) != 0 ||
        header.headerSize != sizeof header ||
        uint64_t(header.headerSize) + uint64_t(header.wordCount) * 4 != code->GetBufferSize()) {
        std::abort();
    }
}

void CheckMessages(ID3DBlob* messages)
{
    const SIZE_T size = messages->GetBufferSize();
    if (size == 0 || static_cast<const char*>(messages->GetBufferPointer())[size - 1] != '\0') {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    HMODULE module = LoadLibraryA(HALVO_MODULE_DIR "/d3dcompiler_47.dll");
    g_compile =
        module ? reinterpret_cast<pD3DCompile>(reinterpret_cast<void*>(GetProcAddress(module, "D3DCompile"))) : nullptr;
    if (!g_compile) {
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2) {
        return 0;
    }
    const char* profile = kProfiles[data[0] % std::size(kProfiles)];
    const uint8_t options = data[1];
    std::vector<std::string> texts(1);
    for (size_t i = 2; i < size; ++i) {
        if (data[i] == 0) {
            texts.emplace_back();
        } else {
            texts.back().push_back(static_cast<char>(data[i]));
        }
    }
    std::map<std::string, std::string> files;
    for (size_t i = 1; i < texts.size(); ++i) {
        const size_t lineEnd = texts[i].find('\n');
        files[texts[i].substr(0, lineEnd)] =
            lineEnd == std::string::npos ? std::string() : texts[i].substr(lineEnd + 1);
    }
    MemoryInclude include(std::move(files));
    const D3D_SHADER_MACRO defines[] = {{"TINT", "float4(1, 0.5, 0.25, 1)"}, {"EMPTY", nullptr}, {nullptr, nullptr}};
    ID3DBlob* code = nullptr;
    ID3DBlob* messages = nullptr;
    const UINT flags =
        (options & kDebug) ? D3DCOMPILE_DEBUG | D3DCOMPILE_SKIP_OPTIMIZATION : D3DCOMPILE_OPTIMIZATION_LEVEL3;
    const HRESULT result =
        g_compile(texts[0].data(), texts[0].size(), (options & kSourceName) ? "shaders/main.hlsl" : nullptr,
                  (options & kWithDefines) ? defines : nullptr, (options & kNoIncludeHandler) ? nullptr : &include,
                  (options & kOtherEntryPoint) ? "VSMain" : "main", profile, flags, 0, &code, &messages);
    if (!include.AllClosed() || SUCCEEDED(result) != (code != nullptr)) {
        std::abort();
    }
    if (code) {
        CheckCode(code);
        code->Release();
    }
    if (messages) {
        CheckMessages(messages);
        messages->Release();
    }
    return 0;
}
