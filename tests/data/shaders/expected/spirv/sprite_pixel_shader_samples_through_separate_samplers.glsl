layout(location = 1) in vec2 _vary_uv;
layout(location = 2) in vec4 _vary_color;

layout(set = 1, binding = 0) uniform Uniforms
{
	vec4 _const_tint;
	vec4 _const_time;
};

layout(set = 2, binding = 0) uniform sampler _smp_albedo;
layout(set = 3, binding = 0) uniform texture2D _tex_albedo;

layout(location = 0) out vec4 _out_color;

void main()
{
	vec4 texel = texture(sampler2D(_tex_albedo, _smp_albedo), _vary_uv);
	_out_color = texel * _vary_color * _const_tint;
}
