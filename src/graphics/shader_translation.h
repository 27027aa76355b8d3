#pragma once

#include <cstdint>

#include "graphics/shader_record.h"

// The graphics front end's calls into the shader translator. Each takes the
// engine mutex "ShaderTranslator" for the whole of its work.

// Results of HVI_ReadShaderSources and HVI_LoadShader.
enum HVI_ShaderReadResult : int {
    HVI_SHADER_TRANSLATED = 0,
    HVI_SHADER_FAILED = 1,
    HVI_SHADER_UP_TO_DATE = 3,
};

// Initialises the translator for the running renderer's target and feature
// level; in developer mode with "debug_shaders" set the translated texts are
// also written to "user://shaders". False when the translator could not be
// initialised.
bool HVI_InitShaders();

// Loads the shader's Shader XML (its name is the path), then translates its
// sources for the renderer and keeps the stage outputs in the record, unless
// the code the record holds is up to date.
int HVI_LoadShader(HV_Shader& shader, bool reload);
// The same for Shader XML text with its sources inside; the shader's name
// stands for its path in the translator's messages.
int HVI_LoadShaderText(HV_Shader& shader, const char* xmlText);

// Translates the sources of the description already read into the global
// state for the renderer, and stores the translator's stamp in the record.
// Called under "ShaderTranslator" with the description loaded.
int HVI_ReadShaderSources(HV_Shader& shader, bool reload);

// Reads a shader's declarations from Shader XML text into the record. A
// failure is shown as a popup with the translator's log.
bool HVI_CreateShaderFromSource(HV_Shader& shader, const char* name, const char* xmlText);
