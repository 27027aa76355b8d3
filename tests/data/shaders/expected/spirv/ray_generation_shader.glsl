#extension GL_NV_ray_tracing : require
#extension GL_EXT_shader_16bit_storage : require

layout(set = 1, binding = 0) buffer Buffer0
{
	vec4 data[];
} _buf_vertices;

layout(set = 1, binding = 1) buffer Buffer1
{
	uint16_t data[];
} _buf_indices;

layout(set = 1, binding = 2) buffer Buffer2
{
	uvec3 data[];
} _buf_triangles;

layout(set = 0, binding = 2, rgba8) uniform image2D _img_target;

layout(set = 2, binding = 0) uniform samplerCube _tex_sky;
layout(set = 2, binding = 1) uniform sampler2D _tex_albedo;

layout(set = 0, binding = 1) uniform accelerationStructureNV _acceleration_structure;

struct HitInfo
{
	vec4 color;
	float distance;
};

layout(location = 0) rayPayloadNV HitInfo _pay_hit;
layout(location = 1) rayPayloadNV float _pay_shadow;

void main()
{
	_pay_hit.color = vec4(0.0f);
	traceNV(_acceleration_structure, 1, 0xFF, 0, 0, 0, vec3(0.0f), 0.001f, vec3(0.0f, 0.0f, 1.0f), 1000.0f, 0);
	imageStore(_img_target, ivec2(gl_LaunchIDNV.xy), _pay_hit.color);
}
