attribute vec4 _in_position;
attribute vec4 _in_color;
attribute vec2 _in_uv;

uniform mat4 _const_transform;
uniform vec4 _const_time;

varying vec2 _vary_uv;
varying vec4 _vary_color;

mat4 _matrix_rows4(mat4 m)
{
	return mat4(m[0][0], m[1][0], m[2][0], m[3][0], m[0][1], m[1][1], m[2][1], m[3][1], m[0][2], m[1][2], m[2][2], m[3][2], m[0][3], m[1][3], m[2][3], m[3][3]);
}

void main()
{
	gl_Position = _matrix_rows4(_const_transform) * _in_position;
	_vary_uv = _in_uv;
	_vary_color = _in_color;
}
