#pragma once

// Lets the reference GLSL compiler judge the result types of our built-in
// records and operator rows. Each check is one function on one line of a
// shader; its parameters have the record's parameter types and its body
// passes the GLSL counterpart expression to an overloaded tagOf() whose
// overloads return int arrays of a different length per type. Assigning that
// to an int array of the length of our declared result type compiles only
// when GLSL infers exactly that type: array lengths never convert.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "outside_judge.h"
#include "shadertool/basic/type.h"
#include "support/temporary_folder.h"

namespace ShaderTool {
namespace GlslCheck {

// GLSL spelling of our long type texts; empty for types without one.
inline std::string GlslTypeName(const Type& type)
{
    static const std::map<std::string, std::string> names = {
        {"bool", "bool"},           {"int", "int"},
        {"int2", "ivec2"},          {"int3", "ivec3"},
        {"int4", "ivec4"},          {"uint", "uint"},
        {"uint2", "uvec2"},         {"uint3", "uvec3"},
        {"uint4", "uvec4"},         {"float", "float"},
        {"float2", "vec2"},         {"float3", "vec3"},
        {"float4", "vec4"},         {"float2x2", "mat2"},
        {"float3x3", "mat3"},       {"float4x4", "mat4"},
        {"void", "void"},           {"Texture2D", "sampler2D"},
        {"Texture3D", "sampler3D"}, {"TextureCube", "samplerCube"},
    };
    auto found = names.find(GetTypeText(type, false).GetText());
    return found != names.end() ? found->second : "";
}

// The value types that tagOf() tells apart, in tag order (tag = position + 1).
inline const std::vector<std::string>& TaggedTypes()
{
    static const std::vector<std::string> types = {"bool",  "int",   "ivec2", "ivec3", "ivec4", "uint",
                                                   "uvec2", "uvec3", "uvec4", "float", "vec2",  "vec3",
                                                   "vec4",  "mat2",  "mat3",  "mat4"};
    return types;
}

inline int TagOf(const std::string& glslType)
{
    const std::vector<std::string>& types = TaggedTypes();
    for (size_t index = 0; index < types.size(); ++index) {
        if (types[index] == glslType) return static_cast<int>(index) + 1;
    }
    return 0;
}

struct Check {
    std::string description;  // what is checked, for failure messages
    std::vector<Type> parameters;
    std::string expression;  // GLSL text; $0, $1 ... stand for the parameters
    Type declaredResult;
};

inline std::string Substitute(std::string expression, size_t parameterCount)
{
    for (size_t index = parameterCount; index-- > 0;) {
        const std::string marker = "$" + std::to_string(index);
        const std::string name = "a" + std::to_string(index);
        for (size_t position = expression.find(marker); position != std::string::npos;
             position = expression.find(marker, position + name.size())) {
            expression.replace(position, marker.size(), name);
        }
    }
    return expression;
}

// One line per check. A declared void result is checked by using the
// expression as a statement. tagOffset shifts every tag, to show that a
// wrong declared type is refused.
inline std::string BuildShader(const std::vector<Check>& checks, std::map<int, std::string>& lineToCheck,
                               int tagOffset = 0)
{
    std::ostringstream shader;
    shader << "#version 450\n"
           << "layout(rgba32f) uniform writeonly image2D img;\n"
           << "uniform sampler2DShadow texShadow;\n";
    const std::vector<std::string>& types = TaggedTypes();
    for (size_t index = 0; index < types.size(); ++index) {
        shader << "int[" << index + 1 << "] tagOf(" << types[index] << " x) { return int[" << index + 1 << "](0";
        for (size_t zero = 0; zero < index; ++zero) shader << ", 0";
        shader << "); }\n";
    }
    int line = 4 + static_cast<int>(types.size());  // the line of the first check
    for (size_t index = 0; index < checks.size(); ++index) {
        const Check& check = checks[index];
        shader << "void check" << index << "(";
        for (size_t parameter = 0; parameter < check.parameters.size(); ++parameter) {
            std::string type = GlslTypeName(check.parameters[parameter]);
            if (type.empty()) type = "int";  // images are reached through the global
            shader << (parameter > 0 ? ", " : "") << type << " a" << parameter;
        }
        const std::string expression = Substitute(check.expression, check.parameters.size());
        const std::string result = GlslTypeName(check.declaredResult);
        if (result == "void") {
            shader << ") { " << expression << "; }\n";
        } else {
            int tag = TagOf(result);
            if (tag == 0) {
                ADD_FAILURE() << check.description << ": no GLSL type for the declared result";
            }
            tag = (tag - 1 + tagOffset) % static_cast<int>(types.size()) + 1;
            shader << ") { int[" << tag << "] r = tagOf(" << expression << "); }\n";
        }
        lineToCheck[line] = check.description;
        ++line;
    }
    shader << "void main() {}\n";
    return shader.str();
}

struct CompileResult {
    int exitCode = -1;
    std::string output;
};

// Compiles the source as a fragment shader in a fresh temporary folder.
inline CompileResult Compile(const std::string& source)
{
    const TemporaryFolder folder("shadertool-glsl");
    const std::filesystem::path shaderPath = folder.Path() / "check.frag";
    std::ofstream(shaderPath) << source;
    CompileResult result;
    const bool valid =
        RunJudge("glslangValidator \"" + shaderPath.string() + "\"", folder.Path() / "output.txt", &result.output);
    result.exitCode = valid ? 0 : 1;
    return result;
}

// The checks whose lines the compiler reported, or its whole output when no
// line is named.
inline std::string DescribeFailures(const CompileResult& result, const std::map<int, std::string>& lineToCheck)
{
    std::string failures;
    std::istringstream lines(result.output);
    std::string text;
    while (std::getline(lines, text)) {
        int line = 0;
        if (std::sscanf(text.c_str(), "ERROR: 0:%d:", &line) == 1 && lineToCheck.count(line) != 0) {
            failures += lineToCheck.at(line) + ": " + text + "\n";
        }
    }
    return failures.empty() ? result.output : failures;
}

inline bool CompilerIsInstalled() { return std::system("glslangValidator --version > /dev/null 2>&1") == 0; }

}  // namespace GlslCheck
}  // namespace ShaderTool
