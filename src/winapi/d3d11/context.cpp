#include "winapi/d3d11/context.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>

#include "winapi/d3d11/device.h"
#include "winapi/d3d11/format_table.h"
#include "winapi/d3d11/hooks.h"
#include "winapi/d3d11/messages.h"
#include "winapi/d3d11/resource_rules.h"

namespace halvo::d3d11 {

namespace {

// Whether every object a call names was made by this context's device.
template <typename Object>
bool FromDevice(const char* entryPoint, Device* device, Object* object)
{
    if (object == nullptr || object->device() == device) return true;
    ReportError(entryPoint, "an object of another device was passed.");
    return false;
}

// A view the call cannot do without: false, with the complaint, when it is
// null or was made by another device.
template <typename View>
bool ViewGiven(const char* entryPoint, Device* device, View* view)
{
    if (view == nullptr) {
        ReportError(entryPoint, kViewNull);
        return false;
    }
    return FromDevice(entryPoint, device, view);
}

// Whether every resource a call names was made by this context's device.
bool ResourcesOfDevice(const char* entryPoint, const Device* device,
                       std::initializer_list<const ResourceCore*> resources)
{
    for (const ResourceCore* resource : resources) {
        if (resource->OwningDevice() != device) {
            ReportError(entryPoint, kResourceOfAnotherDevice);
            return false;
        }
    }
    return true;
}

// A box given with no extent: the platform updates or copies nothing for it.
bool IsEmptyBox(const D3D11_BOX* box)
{
    return box != nullptr && (box->left >= box->right || box->top >= box->bottom || box->front >= box->back);
}

bool SlotsFit(const char* entryPoint, UINT start, UINT count, UINT slots)
{
    if (start <= slots && count <= slots - start) return true;
    ReportError(entryPoint, "slots %u..%u are past the %u slots.", start, start + count, slots);
    return false;
}

// Whether every buffer a call binds is of this context's device and was made
// with the bind flag of the slots it goes to.
bool BuffersBindAs(const char* entryPoint, Device* device, ID3D11Buffer* const* buffers, UINT start, UINT count,
                   UINT bindFlag, const char* bindFlagName)
{
    for (UINT index = 0; buffers != nullptr && index < count; ++index) {
        auto* buffer = static_cast<Buffer*>(buffers[index]);
        if (!FromDevice(entryPoint, device, buffer)) return false;
        if (buffer != nullptr && !(buffer->desc().BindFlags & bindFlag)) {
            ReportError(entryPoint, "the buffer for slot %u was not made with %s.", start + index, bindFlagName);
            return false;
        }
    }
    return true;
}

// Binds a shader of this device to a stage's slot; class instances are not offered.
template <typename Shader, typename Interface>
void BindShader(const char* entryPoint, Device* device, Interface* shader, UINT instanceCount, com::Held<Shader>& slot)
{
    auto* ours = static_cast<Shader*>(shader);
    if (!FromDevice(entryPoint, device, ours)) return;
    if (instanceCount != 0) {
        ReportError(entryPoint, kClassInstancesUnsupported);
        return;
    }
    slot = com::Held<Shader>(ours);
}

template <typename Interface, typename Object>
void GiveOut(const com::Held<Object>& held, Interface** out)
{
    if (out == nullptr) return;
    *out = held.get();
    if (*out != nullptr) (*out)->AddRef();
}

// Hands out slots start..start+count of a stage's array; slots past its end read as null.
template <typename Interface, typename Object, size_t Slots>
void GiveOutSlots(const com::Held<Object> (&slots)[Slots], UINT start, UINT count, Interface** out)
{
    if (out == nullptr) return;
    for (UINT index = 0; index < count; ++index) {
        out[index] = nullptr;
        if (start + index < Slots) GiveOut(slots[start + index], &out[index]);
    }
}

// Whether every object in a bound range was made by this context's device.
template <typename Object, typename Interface>
bool AllFromDevice(const char* entryPoint, Device* device, Interface* const* objects, UINT count)
{
    for (UINT index = 0; objects != nullptr && index < count; ++index) {
        if (!FromDevice(entryPoint, device, static_cast<Object*>(objects[index]))) return false;
    }
    return true;
}

bool IsTopology(D3D11_PRIMITIVE_TOPOLOGY topology)
{
    return (topology >= D3D11_PRIMITIVE_TOPOLOGY_POINTLIST && topology <= D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP) ||
           (topology >= D3D_PRIMITIVE_TOPOLOGY_LINELIST_ADJ && topology <= D3D_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP_ADJ) ||
           (topology >= D3D_PRIMITIVE_TOPOLOGY_1_CONTROL_POINT_PATCHLIST &&
            topology <= D3D_PRIMITIVE_TOPOLOGY_32_CONTROL_POINT_PATCHLIST);
}

// Fills `count` entries (zero past the ones set) when `out` is given, then
// answers how many are set.
template <typename Record>
void CopyOut(const std::vector<Record>& set, UINT* count, Record* out)
{
    if (count == nullptr) return;
    for (UINT index = 0; out != nullptr && index < *count; ++index)
        out[index] = index < set.size() ? set[index] : Record{};
    *count = UINT(set.size());
}

BoundTextureView Bound(ResourceCore* resource, const ViewRange& range)
{
    BoundTextureView bound;
    bound.resource = &resource->storage();
    bound.shape = &resource->shape();
    bound.range = range;
    return bound;
}

// The size of the mip level a render-target or depth view sees.
void ViewSize(ResourceCore* resource, const ViewRange& range, UINT* width, UINT* height)
{
    *width = resource->shape().WidthAt(range.firstMip);
    *height = resource->shape().HeightAt(range.firstMip);
}

}  // namespace

ImmediateContext::ImmediateContext(Device* device) : WithPrivateData(com::StartInternal{}), device_(device) {}

void ImmediateContext::HandOut()
{
    if (HandedOutReferences() == 0) device_->AddInternalReference();
    AddRef();
}

void ImmediateContext::LastReferenceReleased()
{
    if (device_->HandedOutReferences() == 0) ClearState();
    device_->ReleaseInternalReference();
}

void ImmediateContext::GetDevice(ID3D11Device** device)
{
    if (device == nullptr) return;
    *device = device_;
    device_->AddRef();
}

void ImmediateContext::SetConstantBuffers(const char* entryPoint, com::Held<Buffer>* slots, UINT start, UINT count,
                                          ID3D11Buffer* const* buffers)
{
    if (!SlotsFit(entryPoint, start, count, D3D11_COMMONSHADER_CONSTANT_BUFFER_API_SLOT_COUNT)) return;
    if (!BuffersBindAs(entryPoint, device_, buffers, start, count, D3D11_BIND_CONSTANT_BUFFER,
                       "D3D11_BIND_CONSTANT_BUFFER"))
        return;
    for (UINT index = 0; index < count; ++index) {
        slots[start + index] = com::Held<Buffer>(buffers == nullptr ? nullptr : static_cast<Buffer*>(buffers[index]));
    }
}

void ImmediateContext::GetConstantBuffers(const com::Held<Buffer>* slots, UINT start, UINT count,
                                          ID3D11Buffer** buffers)
{
    if (buffers == nullptr) return;
    for (UINT index = 0; index < count; ++index) {
        const UINT slot = start + index;
        buffers[index] = nullptr;
        if (slot < D3D11_COMMONSHADER_CONSTANT_BUFFER_API_SLOT_COUNT) GiveOut(slots[slot], &buffers[index]);
    }
}

void ImmediateContext::VSSetConstantBuffers(UINT start, UINT count, ID3D11Buffer* const* buffers)
{
    SetConstantBuffers("ID3D11DeviceContext::VSSetConstantBuffers", vertexConstantBuffers_, start, count, buffers);
}

void ImmediateContext::PSSetConstantBuffers(UINT start, UINT count, ID3D11Buffer* const* buffers)
{
    SetConstantBuffers("ID3D11DeviceContext::PSSetConstantBuffers", pixelConstantBuffers_, start, count, buffers);
}

void ImmediateContext::VSGetConstantBuffers(UINT start, UINT count, ID3D11Buffer** buffers)
{
    GetConstantBuffers(vertexConstantBuffers_, start, count, buffers);
}

void ImmediateContext::PSGetConstantBuffers(UINT start, UINT count, ID3D11Buffer** buffers)
{
    GetConstantBuffers(pixelConstantBuffers_, start, count, buffers);
}

bool ImmediateContext::IsBoundAsOutput(const ResourceCore* resource) const
{
    for (const auto& target : renderTargets_) {
        if (target && target->resource() == resource) return true;
    }
    return depthStencilView_ && depthStencilView_->resource() == resource;
}

void ImmediateContext::UnbindShaderResourcesOf(const ResourceCore* resource, const char* entryPoint)
{
    for (UINT slot = 0; slot < D3D11_COMMONSHADER_INPUT_RESOURCE_SLOT_COUNT; ++slot) {
        if (pixelResources_[slot] && pixelResources_[slot]->resource() == resource) {
            ReportWarning(entryPoint,
                          "the resource is still bound to pixel shader resource slot %u; that slot is now null.", slot);
            pixelResources_[slot] = com::Held<ShaderResourceView>();
        }
    }
}

void ImmediateContext::PSSetShaderResources(UINT start, UINT count, ID3D11ShaderResourceView* const* views)
{
    static const char* const kEntry = "ID3D11DeviceContext::PSSetShaderResources";
    if (!SlotsFit(kEntry, start, count, D3D11_COMMONSHADER_INPUT_RESOURCE_SLOT_COUNT)) return;
    if (!AllFromDevice<ShaderResourceView>(kEntry, device_, views, count)) return;
    for (UINT index = 0; index < count; ++index) {
        auto* view = views == nullptr ? nullptr : static_cast<ShaderResourceView*>(views[index]);
        if (view != nullptr && IsBoundAsOutput(view->resource())) {
            ReportWarning(kEntry, "the resource for slot %u is bound as a render target; the slot is set to null.",
                          start + index);
            view = nullptr;
        }
        pixelResources_[start + index] = com::Held<ShaderResourceView>(view);
    }
    pixelResourceEnd_ = std::max(pixelResourceEnd_, start + count);
}

void ImmediateContext::PSGetShaderResources(UINT start, UINT count, ID3D11ShaderResourceView** views)
{
    GiveOutSlots(pixelResources_, start, count, views);
}

void ImmediateContext::PSSetSamplers(UINT start, UINT count, ID3D11SamplerState* const* samplers)
{
    static const char* const kEntry = "ID3D11DeviceContext::PSSetSamplers";
    if (!SlotsFit(kEntry, start, count, D3D11_COMMONSHADER_SAMPLER_SLOT_COUNT)) return;
    if (!AllFromDevice<SamplerState>(kEntry, device_, samplers, count)) return;
    for (UINT index = 0; index < count; ++index) {
        pixelSamplers_[start + index] =
            com::Held<SamplerState>(samplers == nullptr ? nullptr : static_cast<SamplerState*>(samplers[index]));
    }
}

void ImmediateContext::PSGetSamplers(UINT start, UINT count, ID3D11SamplerState** samplers)
{
    GiveOutSlots(pixelSamplers_, start, count, samplers);
}

void ImmediateContext::VSSetShader(ID3D11VertexShader* shader, ID3D11ClassInstance* const*, UINT instanceCount)
{
    BindShader("ID3D11DeviceContext::VSSetShader", device_, shader, instanceCount, vertexShader_);
    stagesChecked_ = false;
}

void ImmediateContext::PSSetShader(ID3D11PixelShader* shader, ID3D11ClassInstance* const*, UINT instanceCount)
{
    BindShader("ID3D11DeviceContext::PSSetShader", device_, shader, instanceCount, pixelShader_);
    stagesChecked_ = false;
}

void ImmediateContext::VSGetShader(ID3D11VertexShader** shader, ID3D11ClassInstance**, UINT* instanceCount)
{
    GiveOut(vertexShader_, shader);
    if (instanceCount != nullptr) *instanceCount = 0;
}

void ImmediateContext::PSGetShader(ID3D11PixelShader** shader, ID3D11ClassInstance**, UINT* instanceCount)
{
    GiveOut(pixelShader_, shader);
    if (instanceCount != nullptr) *instanceCount = 0;
}

void ImmediateContext::IASetInputLayout(ID3D11InputLayout* layout)
{
    auto* ours = static_cast<InputLayout*>(layout);
    if (!FromDevice("ID3D11DeviceContext::IASetInputLayout", device_, ours)) return;
    inputLayout_ = com::Held<InputLayout>(ours);
    stagesChecked_ = false;
}

void ImmediateContext::IAGetInputLayout(ID3D11InputLayout** layout) { GiveOut(inputLayout_, layout); }

void ImmediateContext::IASetVertexBuffers(UINT start, UINT count, ID3D11Buffer* const* buffers, const UINT* strides,
                                          const UINT* offsets)
{
    static const char* const kEntry = "ID3D11DeviceContext::IASetVertexBuffers";
    if (!SlotsFit(kEntry, start, count, D3D11_IA_VERTEX_INPUT_RESOURCE_SLOT_COUNT)) return;
    if (buffers != nullptr && count > 0 && (strides == nullptr || offsets == nullptr)) {
        ReportError(kEntry, "strides and offsets are needed with buffers.");
        return;
    }
    if (!BuffersBindAs(kEntry, device_, buffers, start, count, D3D11_BIND_VERTEX_BUFFER, "D3D11_BIND_VERTEX_BUFFER"))
        return;
    for (UINT index = 0; index < count; ++index) {
        VertexBinding& binding = vertexBuffers_[start + index];
        binding.buffer = com::Held<Buffer>(buffers == nullptr ? nullptr : static_cast<Buffer*>(buffers[index]));
        binding.stride = buffers == nullptr ? 0 : strides[index];
        binding.offset = buffers == nullptr ? 0 : offsets[index];
    }
}

void ImmediateContext::IAGetVertexBuffers(UINT start, UINT count, ID3D11Buffer** buffers, UINT* strides, UINT* offsets)
{
    for (UINT index = 0; index < count; ++index) {
        const bool inRange = start + index < D3D11_IA_VERTEX_INPUT_RESOURCE_SLOT_COUNT;
        const VertexBinding empty;
        const VertexBinding& binding = inRange ? vertexBuffers_[start + index] : empty;
        if (buffers != nullptr) {
            buffers[index] = nullptr;
            GiveOut(binding.buffer, &buffers[index]);
        }
        if (strides != nullptr) strides[index] = binding.stride;
        if (offsets != nullptr) offsets[index] = binding.offset;
    }
}

void ImmediateContext::IASetIndexBuffer(ID3D11Buffer* buffer, DXGI_FORMAT format, UINT offset)
{
    static const char* const kEntry = "ID3D11DeviceContext::IASetIndexBuffer";
    auto* ours = static_cast<Buffer*>(buffer);
    if (!FromDevice(kEntry, device_, ours)) return;
    if (ours != nullptr) {
        if (!(ours->desc().BindFlags & D3D11_BIND_INDEX_BUFFER)) {
            ReportError(kEntry, "the buffer was not made with D3D11_BIND_INDEX_BUFFER.");
            return;
        }
        if (format != DXGI_FORMAT_R16_UINT && format != DXGI_FORMAT_R32_UINT) {
            ReportError(kEntry, "format %d is neither DXGI_FORMAT_R16_UINT nor DXGI_FORMAT_R32_UINT.", int(format));
            return;
        }
        if (offset % (format == DXGI_FORMAT_R16_UINT ? 2 : 4) != 0) {
            ReportError(kEntry, "offset %u is not a multiple of the index size.", offset);
            return;
        }
    }
    indexBuffer_ = com::Held<Buffer>(ours);
    indexFormat_ = ours == nullptr ? DXGI_FORMAT_UNKNOWN : format;
    indexOffset_ = ours == nullptr ? 0 : offset;
}

void ImmediateContext::IAGetIndexBuffer(ID3D11Buffer** buffer, DXGI_FORMAT* format, UINT* offset)
{
    GiveOut(indexBuffer_, buffer);
    if (format != nullptr) *format = indexFormat_;
    if (offset != nullptr) *offset = indexOffset_;
}

void ImmediateContext::IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY topology)
{
    if (!IsTopology(topology)) {
        ReportError("ID3D11DeviceContext::IASetPrimitiveTopology", "topology %d is not a D3D11_PRIMITIVE_TOPOLOGY.",
                    int(topology));
        return;
    }
    topology_ = topology;
}

