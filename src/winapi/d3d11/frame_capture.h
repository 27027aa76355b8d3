// Presented frames written as PNG files, so that a person can look at what a
// program showed without a display. HALVO_D3D11_OUTPUT chooses it when a swap
// chain is made: "capture:<folder>" writes every frame, "capture:<folder>:<n>"
// every n-th (the first, the (n+1)-th ...). A swap chain's files are
// "swapchain-<k>-frame-<m>.png": k counts the capturing swap chains of the
// process from 1, m the swap chain's presents from 1.
#pragma once

#include <memory>
#include <string>

#include "winapi/d3d11/backend.h"

namespace halvo::d3d11 {

class FrameCapture {
public:
    // The capture HALVO_D3D11_OUTPUT names, or null (a value that names none is logged).
    static std::unique_ptr<FrameCapture> FromEnvironment();

    FrameCapture(std::string folder, unsigned every);

    // Called before each present with the buffer about to be shown. A frame
    // that cannot be written is logged once and ends this swap chain's
    // capture; the present itself goes on.
    void Present(Backend& backend, BackendResource& buffer, const ResourceShape& shape);

private:
    bool Write(Backend& backend, BackendResource& buffer, const ResourceShape& shape, const std::string& path,
               std::string* failure);

    const std::string folder_;
    const unsigned every_;
    const unsigned serial_;
    unsigned presents_ = 0;
    bool stopped_ = false;
};

}  // namespace halvo::d3d11
