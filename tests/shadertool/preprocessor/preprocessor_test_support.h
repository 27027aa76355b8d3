#pragma once

#include <gtest/gtest.h>

#include <string>

#include "shadertool/preprocessor/preprocessor.h"

// A preprocessor context with its global macros and a step log, as the
// translator's global state keeps them.
class PreprocessorFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        context.log = &log;
        ShaderTool::DefineGlobalMacros(context);
    }

    bool Run(const std::string& text, uint32_t target = ShaderTool::TARGET_HLSL11,
             uint32_t stage = ShaderTool::STAGE_VERTEX, bool listOnly = false)
    {
        ShaderTool::ShaderSource source;
        source.path = path.c_str();
        source.text = text.c_str();
        source.firstLine = 1;
        source.stage = stage;
        log.Clear();
        return ShaderTool::Preprocess(context, description, target, source, definitions, listOnly);
    }

    std::string Output() const { return context.output.GetText(); }
    std::string LogText() const { return log.text.GetText(); }
    // One error line of the step log, as the preprocessor writes it, for the
    // source or the named file.
    std::string ErrorLine(int line, int column, const std::string& message, const std::string& file = "") const
    {
        return (file.empty() ? path : file) + "(" + std::to_string(line) + ":" + std::to_string(column) +
               ") error: " + message + "\n";
    }

    std::string path = "main.hvsl";
    ShaderTool::Log log;
    ShaderTool::PreprocessorContext context;
    ShaderTool::ShaderDescription description;
    Array<String> definitions;
};