void ImmediateContext::IAGetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY* topology)
{
    if (topology != nullptr) *topology = topology_;
}

void ImmediateContext::OMSetRenderTargets(UINT count, ID3D11RenderTargetView* const* views,
                                          ID3D11DepthStencilView* depthView)
{
    static const char* const kEntry = "ID3D11DeviceContext::OMSetRenderTargets";
    if (count > D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT) {
        ReportError(kEntry, "%u render targets are more than %d.", count, D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT);
        return;
    }
    auto* depth = static_cast<DepthStencilView*>(depthView);
    if (!FromDevice(kEntry, device_, depth)) return;
    UINT width = 0;
    UINT height = 0;
    bool sized = false;
    auto sameSize = [&](ResourceCore* resource, const ViewRange& range) {
        UINT viewWidth;
        UINT viewHeight;
        ViewSize(resource, range, &viewWidth, &viewHeight);
        if (!sized) {
            width = viewWidth;
            height = viewHeight;
            sized = true;
        }
        return viewWidth == width && viewHeight == height;
    };
    for (UINT index = 0; views != nullptr && index < count; ++index) {
        auto* view = static_cast<RenderTargetView*>(views[index]);
        if (!FromDevice(kEntry, device_, view)) return;
        if (view != nullptr && !sameSize(view->resource(), view->range())) {
            ReportError(kEntry, "the render targets differ in size.");
            return;
        }
    }
    if (depth != nullptr && !sameSize(depth->resource(), depth->range())) {
        ReportError(kEntry, "the depth-stencil view differs in size from the render targets.");
        return;
    }
    for (UINT index = 0; index < D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT; ++index) {
        auto* view = (views != nullptr && index < count) ? static_cast<RenderTargetView*>(views[index]) : nullptr;
        renderTargets_[index] = com::Held<RenderTargetView>(view);
        if (view != nullptr) UnbindShaderResourcesOf(view->resource(), kEntry);
    }
    depthStencilView_ = com::Held<DepthStencilView>(depth);
    if (depth != nullptr) UnbindShaderResourcesOf(depth->resource(), kEntry);
}

