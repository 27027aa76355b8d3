#pragma once

// Outside tools that judge translated texts: glslangValidator, with
// spirv-val for Vulkan.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "file_text.h"

// Runs a command (or a chain of them); true when it exits with 0. Every stream goes to the log
// file and to *output.
inline bool RunJudge(const std::string& command, const std::filesystem::path& log, std::string* output)
{
    const int status = std::system(("(" + command + ") > " + log.string() + " 2>&1").c_str());
    *output = ReadFileText(log);
    return status == 0;
}

// glslangValidator judges the GLSL file as a shader of its stage
// ("vert", "frag", "rgen" ...); a Vulkan shader is compiled to SPIR-V beside
// it and judged by spirv-val too.
inline bool JudgeGlsl(const std::filesystem::path& file, const std::string& stage, bool vulkan, std::string* output)
{
    const std::filesystem::path log = file.string() + ".log";
    if (!vulkan) return RunJudge("glslangValidator -S " + stage + " " + file.string(), log, output);
    const std::string spirv = file.string() + ".spv";
    return RunJudge("glslangValidator -V --target-env vulkan1.2 -S " + stage + " " + file.string() + " -o " + spirv +
                        " && spirv-val --target-env vulkan1.2 " + spirv,
                    log, output);
}

// Whether glslangValidator must leave the text to another judge: it does not
// know GL_EXT_gpu_shader4, which GLSL21 texts require for level, gradient and
// offset sampling and the instance id. Says why on the test's output.
inline bool GlslangCannotJudge(const std::string& text, const std::string& where)
{
    if (text.find("#extension GL_EXT_gpu_shader4 ") == std::string::npos) return false;
    std::cout << "glslangValidator skips " << where << ": it does not know GL_EXT_gpu_shader4\n";
    return true;
}
