#include "renderer/d3d11/vertex_elements.h"

int BuildInputLayout(uint32_t mask, bool deviceReadsBgra, D3D11_INPUT_ELEMENT_DESC* elements)
{
    int count = 0;
    uint32_t offset = 0;
    for (const VertexElement& row : kVertexElements) {
        if ((mask & row.bit) == 0) continue;
        D3D11_INPUT_ELEMENT_DESC& element = elements[count++];
        element.SemanticName = row.semantic;
        element.SemanticIndex = row.semanticIndex;
        element.Format = row.bit == kVertexColorBit ? VertexColorFormat(deviceReadsBgra) : row.format;
        element.InputSlot = 0;
        element.AlignedByteOffset = offset;
        element.InputSlotClass = D3D11_INPUT_PER_VERTEX_DATA;
        element.InstanceDataStepRate = 0;
        offset += row.bytes;
    }
    return count;
}
