#pragma once

#include <gtest/gtest.h>

#include <string>

#include "shader_interfaces_test_support.h"
#include "shadertool/ast/tree_dump.h"
#include "shadertool/driver/front_end.h"

// A front end with the sprite description of version 2.4 (tests may replace
// it), and helpers that run one source through it and read the step log and
// the tree.
class FrontEndFixture : public ::testing::Test {
protected:
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

    bool RunPixel(const std::string& text) { return Run(text, ShaderTool::STAGE_PIXEL); }

    std::string LogText() const { return frontEnd.stepLog.text.GetText(); }
    std::string ErrorLine(int line, int column, const std::string& message) const
    {
        return path + "(" + std::to_string(line) + ":" + std::to_string(column) + ") error: " + message + "\n";
    }

    // The tree of one top-level declaration.
    std::string DumpDeclaration(int index) const
    {
        const ShaderTool::GroupNode* root = frontEnd.parse.root;
        if (root == nullptr || index >= root->children.GetCount()) return "(missing)";
        return ShaderTool::DumpTree(root->children[index]).GetText();
    }

    // The tree of one statement of the body of the last function.
    std::string DumpStatement(int index) const
    {
        const ShaderTool::GroupNode* root = frontEnd.parse.root;
        const ShaderTool::FunctionNode* main =
            root != nullptr ? ShaderTool::AsFunction(root->children[root->children.GetCount() - 1]) : nullptr;
        const ShaderTool::GroupNode* body =
            main != nullptr && main->children.GetCount() > 1 ? ShaderTool::AsGroup(main->children[1]) : nullptr;
        if (body == nullptr || index >= body->children.GetCount()) return "(missing)";
        return ShaderTool::DumpTree(body->children[index]).GetText();
    }

    std::string path = "test.hvsl";
    ShaderTool::ShaderDescription description = ShaderInterfaces::MakeSprite(0x20004);
    Array<String> definitions;
    ShaderTool::FrontEnd frontEnd;
};

// A pixel main whose only duty is to set output.color.
inline const char* const kPixelMain = "void main()\n{\n\toutput.color = float4(1.0, 1.0, 1.0, 1.0);\n}\n";
