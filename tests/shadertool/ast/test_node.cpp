#include "shadertool/ast/node.h"

#include <gtest/gtest.h>

namespace ShaderTool {
namespace {

TEST(Node, SignatureListsTheShortTextOfEachParameterAfterOneComma)
{
    FunctionNode main(NodeKind::Function);
    main.name = "main";
    EXPECT_EQ(BuildSignature(main), "main,");
    GroupNode empty(Block);
    main.children.Add(&empty);
    EXPECT_EQ(BuildSignature(main), "main,");
    FunctionNode function(NodeKind::Function);
    function.name = "shade";
    GroupNode block(Block);
    VariableNode light;
    light.type = Type::MakeStruct("Light", 0, 2);
    VariableNode indices;
    indices.type = Type::MakeVector(BaseType::UINT, 3, 0, 0, true);
    VariableNode transform;
    transform.type = Type::MakeMatrix(4);
    VariableNode texture;
    texture.type = Type::MakeTexture(TEXTURE_CUBE);
    block.children.Add(&light);
    block.children.Add(&indices);
    block.children.Add(&transform);
    block.children.Add(&texture);
    function.children.Add(&block);
    EXPECT_EQ(BuildSignature(function), "shade,_Light[2,b_u3,fx4,tc");
}

TEST(Node, CheckedViewsAndTypesFollowTheKind)
{
    VariableNode variable;
    OperatorNode operation;
    FunctionNode call(NodeKind::Call);
    EXPECT_EQ(AsVariable(&variable), &variable);
    EXPECT_EQ(AsOperator(&variable), nullptr);
    EXPECT_EQ(AsOperator(&operation), &operation);
    EXPECT_EQ(AsFunction(&call), &call);
    EXPECT_EQ(AsGroup(&call), nullptr);
    EXPECT_EQ(AsVariable(static_cast<Node*>(nullptr)), nullptr);
    LoopNode loop;
    JumpNode jump;
    SelectionNode selection;
    ConstantNode constant;
    EXPECT_EQ(GetNodeType(&loop), nullptr);
    EXPECT_EQ(GetNodeType(&jump), nullptr);
    EXPECT_EQ(GetNodeType(&selection), nullptr);
    EXPECT_EQ(GetNodeType(&constant), &constant.type);
    EXPECT_EQ(GetNodeType(static_cast<Node*>(nullptr)), nullptr);
}

}  // namespace
}  // namespace ShaderTool
