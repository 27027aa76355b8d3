// #include requests of one compile, served by the caller's ID3DInclude.
#pragma once

#include <d3dcommon.h>
#include <shaderc/shaderc.h>

#include <map>
#include <memory>
#include <string>

namespace halvo::d3dcompiler {

// Opens files relative to the folder of the file that includes them; the
// handler behind D3D_COMPILE_STANDARD_FILE_INCLUDE for one compile.
class StandardFileInclude final : public ID3DInclude {
public:
    // The folder of the top-level source: that of its name, else the current one.
    explicit StandardFileInclude(const char* sourceName);

    HRESULT STDMETHODCALLTYPE Open(D3D_INCLUDE_TYPE IncludeType, LPCSTR pFileName, LPCVOID pParentData, LPCVOID* ppData,
                                   UINT* pBytes) override;
    HRESULT STDMETHODCALLTYPE Close(LPCVOID pData) override;

private:
    std::string m_topFolder;
    std::map<LPCVOID, std::string> m_folderOfData;            // folder of each open file, by its text
    std::map<LPCVOID, std::unique_ptr<std::string>> m_texts;  // the open files' texts
};

// Connects the HLSL front end's include callbacks to an ID3DInclude. Lives
// for one compile on the compiling thread. A file that includes itself
// without a guard would nest without end, and two such includes per file
// double the work at each level: includes deeper than kMaxIncludeDepth, and
// any beyond kMaxIncludes in one compile, are refused with an error.
class IncludeBridge {
public:
    static constexpr size_t kMaxIncludeDepth = 32;
    static constexpr int kMaxIncludes = 4096;

    explicit IncludeBridge(ID3DInclude* handler) : m_handler(handler) {}
    IncludeBridge(const IncludeBridge&) = delete;
    IncludeBridge& operator=(const IncludeBridge&) = delete;

    void Install(shaderc_compile_options_t options);

private:
    struct Opened {
        shaderc_include_result result{};
        std::string name;
        std::string error;
        LPCVOID data = nullptr;  // handed back to the handler's Close
    };

    static shaderc_include_result* Resolve(void* bridge, const char* requested, int type, const char* requesting,
                                           size_t depth);
    static void Release(void* bridge, shaderc_include_result* result);

    ID3DInclude* m_handler;
    int m_includes = 0;                           // includes asked for so far
    std::map<std::string, LPCVOID> m_dataOfName;  // text of each included name, for its own includes
};

}  // namespace halvo::d3dcompiler