void ImmediateContext::OMGetRenderTargets(UINT count, ID3D11RenderTargetView** views,
                                          ID3D11DepthStencilView** depthView)
{
    for (UINT index = 0; views != nullptr && index < count; ++index) {
        views[index] = nullptr;
        if (index < D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT) GiveOut(renderTargets_[index], &views[index]);
    }
    GiveOut(depthStencilView_, depthView);
}

void ImmediateContext::OMSetBlendState(ID3D11BlendState* state, const FLOAT factor[4], UINT sampleMask)
{
    auto* ours = static_cast<BlendState*>(state);
    if (!FromDevice("ID3D11DeviceContext::OMSetBlendState", device_, ours)) return;
    blendState_ = com::Held<BlendState>(ours);
    for (int c = 0; c < 4; ++c) blendFactor_[c] = factor == nullptr ? 1.0f : factor[c];
    sampleMask_ = sampleMask;
}

void ImmediateContext::OMGetBlendState(ID3D11BlendState** state, FLOAT factor[4], UINT* sampleMask)
{
    GiveOut(blendState_, state);
    if (factor != nullptr) std::memcpy(factor, blendFactor_, sizeof blendFactor_);
    if (sampleMask != nullptr) *sampleMask = sampleMask_;
}

void ImmediateContext::OMSetDepthStencilState(ID3D11DepthStencilState* state, UINT reference)
{
    auto* ours = static_cast<DepthStencilState*>(state);
    if (!FromDevice("ID3D11DeviceContext::OMSetDepthStencilState", device_, ours)) return;
    depthStencilState_ = com::Held<DepthStencilState>(ours);
    stencilReference_ = reference;
}

