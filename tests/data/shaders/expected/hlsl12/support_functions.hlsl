RaytracingAccelerationStructure _acceleration_structure : register(t0, space0);

uint3 _loadIndices(ByteAddressBuffer buffer, uint offset)
{
	const uint aligned_offset = offset & ~3;
	const uint2 packed_indices = buffer.Load2(aligned_offset);
	uint3 indices;

	if (offset == aligned_offset)
	{
		indices.x = packed_indices.x & 0xFFFF;
		indices.y = packed_indices.x >> 16;
		indices.z = packed_indices.y & 0xFFFF;
	}
	else
	{
		indices.x = packed_indices.x >> 16;
		indices.y = packed_indices.y & 0xFFFF;
		indices.z = packed_indices.y >> 16;
	}

	return indices;	
}

float4 _unpackUnorm4ToFloat4(uint value)
{
	return float4
	(
		value >> 24,
		(value & 0xFF0000) >> 16,
		(value & 0xFF00) >> 8,
		value & 0xFF
	) / 255.0f;
}

struct HitInfo
{
	float4 color;
	float distance;
};

