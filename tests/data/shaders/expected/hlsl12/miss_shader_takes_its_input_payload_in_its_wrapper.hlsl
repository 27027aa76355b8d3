RaytracingAccelerationStructure _acceleration_structure : register(t0, space0);

struct _Pay_colour
{
	float4 colour;
};

[shader("miss")]
void main(inout _Pay_colour _pay_colour)
{
	_pay_colour.colour = float4(WorldRayDirection(), 1.0f);
}
