precision highp float;
precision highp int;
precision highp sampler2D;
precision highp sampler3D;
precision highp samplerCube;

in vec2 _vary_uv;
in vec4 _vary_color;

uniform vec4 _const_tint;
uniform vec4 _const_time;

uniform sampler2D _tex_albedo;

layout(location = 0) out vec4 _out_color;

void main()
{
	vec4 texel = texture(_tex_albedo, _vary_uv);
	_out_color = texel * _vary_color * _const_tint;
}