void ImmediateContext::OMGetDepthStencilState(ID3D11DepthStencilState** state, UINT* reference)
{
    GiveOut(depthStencilState_, state);
    if (reference != nullptr) *reference = stencilReference_;
}

void ImmediateContext::RSSetState(ID3D11RasterizerState* state)
{
    auto* ours = static_cast<RasterizerState*>(state);
    if (!FromDevice("ID3D11DeviceContext::RSSetState", device_, ours)) return;
    rasterizerState_ = com::Held<RasterizerState>(ours);
}

void ImmediateContext::RSGetState(ID3D11RasterizerState** state) { GiveOut(rasterizerState_, state); }

void ImmediateContext::RSSetViewports(UINT count, const D3D11_VIEWPORT* viewports)
{
    static const char* const kEntry = "ID3D11DeviceContext::RSSetViewports";
    if (count > D3D11_VIEWPORT_AND_SCISSORRECT_OBJECT_COUNT_PER_PIPELINE || (count > 0 && viewports == nullptr)) {
        ReportError(kEntry, "%u viewports are more than %d, or the viewports are null.", count,
                    D3D11_VIEWPORT_AND_SCISSORRECT_OBJECT_COUNT_PER_PIPELINE);
        return;
    }
    for (UINT index = 0; index < count; ++index) {
        const D3D11_VIEWPORT& viewport = viewports[index];
        if (!(viewport.Width >= 0.0f) || !(viewport.Height >= 0.0f) || !(viewport.MinDepth >= 0.0f) ||
            !(viewport.MaxDepth <= 1.0f) || !(viewport.MinDepth <= viewport.MaxDepth)) {
            ReportError(kEntry, "viewport %u has a negative size or depths outside 0..1.", index);
            return;
        }
    }
    viewports_.assign(viewports, viewports + count);
}

void ImmediateContext::RSGetViewports(UINT* count, D3D11_VIEWPORT* viewports) { CopyOut(viewports_, count, viewports); }

void ImmediateContext::RSSetScissorRects(UINT count, const D3D11_RECT* rects)
{
    if (count > D3D11_VIEWPORT_AND_SCISSORRECT_OBJECT_COUNT_PER_PIPELINE || (count > 0 && rects == nullptr)) {
        ReportError("ID3D11DeviceContext::RSSetScissorRects",
                    "%u rectangles are more than %d, or the rectangles are null.", count,
                    D3D11_VIEWPORT_AND_SCISSORRECT_OBJECT_COUNT_PER_PIPELINE);
        return;
    }
    scissors_.assign(rects, rects + count);
}

