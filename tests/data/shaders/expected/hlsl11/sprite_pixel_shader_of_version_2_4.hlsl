#pragma warning(disable : 3078)

struct PixelInput
{
	float4 position : SV_POSITION;
	float2 uv : TEXCOORD0;
	float4 color : COLOR0;
};

cbuffer Constants
{
	float4 _const_tint;
	float4 _const_time;
};

SamplerState _smp_albedo : register(s0);
Texture2D _tex_albedo : register(t0);

struct PixelOutput
{
	float4 color : SV_TARGET0;
};

PixelOutput main(PixelInput input)
{
	PixelOutput output;
	float4 texel = _tex_albedo.Sample(_smp_albedo, input.uv);
	output.color = texel * input.color * _const_tint;

	return output;
}
