struct PixelInput
{
	float4 position : POSITION;
	float2 uv : TEXCOORD0;
	float4 color : COLOR0;
};

float4 _const_tint : register(c0);
float4 _const_time : register(c1);

sampler _tex_albedo : register(s0);

struct PixelOutput
{
	float4 color : COLOR0;
};

PixelOutput main(PixelInput input)
{
	PixelOutput output;
	float4 texel = tex2D(_tex_albedo, input.uv);
	output.color = texel * input.color * _const_tint;

	return output;
}