void ImmediateContext::RSGetScissorRects(UINT* count, D3D11_RECT* rects) { CopyOut(scissors_, count, rects); }

bool ImmediateContext::ValidDraw(const char* entryPoint, bool indexed)
{
    if (device_->Removed()) return false;
    if (!vertexShader_) {
        ReportError(entryPoint, "no vertex shader is bound.");
        return false;
    }
    if (topology_ == D3D11_PRIMITIVE_TOPOLOGY_UNDEFINED) {
        ReportError(entryPoint, "no primitive topology is set.");
        return false;
    }
    const bool readsVertices = std::any_of(vertexShader_->inputs().begin(), vertexShader_->inputs().end(),
                                           [](const SignatureElement& input) { return !input.systemValue; });
    if (readsVertices && !inputLayout_) {
        ReportError(entryPoint, "the vertex shader reads vertices but no input layout is bound.");
        return false;
    }
    if (indexed && !indexBuffer_) {
        ReportError(entryPoint, "no index buffer is bound.");
        return false;
    }
    // The input layout may have been made for another vertex shader's signature. Checked again only once
    // one of the three is bound anew.
    if (!stagesChecked_) {
        if (readsVertices && !LayoutFeedsInputs(entryPoint, inputLayout_->elements().data(),
                                                UINT(inputLayout_->elements().size()), vertexShader_->inputs())) {
            return false;
        }
        if (pixelShader_ && !StagesLink(entryPoint, vertexShader_->outputs(), pixelShader_->inputs())) return false;
        stagesChecked_ = true;
    }
    if (inputLayout_) {
        for (const D3D11_INPUT_ELEMENT_DESC& element : inputLayout_->elements()) {
            if (!vertexBuffers_[element.InputSlot].buffer) {
                ReportWarning(entryPoint,
                              "input slot %u of element %s has no vertex buffer; the element reads as zero.",
                              element.InputSlot, element.SemanticName);
            }
        }
    }
    return true;
}

void ImmediateContext::SubmitDraw(const DrawCall& call)
{
    // Copied from an empty state as one block: cheaper than building each of its many slots anew.
    static const DrawState kEmpty;
    DrawState state = kEmpty;
    state.vertexShader = {vertexShader_->shader(), &vertexShader_->inputs()};
    if (pixelShader_) state.pixelShader = {pixelShader_->shader(), &pixelShader_->inputs()};
    if (inputLayout_) state.inputElements = &inputLayout_->elements();
    state.topology = topology_;
    for (UINT slot = 0; slot < D3D11_IA_VERTEX_INPUT_RESOURCE_SLOT_COUNT; ++slot) {
        const VertexBinding& binding = vertexBuffers_[slot];
        if (binding.buffer) state.vertexBuffers[slot] = {&binding.buffer->storage(), binding.stride, binding.offset};
    }
    if (indexBuffer_) state.indexBuffer = {&indexBuffer_->storage(), 0, indexOffset_};
    state.indexFormat = indexFormat_;
    for (UINT slot = 0; slot < D3D11_COMMONSHADER_CONSTANT_BUFFER_API_SLOT_COUNT; ++slot) {
        if (vertexConstantBuffers_[slot]) state.vertexConstantBuffers[slot] = &vertexConstantBuffers_[slot]->storage();
        if (pixelConstantBuffers_[slot]) state.pixelConstantBuffers[slot] = &pixelConstantBuffers_[slot]->storage();
    }
    for (UINT slot = 0; slot < pixelResourceEnd_; ++slot) {
        if (pixelResources_[slot]) {
            state.pixelResources[slot] = Bound(pixelResources_[slot]->resource(), pixelResources_[slot]->range());
        }
    }
    for (UINT slot = 0; slot < D3D11_COMMONSHADER_SAMPLER_SLOT_COUNT; ++slot) {
        if (pixelSamplers_[slot]) state.pixelSamplers[slot] = &pixelSamplers_[slot]->desc();
    }
    for (UINT slot = 0; slot < D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT; ++slot) {
        if (renderTargets_[slot])
            state.renderTargets[slot] = Bound(renderTargets_[slot]->resource(), renderTargets_[slot]->range());
    }
    if (depthStencilView_) state.depthStencil = Bound(depthStencilView_->resource(), depthStencilView_->range());
    state.viewportCount = UINT(viewports_.size());
    state.viewports = viewports_.data();
    state.scissorCount = UINT(scissors_.size());
    state.scissors = scissors_.data();
    // Without a state object the platform's defaults hold.
    state.rasterizer = rasterizerState_
                           ? rasterizerState_->desc()
                           : D3D11_RASTERIZER_DESC1{
                                 D3D11_FILL_SOLID, D3D11_CULL_BACK, FALSE, 0, 0.0f, 0.0f, TRUE, FALSE, FALSE, FALSE, 0};
    if (blendState_) {
        state.blend = blendState_->desc();
    } else {
        for (D3D11_RENDER_TARGET_BLEND_DESC1& target : state.blend.RenderTarget) {
            target = {FALSE,
                      FALSE,
                      D3D11_BLEND_ONE,
                      D3D11_BLEND_ZERO,
                      D3D11_BLEND_OP_ADD,
                      D3D11_BLEND_ONE,
                      D3D11_BLEND_ZERO,
                      D3D11_BLEND_OP_ADD,
                      D3D11_LOGIC_OP_NOOP,
                      D3D11_COLOR_WRITE_ENABLE_ALL};
        }
    }
    std::memcpy(state.blendFactor, blendFactor_, sizeof blendFactor_);
    state.sampleMask = sampleMask_;
    if (depthStencilState_) {
        state.depthStencilState = depthStencilState_->desc();
    } else {
        const D3D11_DEPTH_STENCILOP_DESC keep{D3D11_STENCIL_OP_KEEP, D3D11_STENCIL_OP_KEEP, D3D11_STENCIL_OP_KEEP,
                                              D3D11_COMPARISON_ALWAYS};
        state.depthStencilState = {TRUE,
                                   D3D11_DEPTH_WRITE_MASK_ALL,
                                   D3D11_COMPARISON_LESS,
                                   FALSE,
                                   D3D11_DEFAULT_STENCIL_READ_MASK,
                                   D3D11_DEFAULT_STENCIL_WRITE_MASK,
                                   keep,
                                   keep};
    }
    state.stencilReference = stencilReference_;
    device_->backend().Draw(state, call);
    device_->CountDraw();
}

