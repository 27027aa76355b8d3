struct Light
{
	float3 direction;
	float power;
};

void main()
{
	Light l;
	l.power = 1.0f;
	output.color = float4(l.power);
}
