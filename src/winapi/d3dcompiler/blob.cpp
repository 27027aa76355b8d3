#include "winapi/d3dcompiler/blob.h"

#include <new>
#include <string>

namespace halvo::d3dcompiler {

LPVOID STDMETHODCALLTYPE Blob::GetBufferPointer() { return bytes_.empty() ? nullptr : bytes_.data(); }

SIZE_T STDMETHODCALLTYPE Blob::GetBufferSize() { return bytes_.size(); }

ID3DBlob* MakeBlob(std::vector<unsigned char> bytes) { return new (std::nothrow) Blob(std::move(bytes)); }

ID3DBlob* MakeTextBlob(const std::string& text)
{
    std::vector<unsigned char> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return MakeBlob(std::move(bytes));
}

}  // namespace halvo::d3dcompiler
