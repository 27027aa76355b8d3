struct VertexInput
{
	float4 position : POSITION;
	float4 color : COLOR;
	float2 uv : TEXCOORD0;
};

float4x4 _const_transform : register(c0);

struct VertexOutput
{
	float4 position : POSITION;
	float2 uv : TEXCOORD0;
	float4 color : COLOR0;
};

VertexOutput main(VertexInput input)
{
	VertexOutput output;
	output.position = mul(input.position, _const_transform);
	output.uv = input.uv;
	output.color = input.color;

	return output;
}
