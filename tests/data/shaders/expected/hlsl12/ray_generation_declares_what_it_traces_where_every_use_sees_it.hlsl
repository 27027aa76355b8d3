Buffer<float4> _buf_vertices : register(t0, space1);
ByteAddressBuffer _buf_indices : register(t0, space2);
Buffer<uint3> _buf_triangles : register(t0, space3);

RWTexture2D<float4> _img_target : register(u0, space0);

SamplerState _smp_sky : register(s0, space3);
TextureCube _tex_sky : register(t0, space4);
SamplerState _smp_albedo : register(s0, space4);
Texture2D _tex_albedo : register(t0, space5);

RaytracingAccelerationStructure _acceleration_structure : register(t0, space0);

struct HitInfo
{
	float4 color;
	float distance;
};

struct _Pay_shadow
{
	float shadow;
};

[shader("raygeneration")]
void main()
{
	HitInfo _pay_hit;
	RayDesc _ray_description;

	if (DispatchRaysIndex().x > 0u)
	{
		_ray_description.Origin = (float3)(0.0f);
		_ray_description.TMin = 0.001f;
		_ray_description.Direction = float3(0.0f, 0.0f, 1.0f);
		_ray_description.TMax = 100.0f;
		TraceRay(_acceleration_structure, 1, 0xFF, 0, 0, 0, _ray_description, _pay_hit);
	}

	_img_target[DispatchRaysIndex().xy] = _pay_hit.color;
}
