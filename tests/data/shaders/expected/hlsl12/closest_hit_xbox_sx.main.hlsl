};

struct _Pay_shadow
{
	float shadow;
};

#if defined(__XBOX_ONE) || defined(__XBOX_SCARLETT)

[RootSignature(ROOT_SIGNATURE)]

#endif

[shader("closesthit")]
void main(inout HitInfo _pay_hit, BuiltInTriangleIntersectionAttributes _hit_attributes)
{
	uint3 corners = _loadIndices(_buf_indices, PrimitiveIndex() * 6u);
	float3 world = mul(ObjectToWorld3x4(), (_buf_vertices[corners.x]));
	float lit = _tex_albedo.SampleCmpLevelZero(_smp_albedo, _hit_attributes.barycentrics, 0.5f);
	float4 tint = _unpackUnorm4ToFloat4(asuint(lit));
	_pay_hit.color = tint * float(_loadIndices(_buf_indices, 0u).x);
	_pay_hit.distance = RayTCurrent() + world.x;
}
