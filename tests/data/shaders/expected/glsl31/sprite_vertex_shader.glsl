in vec4 _in_position;
in vec4 _in_color;
in vec2 _in_uv;

uniform mat4 _const_transform;
uniform vec4 _const_time;

out vec2 _vary_uv;
out vec4 _vary_color;

void main()
{
	gl_Position = _in_position * _const_transform;
	_vary_uv = _in_uv;
	_vary_color = _in_color;
}