void ImmediateContext::Draw(UINT vertexCount, UINT startVertex)
{
    if (!ValidDraw("ID3D11DeviceContext::Draw", false)) return;
    SubmitDraw({false, vertexCount, 1, startVertex, 0, 0});
}

void ImmediateContext::DrawInstanced(UINT vertexCount, UINT instanceCount, UINT startVertex, UINT startInstance)
{
    if (!ValidDraw("ID3D11DeviceContext::DrawInstanced", false)) return;
    SubmitDraw({false, vertexCount, instanceCount, startVertex, 0, startInstance});
}

void ImmediateContext::DrawIndexed(UINT indexCount, UINT startIndex, INT baseVertex)
{
    if (!ValidDraw("ID3D11DeviceContext::DrawIndexed", true)) return;
    SubmitDraw({true, indexCount, 1, startIndex, baseVertex, 0});
}

void ImmediateContext::DrawIndexedInstanced(UINT indexCount, UINT instanceCount, UINT startIndex, INT baseVertex,
                                            UINT startInstance)
{
    if (!ValidDraw("ID3D11DeviceContext::DrawIndexedInstanced", true)) return;
    SubmitDraw({true, indexCount, instanceCount, startIndex, baseVertex, startInstance});
}

HRESULT ImmediateContext::Map(ID3D11Resource* resource, UINT subresource, D3D11_MAP type, UINT flags,
                              D3D11_MAPPED_SUBRESOURCE* mapped)
{
    static const char* const kEntry = "ID3D11DeviceContext::Map";
    if (mapped != nullptr) *mapped = {};
    HRESULT planned;
    if (hooks::PlannedFailure(kEntry, &planned)) return planned;
    ResourceCore* core = CoreOf(resource);
    if (core == nullptr || mapped == nullptr) {
        ReportError(kEntry, "the resource or the mapped-subresource record is null.");
        return E_INVALIDARG;
    }
    if (!ResourcesOfDevice(kEntry, device_, {core})) return E_INVALIDARG;
    const ResourceShape& shape = core->shape();
    if (subresource >= shape.SubresourceCount()) {
        ReportError(kEntry, kSubresourcePastEnd, subresource, shape.SubresourceCount());
        return E_INVALIDARG;
    }
    if (flags & ~UINT(D3D11_MAP_FLAG_DO_NOT_WAIT)) {
        ReportError(kEntry, "MapFlags 0x%x name unknown flags.", flags);
        return E_INVALIDARG;
    }
    if (core->MappedAs(subresource) != 0) {
        ReportError(kEntry, "subresource %u is already mapped.", subresource);
        return E_INVALIDARG;
    }
    const bool canRead = (shape.cpuAccessFlags & D3D11_CPU_ACCESS_READ) != 0;
    const bool canWrite = (shape.cpuAccessFlags & D3D11_CPU_ACCESS_WRITE) != 0;
    bool allowed = false;
    switch (type) {
    case D3D11_MAP_READ: allowed = shape.usage == D3D11_USAGE_STAGING && canRead; break;
    case D3D11_MAP_WRITE: allowed = shape.usage == D3D11_USAGE_STAGING && canWrite; break;
    case D3D11_MAP_READ_WRITE: allowed = shape.usage == D3D11_USAGE_STAGING && canRead && canWrite; break;
    case D3D11_MAP_WRITE_DISCARD: allowed = shape.usage == D3D11_USAGE_DYNAMIC; break;
    case D3D11_MAP_WRITE_NO_OVERWRITE:
        allowed = shape.usage == D3D11_USAGE_DYNAMIC && shape.dimension == D3D11_RESOURCE_DIMENSION_BUFFER &&
                  (!(shape.bindFlags & (D3D11_BIND_CONSTANT_BUFFER | D3D11_BIND_SHADER_RESOURCE)) ||
                   device_->GetFeatureLevel() >= D3D_FEATURE_LEVEL_11_1);
        break;
    }
    if (!allowed) {
        ReportError(kEntry, "map type %d is not allowed on a resource of usage %d with CPU access 0x%x.", int(type),
                    int(shape.usage), shape.cpuAccessFlags);
        return E_INVALIDARG;
    }
    if (device_->Removed()) return DXGI_ERROR_DEVICE_REMOVED;
    UINT rowPitch = 0;
    UINT depthPitch = 0;
    void* data = core->storage().Map(subresource, type, &rowPitch, &depthPitch);
    if (data == nullptr) return E_OUTOFMEMORY;
    core->SetMapped(subresource, type);
    *mapped = {data, rowPitch, depthPitch};
    return S_OK;
}

