attribute vec4 _in_position;
attribute vec4 _in_color;
attribute vec2 _in_uv;

uniform mat4 _const_transform;
uniform vec4 _const_time;

varying vec2 _vary_uv;
varying vec4 _vary_color;

void main()
{
	gl_Position = _in_position * _const_transform;
	_vary_uv = _in_uv;
	_vary_color = _in_color;
}
