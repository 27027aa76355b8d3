#include "winapi/d3dcompiler/include_bridge.h"

#include <fstream>
#include <sstream>

#include "winapi/d3dcompiler/messages.h"

namespace halvo::d3dcompiler {
namespace {

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

StandardFileInclude::StandardFileInclude(const char* sourceName)
    : m_topFolder(sourceName != nullptr ? FolderOf(sourceName) : std::string())
{}

HRESULT STDMETHODCALLTYPE StandardFileInclude::Open(D3D_INCLUDE_TYPE /*IncludeType*/, LPCSTR pFileName,
                                                    LPCVOID pParentData, LPCVOID* ppData, UINT* pBytes)
{
    if (pFileName == nullptr || ppData == nullptr || pBytes == nullptr) return E_INVALIDARG;
    const auto parent = m_folderOfData.find(pParentData);
    std::string path = pFileName;
    if (path.empty() || (path[0] != '/' && path[0] != '\\')) {
        path = (parent != m_folderOfData.end() ? parent->second : m_topFolder) + path;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) return E_FAIL;
    std::stringstream read;
    read << file.rdbuf();
    auto text = std::make_unique<std::string>(read.str());
    if (text->size() > UINT32_MAX) return E_FAIL;
    *ppData = text->data();
    *pBytes = static_cast<UINT>(text->size());
    m_folderOfData[*ppData] = FolderOf(path);
    m_texts[*ppData] = std::move(text);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE StandardFileInclude::Close(LPCVOID pData)
{
    m_folderOfData.erase(pData);
    m_texts.erase(pData);
    return S_OK;
}

void IncludeBridge::Install(shaderc_compile_options_t options)
{
    shaderc_compile_options_set_include_callbacks(options, Resolve, Release, this);
}

shaderc_include_result* IncludeBridge::Resolve(void* user, const char* requested, int type, const char* requesting,
                                               size_t depth)
{
    IncludeBridge& bridge = *static_cast<IncludeBridge*>(user);
    auto opened = std::make_unique<Opened>();
    const auto parent = bridge.m_dataOfName.find(requesting != nullptr ? requesting : "");
    const LPCVOID parentData = parent != bridge.m_dataOfName.end() ? parent->second : nullptr;
    const D3D_INCLUDE_TYPE kind = type == shaderc_include_type_standard ? D3D_INCLUDE_SYSTEM : D3D_INCLUDE_LOCAL;
    UINT bytes = 0;
    ++bridge.m_includes;
    if (depth > kMaxIncludeDepth) {
        opened->error = FormatMessageText(kIncludeTooDeep, requested, static_cast<int>(kMaxIncludeDepth));
    } else if (bridge.m_includes > kMaxIncludes) {
        opened->error = FormatMessageText(kTooManyIncludes, requested, kMaxIncludes);
    } else if (SUCCEEDED(bridge.m_handler->Open(kind, requested, parentData, &opened->data, &bytes)) &&
               (opened->data != nullptr || bytes == 0)) {
        opened->name = requested;
        bridge.m_dataOfName[opened->name] = opened->data;
        opened->result.content = static_cast<const char*>(opened->data);
        opened->result.content_length = bytes;
    } else {
        opened->error = FormatMessageText(kIncludeNotOpened, requested);
    }
    if (!opened->error.empty()) {
        opened->data = nullptr;
        opened->result.content = opened->error.c_str();
        opened->result.content_length = opened->error.size();
    }
    opened->result.source_name = opened->name.c_str();
    opened->result.source_name_length = opened->name.size();
    opened->result.user_data = opened.get();
    return &opened.release()->result;
}

void IncludeBridge::Release(void* user, shaderc_include_result* result)
{
    IncludeBridge& bridge = *static_cast<IncludeBridge*>(user);
    std::unique_ptr<Opened> opened(static_cast<Opened*>(result->user_data));
    if (opened->data == nullptr) return;
    const auto entry = bridge.m_dataOfName.find(opened->name);
    if (entry != bridge.m_dataOfName.end() && entry->second == opened->data) bridge.m_dataOfName.erase(entry);
    bridge.m_handler->Close(opened->data);
}

}  // namespace halvo::d3dcompiler
