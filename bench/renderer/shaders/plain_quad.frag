#version 450
// The sprite program's pixel stage: the texture, tinted by the vertex colour.
layout(set = 0, binding = 0) uniform sampler2D image;
layout(location = 0) in vec2 uv;
layout(location = 1) in vec4 color;
layout(location = 0) out vec4 result;
void main()
{
    result = texture(image, uv) * color;
}
