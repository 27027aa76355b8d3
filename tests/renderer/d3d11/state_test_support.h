// What the tests of the renderer's states, buffers and draws share: the
// initialised renderer registered as the front end's running renderer, the
// layer's device and context found through a buffer the renderer made, a
// program drawing vertex colours, and read-back of the back buffer.
#pragma once

#include <d3d11.h>

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/shader_record.h"
#include "renderer/d3d11/texture_test_support.h"

// Holds one reference to a platform object.
template <typename T>
class Held {
public:
    Held() = default;
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ~Held() { Reset(); }
    void Reset()
    {
        if (object_ != nullptr) object_->Release();
        object_ = nullptr;
    }
    T** Put()
    {
        Reset();
        return &object_;
    }
    T* get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T* object_ = nullptr;
};

class StateTest : public TextureRendererTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The renderer's device and immediate context.
    void FindDevice();
    // Lets go of the device and shuts the renderer down, so that a test can
    // change the layer before Restart initialises it again.
    void ShutDown();
    bool Restart();
    // Shuts the renderer down and initialises a new one on a device that
    // cannot read B8G8R8A8 vertices (capability bits are never cleared, so
    // the object is made again).
    void RestartWithoutBgraVertexColours();
    // The first bytes of a device buffer, read through a staging copy.
    std::vector<uint8_t> ReadBuffer(ID3D11Buffer* buffer, uint32_t byteCount);
    // The colour target bound first (the back buffer in a frame), as R, G, B, A.
    RgbaImage ReadBoundTarget();

    // Whether an error report with the description was logged, its extra
    // text last.
    static bool IsReported(const std::string& description, const std::string& extra);

    // A program of the vertex format POSITION + COLOR (mask 3) whose pixels
    // are the vertex colour times the pixel constant "tint" (white), made and
    // bound through the renderer.
    bool MakeColourProgram();

    Held<ID3D11Device> device_;
    Held<ID3D11DeviceContext> context_;
    HV_Shader shader_;
};
