layout(location = 0) in vec4 _in_position;
layout(location = 1) in vec4 _in_color;
layout(location = 2) in vec2 _in_uv;

layout(set = 0, binding = 0) uniform Uniforms
{
	layout(row_major) mat4 _const_transform;
	vec4 _const_time;
};

layout(location = 1) out vec2 _vary_uv;
layout(location = 2) out vec4 _vary_color;

void main()
{
	gl_Position = _const_transform * _in_position;
	_vary_uv = _in_uv;
	_vary_color = _in_color;
}
