#include <string>

#include "shadertool/sema/stage_struct.h"
#include "shadertool/support/front_end_test_support.h"

namespace {

using StageStruct = FrontEndFixture;

const char* const kVertexMain =
    "void main()\n{\n\toutput.position = input.position;\n\toutput.uv = input.uv;\n"
    "\toutput.color = input.color;\n}\n";

const ShaderTool::StructMember* FindMember(ShaderTool::ParseContext& context, const char* structName,
                                           const char* member)
{
    const ShaderTool::StructEntry* entry = context.structs.Find(structName);
    return entry != nullptr ? entry->FindMember(member) : nullptr;
}

TEST_F(StageStruct, VertexInputHasTheDescriptionsInputsAndIdsAndPixelInputTheVertexOutputAndFace)
{
    ASSERT_TRUE(Run(kVertexMain)) << LogText();
    const ShaderTool::StructEntry* input = frontEnd.parse.structs.Find("_Input");
    ASSERT_NE(input, nullptr);
    ASSERT_EQ(input->members.GetCount(), 5);
    EXPECT_EQ(input->members[0].name, "position");
    EXPECT_EQ(input->members[3].name, "instance_id");
    EXPECT_EQ(input->members[4].name, "vertex_id");
    EXPECT_EQ(input->members[4].type.baseType, ShaderTool::BaseType::INT);
    ASSERT_TRUE(RunPixel(kPixelMain)) << LogText();
    const ShaderTool::StructMember* facing = FindMember(frontEnd.parse, "_Input", "is_front_facing");
    ASSERT_NE(facing, nullptr);
    EXPECT_EQ(facing->type.baseType, ShaderTool::BaseType::BOOL);
    EXPECT_NE(FindMember(frontEnd.parse, "_Input", "face_direction"), nullptr);
    const ShaderTool::StructMember* color = FindMember(frontEnd.parse, "_Output", "color");
    ASSERT_NE(color, nullptr);
    EXPECT_EQ(color->type.vectorSize, 4);
    EXPECT_NE(FindMember(frontEnd.parse, "_Texture", "albedo"), nullptr);
}

TEST_F(StageStruct, BuffersAndImagesBelongToTheRayStagesOnly)
{
    description = ShaderInterfaces::MakeRayTracing(0x20004);
    description.pixelOutput.Add("color");
    ASSERT_TRUE(RunPixel(kPixelMain)) << LogText();
    EXPECT_EQ(frontEnd.parse.structs.Find("_Buffers")->members.GetCount(), 0);
    EXPECT_EQ(frontEnd.parse.structs.Find("_Images")->members.GetCount(), 0);
    EXPECT_EQ(frontEnd.parse.structs.Find("_Texture")->members.GetCount(), 2);
    ASSERT_TRUE(Run("struct HitInfo { float4 color; float distance; };\nvoid main()\n{\n}\n", ShaderTool::STAGE_RMISS))
        << LogText();
    EXPECT_EQ(frontEnd.parse.structs.Find("_Buffers")->members.GetCount(), 3);
    EXPECT_EQ(frontEnd.parse.structs.Find("_Images")->members.GetCount(), 1);
}

TEST_F(StageStruct, RayStagesHaveTheirOwnInputsAndPayloads)
{
    description = ShaderInterfaces::MakeRayTracing(0x20004);
    const std::string hit = "struct HitInfo { float4 color; float distance; };\n";
    ASSERT_TRUE(
        Run(hit + "void main()\n{\n\tuint3 id = input.dispatch_id + input.dispatch_size;\n}\n", ShaderTool::STAGE_RGEN))
        << LogText();
    EXPECT_EQ(frontEnd.parse.structs.Find("_Input")->members.GetCount(), 2);
    ASSERT_TRUE(
        Run(hit + "void main()\n{\n\tfloat2 h = input.hit_attribute;\n\tuint id = input.instance_custom_id;\n}\n",
            ShaderTool::STAGE_RCHIT))
        << LogText();
    EXPECT_EQ(frontEnd.parse.structs.Find("_Input")->members.GetCount(), 6);
    EXPECT_FALSE(Run(hit + "void main()\n{\n\tuint id = input.primitive_id;\n}\n", ShaderTool::STAGE_RMISS));
    EXPECT_EQ(LogText(), ErrorLine(4, 20, "'_Input' has no member 'primitive_id'.") +
                             ErrorLine(4, 13, "no operator '=' matches the operands."));
    ASSERT_TRUE(
        Run(hit + "void main()\n{\n\tray_payloads.hit.distance = ray_payloads.shadow;\n}\n", ShaderTool::STAGE_RMISS))
        << LogText();
    EXPECT_EQ(frontEnd.parse.structs.Find("_RayPayloads")->members.GetCount(), 2);
}

TEST_F(StageStruct, ConstantsAreGlobalsBeforeVersion23AndMembersOfConstantsFromIt)
{
    description = ShaderInterfaces::MakeSprite(0x20002);
    ASSERT_TRUE(
        Run("void main()\n{\n\toutput.position = input.position * transform;\n\toutput.uv = input.uv;\n"
            "\toutput.color = input.color;\n}\n"))
        << LogText();
    EXPECT_EQ(frontEnd.parse.structs.Find("_Constants"), nullptr);
    const ShaderTool::VariableNode* transform = frontEnd.parse.symbols.Find("transform");
    ASSERT_NE(transform, nullptr);
    EXPECT_TRUE(transform->isShaderConstant);
    EXPECT_FALSE(
        Run("void main()\n{\n\toutput.position = input.position * constants.transform;\n"
            "\toutput.uv = input.uv;\n\toutput.color = input.color;\n}\n"));
    EXPECT_NE(LogText().find("undeclared identifier 'constants'."), std::string::npos) << LogText();
    description = ShaderInterfaces::MakeSprite(0x20003);
    ASSERT_TRUE(
        Run("void main()\n{\n\toutput.position = input.position * constants.transform;\n"
            "\toutput.uv = input.uv;\n\toutput.color = input.color;\n}\n"))
        << LogText();
    EXPECT_EQ(frontEnd.parse.symbols.Find("transform"), nullptr);
    EXPECT_EQ(FindMember(frontEnd.parse, "_Constants", "time"), nullptr);
    description = ShaderInterfaces::MakeSprite(0x20004);
    ASSERT_TRUE(RunPixel("void main()\n{\n\toutput.color = constants.tint * constants.time;\n}\n")) << LogText();
    EXPECT_NE(FindMember(frontEnd.parse, "_Constants", "time"), nullptr);
    EXPECT_EQ(FindMember(frontEnd.parse, "_Constants", "transform"), nullptr);
}

// No target has a type of its own for a stage struct (the GLSL family has
// no struct at all), so no declaration may name one: not a local, a
// parameter, a return type or a member.
TEST_F(StageStruct, StageStructsCanNotBeNamedAsTypes)
{
    const std::string unset = ErrorLine(0, 0, "vertex shader output 'position' is not set.") +
                              ErrorLine(0, 0, "vertex shader output 'uv' is not set.") +
                              ErrorLine(0, 0, "vertex shader output 'color' is not set.");
    EXPECT_FALSE(
        Run("_Output Make()\n{\n\t_Output made;\n\tmade.position = float4(0.0);\n\treturn made;\n}\n"
            "void main()\n{\n\toutput = Make();\n}\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 1, "built-in type '_Output' can not be used in declarations.") +
                             ErrorLine(3, 5, "built-in type '_Output' can not be used in declarations.") +
                             ErrorLine(9, 5, "built-in variable 'output' can only be used through its members.") +
                             unset);
    description = ShaderInterfaces::MakeSprite(0x20004);
    EXPECT_FALSE(RunPixel("float4 Tint(_Constants c, _Texture t)\n{\n\treturn c.tint;\n}\n" + std::string(kPixelMain)));
    EXPECT_EQ(LogText(), ErrorLine(1, 13, "built-in type '_Constants' can not be used in declarations.") +
                             ErrorLine(1, 27, "built-in type '_Texture' can not be used in declarations."));
    description = ShaderInterfaces::MakeRayTracing(0x20004);
    EXPECT_FALSE(
        Run("struct HitInfo { float4 color; float distance; };\nvoid main()\n{\n}\n"
            "struct Saved { _RayPayloads payloads; };\n",
            ShaderTool::STAGE_RMISS));
    EXPECT_EQ(LogText(), ErrorLine(5, 16, "built-in type '_RayPayloads' can not be used in declarations."));
    // A struct of the source's own is still a type.
    EXPECT_TRUE(
        Run("struct HitInfo { float4 color; float distance; };\nHitInfo Miss()\n{\n\tHitInfo hit;\n"
            "\thit.distance = 0.0;\n\treturn hit;\n}\nvoid main()\n{\n}\n",
            ShaderTool::STAGE_RMISS))
        << LogText();
}

// The targets declare a stage variable's members, never the variable itself
// (the GLSL family has no struct for it), so a source reaches it only
// through a member; every other use is refused where it stands. Whole uses
// set no output either.
TEST_F(StageStruct, StageVariablesAreUsedOnlyThroughTheirMembers)
{
    const auto wholeUse = [this](int line, int column, const std::string& name) {
        return ErrorLine(line, column, "built-in variable '" + name + "' can only be used through its members.");
    };
    EXPECT_FALSE(Run("void main()\n{\n\toutput.position = input.position;\n\toutput = output;\n}\n"));
    EXPECT_EQ(LogText(), wholeUse(4, 5, "output") + wholeUse(4, 14, "output") +
                             ErrorLine(0, 0, "vertex shader output 'uv' is not set.") +
                             ErrorLine(0, 0, "vertex shader output 'color' is not set."));
    description = ShaderInterfaces::MakeSprite(0x20004);
    EXPECT_FALSE(
        RunPixel("void main()\n{\n\toutput;\n\toutput = (output);\n"
                 "\toutput.color = (input).color + constants.tint;\n\ttexture;\n}\n"));
    EXPECT_EQ(LogText(), wholeUse(3, 5, "output") + wholeUse(4, 5, "output") + wholeUse(4, 15, "output") +
                             wholeUse(5, 21, "input") + wholeUse(6, 5, "texture"));
    description = ShaderInterfaces::MakeRayTracing(0x20004);
    EXPECT_FALSE(
        Run("struct HitInfo { float4 color; float distance; };\nvoid main()\n{\n\tray_payloads = ray_payloads;\n}\n",
            ShaderTool::STAGE_RMISS));
    EXPECT_EQ(LogText(), wholeUse(4, 5, "ray_payloads") + wholeUse(4, 20, "ray_payloads"));
    // Members, their swizzles and their components stay as they were.
    description = ShaderInterfaces::MakeSprite(0x20004);
    EXPECT_TRUE(
        RunPixel("void main()\n{\n\toutput.color = constants.tint;\n\toutput.color.xy = input.uv.yx;\n"
                 "\toutput.color.w *= -input.color.w;\n\toutput.color++;\n}\n"))
        << LogText();
}

TEST_F(StageStruct, DescriptionNameGivenTwiceKeepsOneMember)
{
    ShaderInterfaces::AddOutput(description, "uv", ShaderInterfaces::Float(2),
                                ShaderTool::VERTEX_OUTPUT_TEXTURE_COORDINATE);
    EXPECT_TRUE(Run(kVertexMain)) << LogText();
    EXPECT_EQ(frontEnd.parse.structs.Find("_Output")->members.GetCount(), 3);
}

TEST_F(StageStruct, UndeclaredPayloadStructIsSkippedAndReportedAtMain)
{
    description = ShaderInterfaces::MakeRayTracing(0x20004);
    EXPECT_FALSE(Run("void main()\n{\n\tray_payloads.shadow = 1.0;\n}\n", ShaderTool::STAGE_RGEN));
    EXPECT_EQ(LogText(),
              ErrorLine(1, 10, "can not declare ray payload variable 'hit' as its type 'HitInfo' is invalid."));
    EXPECT_EQ(frontEnd.parse.structs.Find("_RayPayloads")->members.GetCount(), 1);
}

TEST_F(StageStruct, ContextIsResetBetweenSources)
{
    ASSERT_TRUE(RunPixel("struct Local { float v; };\n" + std::string(kPixelMain))) << LogText();
    EXPECT_NE(frontEnd.parse.structs.Find("Local"), nullptr);
    ASSERT_TRUE(Run(kVertexMain)) << LogText();
    EXPECT_EQ(frontEnd.parse.structs.Find("Local"), nullptr);
    EXPECT_EQ(frontEnd.parse.functions.Find("main,")->function->line, 1);
}

}  // namespace
