#define ROOT_SIGNATURE \
	"RootFlags(" \
		"ALLOW_INPUT_ASSEMBLER_INPUT_LAYOUT |" \
		"DENY_DOMAIN_SHADER_ROOT_ACCESS |" \
		"DENY_GEOMETRY_SHADER_ROOT_ACCESS |" \
		"DENY_HULL_SHADER_ROOT_ACCESS)," \
	"CBV(b0, flags = DATA_STATIC_WHILE_SET_AT_EXECUTE, visibility = SHADER_VISIBILITY_VERTEX)," \
	"CBV(b1, flags = DATA_STATIC_WHILE_SET_AT_EXECUTE, visibility = SHADER_VISIBILITY_PIXEL)," \
	"DescriptorTable(Sampler(s0, flags = DESCRIPTORS_VOLATILE, numDescriptors = 8), visibility = SHADER_VISIBILITY_PIXEL)," \
	"DescriptorTable(SRV(t0, flags = DESCRIPTORS_VOLATILE | DATA_STATIC_WHILE_SET_AT_EXECUTE, numDescriptors = 8), visibility = SHADER_VISIBILITY_PIXEL)"

struct PixelInput
{
	float4 position : SV_POSITION;
	float2 uv : TEXCOORD0;
	float4 color : COLOR0;
};

cbuffer Constants : register(b1)
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

#if defined(__XBOX_ONE) || defined(__XBOX_SCARLETT)

[RootSignature(ROOT_SIGNATURE)]

#endif

PixelOutput main(PixelInput input)
{
	PixelOutput output;
	float4 texel = _tex_albedo.Sample(_smp_albedo, input.uv);
	output.color = texel * input.color * _const_tint;

	return output;
}
