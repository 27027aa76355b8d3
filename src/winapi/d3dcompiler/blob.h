// The blob objects that D3DCompile and D3DCreateBlob hand out.
#pragma once

#include <d3dcommon.h>

#include <cstddef>
#include <string>
#include <vector>

#include "winapi/com/com_object.h"

namespace halvo::d3dcompiler {

// A reference-counted block of bytes; it deletes itself on its last Release.
class Blob final : public com::Object<ID3DBlob> {
public:
    explicit Blob(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {}

    LPVOID STDMETHODCALLTYPE GetBufferPointer() override;
    SIZE_T STDMETHODCALLTYPE GetBufferSize() override;

private:
    ~Blob() override = default;

    std::vector<unsigned char> bytes_;
};

// A new blob holding bytes, or null when it cannot be allocated.
ID3DBlob* MakeBlob(std::vector<unsigned char> bytes);

// A new blob holding the text and its terminating zero.
ID3DBlob* MakeTextBlob(const std::string& text);

}  // namespace halvo::d3dcompiler
