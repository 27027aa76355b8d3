RaytracingAccelerationStructure _acceleration_structure : register(t0, space0);

struct _Pay_shared
{
	float4 _shared;
};

[shader("miss")]
void main(inout _Pay_shared _pay_shared)
{
	_pay_shared._shared = float4(WorldRayDirection(), 1.0f);
}