void ImmediateContext::Unmap(ID3D11Resource* resource, UINT subresource)
{
    static const char* const kEntry = "ID3D11DeviceContext::Unmap";
    ResourceCore* core = CoreOf(resource);
    if (core == nullptr || subresource >= core->shape().SubresourceCount() || core->MappedAs(subresource) == 0) {
        ReportError(kEntry, "subresource %u of the resource is not mapped.", subresource);
        return;
    }
    core->storage().Unmap(subresource);
    core->SetMapped(subresource, D3D11_MAP(0));
}

namespace {

// The box of a whole subresource (bytes of a buffer).
D3D11_BOX WholeBox(const ResourceShape& shape, UINT subresource)
{
    const UINT mip = shape.MipOf(subresource);
    return {0, 0, 0, shape.WidthAt(mip), shape.HeightAt(mip), 1};
}

bool BoxInside(const D3D11_BOX& box, const D3D11_BOX& whole)
{
    return box.left < box.right && box.top < box.bottom && box.front < box.back && box.right <= whole.right &&
           box.bottom <= whole.bottom && box.back <= whole.back;
}

bool BlockAligned(const ResourceShape& shape, const D3D11_BOX& box, const D3D11_BOX& whole)
{
    const FormatInfo* info = FindFormat(shape.format);
    if (info == nullptr || info->blockSize == 1) return true;
    auto aligned = [&](UINT value, UINT edge) { return value % info->blockSize == 0 || value == edge; };
    return aligned(box.left, whole.right) && aligned(box.top, whole.bottom) && aligned(box.right, whole.right) &&
           aligned(box.bottom, whole.bottom);
}

DXGI_FORMAT GroupOf(DXGI_FORMAT format)
{
    const FormatInfo* info = FindFormat(format);
    return info == nullptr ? format : info->group;
}

}  // namespace

void ImmediateContext::UpdateSubresource(ID3D11Resource* destination, UINT subresource, const D3D11_BOX* box,
                                         const void* data, UINT rowPitch, UINT /*depthPitch*/)
{
    static const char* const kEntry = "ID3D11DeviceContext::UpdateSubresource";
    ResourceCore* core = CoreOf(destination);
    if (core == nullptr || data == nullptr) {
        ReportError(kEntry, "the resource or the data is null.");
        return;
    }
    if (!ResourcesOfDevice(kEntry, device_, {core})) return;
    const ResourceShape& shape = core->shape();
    if (subresource >= shape.SubresourceCount()) {
        ReportError(kEntry, kSubresourcePastEnd, subresource, shape.SubresourceCount());
        return;
    }
    if (shape.usage == D3D11_USAGE_IMMUTABLE || shape.usage == D3D11_USAGE_DYNAMIC ||
        (shape.bindFlags & D3D11_BIND_DEPTH_STENCIL)) {
        ReportError(kEntry, "an immutable, dynamic or depth-stencil resource cannot be updated.");
        return;
    }
    if (core->MappedAs(subresource) != 0) {
        ReportError(kEntry, "subresource %u is mapped.", subresource);
        return;
    }
    const D3D11_BOX whole = WholeBox(shape, subresource);
    D3D11_BOX target = box == nullptr ? whole : *box;
    if (IsEmptyBox(box)) return;
    if (box != nullptr && (shape.bindFlags & D3D11_BIND_CONSTANT_BUFFER)) {
        ReportError(kEntry, "a constant buffer is updated whole (a box needs the 11.1 UpdateSubresource1).");
        return;
    }
    if (!BoxInside(target, whole) || !BlockAligned(shape, target, whole)) {
        ReportError(kEntry, "the box (%u, %u)-(%u, %u) is outside the subresource or off its block grid.", target.left,
                    target.top, target.right, target.bottom);
        return;
    }
    if (shape.dimension == D3D11_RESOURCE_DIMENSION_BUFFER) {
        target.top = 0;
        target.bottom = 1;
    }
    core->storage().Write(subresource, target, data, rowPitch);
}

void ImmediateContext::CopyResource(ID3D11Resource* destination, ID3D11Resource* source)
{
    static const char* const kEntry = "ID3D11DeviceContext::CopyResource";
    ResourceCore* to = CoreOf(destination);
    ResourceCore* from = CoreOf(source);
    if (to == nullptr || from == nullptr || to == from) {
        ReportError(kEntry, "the resources are null or the same.");
        return;
    }
    if (!ResourcesOfDevice(kEntry, device_, {to, from})) return;
    const ResourceShape& a = to->shape();
    const ResourceShape& b = from->shape();
    if (a.dimension != b.dimension || a.width != b.width || a.height != b.height || a.mipLevels != b.mipLevels ||
        a.arraySize != b.arraySize || GroupOf(a.format) != GroupOf(b.format)) {
        ReportError(kEntry, "the resources differ in type, size, mip levels, array size or format group.");
        return;
    }
    if (a.usage == D3D11_USAGE_IMMUTABLE) {
        ReportError(kEntry, "the destination is immutable.");
        return;
    }
    if (to->AnyMapped() || from->AnyMapped()) {
        ReportError(kEntry, "a resource is mapped.");
        return;
    }
    for (UINT index = 0; index < a.SubresourceCount(); ++index) {
        to->storage().CopyRegion(index, 0, 0, from->storage(), index, WholeBox(b, index));
    }
}

