#pragma once

// Texts the graphics front end writes about its shaders.
constexpr const char* kShaderTranslatorMutexName = "ShaderTranslator";
constexpr const char* kShaderInitFailed = "Failed to initialize the shader translator.";
constexpr const char* kShaderTranslateFailed = "Failed to translate shader '%s':\n%s";
constexpr const char* kShaderSourcesReadFailedHeading = "Failed to read Shader XML sources";
constexpr const char* kShaderOutputDirectory = "user://shaders";
constexpr const char* kShaderOutputFolder = "shaders/";  // the same folder below the user root
constexpr const char* kShaderDebugKey = "debug_shaders";
