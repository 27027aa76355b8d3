#pragma once

// The front end's own Shader XML for drawing bitmaps as rectangles: corners
// given in clip space, a white vertex colour that tints, one point-sampled
// texture.
#include <cstdint>

// The program's vertices: position, packed colour, first texture coordinate
// (HV_VertexFormat 1 | 2 | 4), and the two triangles of a quad over the
// corners top-left, top-right, bottom-left, bottom-right.
constexpr uint32_t kSpriteVertexFormat = 1 | 2 | 4;
struct SpriteVertex {
    float x, y, z;
    uint32_t color;
    float u, v;
};
static_assert(sizeof(SpriteVertex) == 24, "the renderer's stride of position, colour and one coordinate");
constexpr uint16_t kSpriteQuadIndices[6] = {0, 1, 2, 2, 1, 3};

constexpr const char* kSpriteShaderName = "halvo-sprite.xml";
constexpr const char* kSpriteShaderXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<database>
	<array id="info">
		<node id="version" value="2"/>
		<node id="revision" value="2"/>
		<node id="target" value="HLSL,GLSL"/>
	</array>
	<array id="vertex_input">
		<node id="position" semantic="POSITION"/>
		<node id="color" semantic="COLOR"/>
		<node id="uv" semantic="TEXTURE_COORDINATE_0"/>
	</array>
	<array id="vertex_output">
		<node id="position" type="FLOAT4" semantic="POSITION"/>
		<node id="uv" type="FLOAT2" semantic="TEXTURE_COORDINATE"/>
		<node id="color" type="FLOAT4" semantic="COLOR"/>
	</array>
	<array id="pixel_textures">
		<node id="image" slot="0" type="2D" filter_mag="POINT" filter_min="POINT" address_u="CLAMP" address_v="CLAMP"/>
	</array>
	<array id="pixel_output">
		<node id="color"/>
	</array>
	<array id="sources">
		<node type="vertex"><![CDATA[
void main()
{
	output.position = input.position;
	output.uv = input.uv;
	output.color = input.color;
}
]]></node>
		<node type="pixel"><![CDATA[
void main()
{
	output.color = sampleTexture(texture.image, input.uv) * input.color;
}
]]></node>
	</array>
</database>
)";
