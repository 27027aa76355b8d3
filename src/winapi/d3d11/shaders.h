#pragma once

#include <d3d11_1.h>

#include <memory>
#include <string>
#include <vector>

#include "winapi/d3d11/backend.h"
#include "winapi/d3d11/device_child.h"

namespace halvo::d3d11 {

template <typename Primary>
class ShaderObject : public DeviceChild<Primary> {
public:
    ShaderObject(Device* device, std::unique_ptr<BackendShader> shader, std::vector<SignatureElement> inputs,
                 std::vector<SignatureElement> outputs)
        : DeviceChild<Primary>(device),
          shader_(std::move(shader)),
          inputs_(std::move(inputs)),
          outputs_(std::move(outputs))
    {}

    BackendShader* shader() const { return shader_.get(); }
    const std::vector<SignatureElement>& inputs() const { return inputs_; }
    const std::vector<SignatureElement>& outputs() const { return outputs_; }

private:
    std::unique_ptr<BackendShader> shader_;
    std::vector<SignatureElement> inputs_;
    std::vector<SignatureElement> outputs_;
};

using VertexShader = ShaderObject<ID3D11VertexShader>;
using PixelShader = ShaderObject<ID3D11PixelShader>;

// The elements of an input layout with their offsets resolved and their
// semantic names owned by the layout.
class InputLayout final : public DeviceChild<ID3D11InputLayout> {
public:
    InputLayout(Device* device, const D3D11_INPUT_ELEMENT_DESC* elements, UINT count, const UINT* offsets);

    const std::vector<D3D11_INPUT_ELEMENT_DESC>& elements() const { return elements_; }

private:
    std::vector<std::string> names_;
    std::vector<D3D11_INPUT_ELEMENT_DESC> elements_;
};

}  // namespace halvo::d3d11