void ImmediateContext::CopySubresourceRegion(ID3D11Resource* destination, UINT destinationSubresource, UINT x, UINT y,
                                             UINT z, ID3D11Resource* source, UINT sourceSubresource,
                                             const D3D11_BOX* box)
{
    static const char* const kEntry = "ID3D11DeviceContext::CopySubresourceRegion";
    ResourceCore* to = CoreOf(destination);
    ResourceCore* from = CoreOf(source);
    if (to == nullptr || from == nullptr) {
        ReportError(kEntry, "a resource is null.");
        return;
    }
    if (!ResourcesOfDevice(kEntry, device_, {to, from})) return;
    const ResourceShape& a = to->shape();
    const ResourceShape& b = from->shape();
    if (destinationSubresource >= a.SubresourceCount() || sourceSubresource >= b.SubresourceCount()) {
        ReportError(kEntry, "a subresource index is past its resource's subresources.");
        return;
    }
    if (to == from && destinationSubresource == sourceSubresource) {
        ReportError(kEntry, "the source and destination are the same subresource.");
        return;
    }
    if (a.dimension != b.dimension || GroupOf(a.format) != GroupOf(b.format) || a.usage == D3D11_USAGE_IMMUTABLE) {
        ReportError(kEntry, "the resources differ in type or format group, or the destination is immutable.");
        return;
    }
    if (to->MappedAs(destinationSubresource) != 0 || from->MappedAs(sourceSubresource) != 0) {
        ReportError(kEntry, "a subresource is mapped.");
        return;
    }
    const D3D11_BOX sourceWhole = WholeBox(b, sourceSubresource);
    const D3D11_BOX region = box == nullptr ? sourceWhole : *box;
    if (IsEmptyBox(box)) return;
    const D3D11_BOX destinationWhole = WholeBox(a, destinationSubresource);
    const D3D11_BOX placed{
        x, y, z, x + (region.right - region.left), y + (region.bottom - region.top), z + (region.back - region.front)};
    const bool fits = BoxInside(region, sourceWhole) && BlockAligned(b, region, sourceWhole) && z == 0 &&
                      placed.right >= x && placed.bottom >= y && BoxInside(placed, destinationWhole) &&
                      BlockAligned(a, placed, destinationWhole);
    if (!fits) {
        ReportError(kEntry, "the region does not fit inside the source and the destination subresources.");
        return;
    }
    D3D11_BOX copied = region;
    if (a.dimension == D3D11_RESOURCE_DIMENSION_BUFFER) {
        copied.top = 0;
        copied.bottom = 1;
        y = 0;
    }
    to->storage().CopyRegion(destinationSubresource, x, y, from->storage(), sourceSubresource, copied);
}

void ImmediateContext::ClearRenderTargetView(ID3D11RenderTargetView* view, const FLOAT color[4])
{
    static const char* const kEntry = "ID3D11DeviceContext::ClearRenderTargetView";
    auto* ours = static_cast<RenderTargetView*>(view);
    if (ours == nullptr || color == nullptr) {
        ReportError(kEntry, "the view or the colour is null.");
        return;
    }
    if (!FromDevice(kEntry, device_, ours)) return;
    ours->resource()->storage().ClearColor(ours->range(), color);
}

void ImmediateContext::ClearDepthStencilView(ID3D11DepthStencilView* view, UINT flags, FLOAT depth, UINT8 stencil)
{
    static const char* const kEntry = "ID3D11DeviceContext::ClearDepthStencilView";
    auto* ours = static_cast<DepthStencilView*>(view);
    if (!ViewGiven(kEntry, device_, ours)) return;
    if (flags == 0 || (flags & ~UINT(D3D11_CLEAR_DEPTH | D3D11_CLEAR_STENCIL))) {
        ReportError(kEntry, "ClearFlags 0x%x are not D3D11_CLEAR_DEPTH and D3D11_CLEAR_STENCIL.", flags);
        return;
    }
    if ((flags & D3D11_CLEAR_DEPTH) && !(depth >= 0.0f && depth <= 1.0f)) {
        ReportError(kEntry, "depth %g is outside 0..1.", double(depth));
        return;
    }
    ours->resource()->storage().ClearDepthStencil(ours->range(), flags, depth, stencil);
}

void ImmediateContext::GenerateMips(ID3D11ShaderResourceView* view)
{
    static const char* const kEntry = "ID3D11DeviceContext::GenerateMips";
    auto* ours = static_cast<ShaderResourceView*>(view);
    if (!ViewGiven(kEntry, device_, ours)) return;
    if (!(ours->resource()->shape().miscFlags & D3D11_RESOURCE_MISC_GENERATE_MIPS)) {
        ReportError(kEntry, "the resource was not made with D3D11_RESOURCE_MISC_GENERATE_MIPS.");
        return;
    }
    if (ours->range().mipCount > 1) ours->resource()->storage().GenerateMips(ours->range());
}

void ImmediateContext::ClearState()
{
    vertexShader_ = {};
    pixelShader_ = {};
    inputLayout_ = {};
    stagesChecked_ = false;
    pixelResourceEnd_ = 0;
    topology_ = D3D11_PRIMITIVE_TOPOLOGY_UNDEFINED;
    for (VertexBinding& binding : vertexBuffers_) binding = VertexBinding();
    indexBuffer_ = {};
    indexFormat_ = DXGI_FORMAT_UNKNOWN;
    indexOffset_ = 0;
    for (auto& buffer : vertexConstantBuffers_) buffer = {};
    for (auto& buffer : pixelConstantBuffers_) buffer = {};
    for (auto& view : pixelResources_) view = {};
    for (auto& sampler : pixelSamplers_) sampler = {};
    for (auto& target : renderTargets_) target = {};
    depthStencilView_ = {};
    blendState_ = {};
    std::fill(std::begin(blendFactor_), std::end(blendFactor_), 1.0f);
    sampleMask_ = 0xffffffff;
    depthStencilState_ = {};
    stencilReference_ = 0;
    rasterizerState_ = {};
    viewports_.clear();
    scissors_.clear();
}

void ImmediateContext::Flush() { device_->backend().Flush(); }

}  // namespace halvo::d3d11
