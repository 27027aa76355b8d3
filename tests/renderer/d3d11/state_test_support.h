// What the tests of the renderer's states, buffers and draws share: the
// renderer initialised on the test's back end and registered as the front
// end's running renderer, the layer's device and context found through a
// buffer the renderer made, a program drawing vertex colours, and read-back
// of the back buffer.
#pragma once

#include <d3d11.h>

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/shader_record.h"
#include "renderer/d3d11/renderer_test_support.h"

// Holds one reference to a platform object.
template <typename T>
class Held {
public:
    Held() = default;
    explicit Held(T* object) : object_(object) {}
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

// B, G, R, A bytes of the back buffer, rows without gaps.
struct BackBufferPixels {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> bytes;
    uint32_t At(uint32_t x, uint32_t y) const;  // the bytes as read, byte 0 lowest
};

class StateTest : public RendererTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The renderer's device and immediate context (set after Initialize).
    void FindDevice();
    // The first bytes of a device buffer, read through a staging copy.
    std::vector<uint8_t> ReadBuffer(ID3D11Buffer* buffer, uint32_t byteCount);
    // The back buffer the frame draws to.
    BackBufferPixels ReadBackBuffer();
    // Compares with the expected B, G, R, A values; on a mismatch writes
    // <name>-expected.png and <name>-actual.png into pixel-failures/ in the
    // working folder and names them.
    void ExpectPixels(const std::string& name, const BackBufferPixels& actual, const std::vector<uint32_t>& expected);

    // A program of the vertex format POSITION + COLOR (mask 3) whose pixels
    // are the vertex colour times the pixel constant "tint", made and bound
    // through the renderer. False when the renderer cannot make programs.
    bool MakeColourProgram();

    Held<ID3D11Device> device_;
    Held<ID3D11DeviceContext> context_;
    HV_Shader shader_;
};

// The four bytes B, G, R, A as one value, byte 0 lowest.
uint32_t Bgra(uint8_t b, uint8_t g, uint8_t r, uint8_t a);
