#pragma once

#include <gtest/gtest.h>

#include <string>

#include "shadertool/front_end.h"
#include "shadertool/tree_dump.h"

// A front end with a Shader XML description of a textured, tinted sprite
// (version 2.4 unless a test changes it), and helpers that run one source
// through it and read the step log and the tree.
class FrontEndFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        using ShaderTool::BaseType;
        using ShaderTool::Type;
        description.version = 0x20004;
        description.vertexInput.Add({"position", 1, Type::MakeVector(BaseType::FLOAT, 3)});
        description.vertexInput.Add({"uv", 2, Type::MakeVector(BaseType::FLOAT, 2)});
        description.vertexInput.Add({"color", 4, Type::MakeVector(BaseType::FLOAT, 4)});
        AddVertexOutput("position", Type::MakeVector(BaseType::FLOAT, 4), ShaderTool::VERTEX_OUTPUT_POSITION);
        AddVertexOutput("uv", Type::MakeVector(BaseType::FLOAT, 2), ShaderTool::VERTEX_OUTPUT_TEXTURE_COORDINATE);
        AddVertexOutput("color", Type::MakeVector(BaseType::FLOAT, 4), ShaderTool::VERTEX_OUTPUT_COLOR);
        description.pixelOutput.Add("color");
        ShaderTool::PixelTextureVariable albedo;
        albedo.name = "albedo";
        albedo.type = Type::MakeTexture(ShaderTool::TEXTURE_2D);
        description.pixelTextures.Add(albedo);
        AddConstant(description.vertexConstants, "transform", Type::MakeMatrix(4));
        AddConstant(description.pixelConstants, "tint", Type::MakeVector(BaseType::FLOAT, 4));
        AddConstant(description.constants, "time", Type::MakeVector(BaseType::FLOAT, 1));
    }

    void AddVertexOutput(const char* name, const ShaderTool::Type& type, uint32_t semantic)
    {
        ShaderTool::VertexOutputVariable output;
        output.name = name;
        output.type = type;
        output.semantic = semantic;
        description.vertexOutput.Add(output);
    }

    static void AddConstant(ShaderTool::ConstantList& list, const char* name, const ShaderTool::Type& type)
    {
        ShaderTool::ConstantVariable constant;
        constant.name = name;
        constant.type = type;
        list.variables.Add(constant);
    }

    // Runs the text as a source of the stage; true when it is good.
    bool Run(const std::string& text, uint32_t stage = ShaderTool::STAGE_VERTEX,
             uint32_t target = ShaderTool::TARGET_HLSL11)
    {
        ShaderTool::ShaderSource source;
        source.path = path.c_str();
        source.text = text.c_str();
        source.firstLine = 1;
        source.targetMask = ShaderTool::TARGET_MASK_ALL;
        source.stage = stage;
        frontEnd.stepLog.Clear();
        return ShaderTool::RunFrontEnd(frontEnd, description, source, target, definitions);
    }

    std::string LogText() const { return frontEnd.stepLog.text.GetText(); }
    std::string Dump() const { return ShaderTool::DumpTree(frontEnd.parse.root).GetText(); }
    std::string ErrorLine(int line, int column, const std::string& message) const
    {
        return path + "(" + std::to_string(line) + ":" + std::to_string(column) + ") error: " + message + "\n";
    }

    std::string path = "test.hvsl";
    ShaderTool::ShaderDescription description;
    Array<String> definitions;
    ShaderTool::FrontEnd frontEnd;
};
