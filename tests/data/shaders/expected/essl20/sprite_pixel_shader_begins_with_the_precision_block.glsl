#if defined(GL_FRAGMENT_PRECISION_HIGH)

precision highp float;
precision highp int;
precision highp sampler2D;
precision highp samplerCube;

#else

precision mediump float;

#endif

varying vec2 _vary_uv;
varying vec4 _vary_color;

uniform vec4 _const_tint;
uniform vec4 _const_time;

uniform sampler2D _tex_albedo;

void main()
{
	vec4 texel = texture2D(_tex_albedo, _vary_uv);
	gl_FragColor = texel * _vary_color * _const_tint;
}
