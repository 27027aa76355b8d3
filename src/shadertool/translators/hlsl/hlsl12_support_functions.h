#pragma once

// Functions the HLSL12 translator writes into the header of a stage that
// calls the built-in they stand for.
namespace ShaderTool {

// Three consecutive 16-bit indices at a byte offset that is a multiple of 2:
// the first index is in the low half of a 32-bit word when the offset is
// 4-aligned and in the high half otherwise.
constexpr const char* kHLSL12LoadIndicesFunction =
    "uint3 _loadIndices(ByteAddressBuffer buffer, uint offset)\n"
    "{\n"
    "\tconst uint aligned_offset = offset & ~3;\n"
    "\tconst uint2 packed_indices = buffer.Load2(aligned_offset);\n"
    "\tuint3 indices;\n"
    "\n"
    "\tif (offset == aligned_offset)\n"
    "\t{\n"
    "\t\tindices.x = packed_indices.x & 0xFFFF;\n"
    "\t\tindices.y = packed_indices.x >> 16;\n"
    "\t\tindices.z = packed_indices.y & 0xFFFF;\n"
    "\t}\n"
    "\telse\n"
    "\t{\n"
    "\t\tindices.x = packed_indices.x >> 16;\n"
    "\t\tindices.y = packed_indices.y & 0xFFFF;\n"
    "\t\tindices.z = packed_indices.y >> 16;\n"
    "\t}\n"
    "\n"
    "\treturn indices;\t\n"
    "}\n";

// Four 8-bit unsigned normalised channels, the most significant byte first.
constexpr const char* kHLSL12UnpackUnormFunction =
    "float4 _unpackUnorm4ToFloat4(uint value)\n"
    "{\n"
    "\treturn float4\n"
    "\t(\n"
    "\t\tvalue >> 24,\n"
    "\t\t(value & 0xFF0000) >> 16,\n"
    "\t\t(value & 0xFF00) >> 8,\n"
    "\t\tvalue & 0xFF\n"
    "\t) / 255.0f;\n"
    "}\n";

}  // namespace ShaderTool
