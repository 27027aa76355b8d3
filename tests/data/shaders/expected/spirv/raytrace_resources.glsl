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
