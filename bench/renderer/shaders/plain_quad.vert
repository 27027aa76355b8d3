#version 450
// The sprite program's vertex stage: corners in clip space, colour and coordinate passed on.
layout(location = 0) in vec3 position;
layout(location = 1) in vec4 color;
layout(location = 2) in vec2 uv;
layout(location = 0) out vec2 outUv;
layout(location = 1) out vec4 outColor;
void main()
{
    gl_Position = vec4(position, 1.0);
    outUv = uv;
    outColor = color;
}
