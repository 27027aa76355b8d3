#pragma once

#include <cstdint>

#include "foundation/byte_buffer.h"
#include "foundation/string.h"
#include "shadertool/basic/shader_description.h"
#include "shadertool/basic/translation_settings.h"
#include "shadertool/shaderxml/shader_xml_reader.h"

// What the engine calls on the shader translator. There is no lock inside:
// every caller holds the engine mutex "ShaderTranslator" from the read to the
// Reset and reads the outputs under it.
namespace ShaderTool {

// Creates the compilers and translators of the targets in the mask that do
// not have them yet, and stores the output directory. debug turns on the
// up-to-date checks and re-reading of included definition files.
bool Initialize(uint32_t targetMask, uint32_t featureLevel, const String& outputDirectory, bool debug);

// How the "source" attributes of a Shader XML's pixel textures find their
// bitmaps and take a reference on each, and how the references are given
// back when the translator is reset or drops a texture.
void SetBitmapGetter(BitmapGetter getter);
void SetBitmapReleaser(BitmapReleaser releaser);

// Reads a Shader XML from its file (text null) or from text into the
// translator's description.
bool ReadShaderXML(const String& path, const char* text, bool reload, bool declarationsOnly);

// Reads the sources of a Shader XML read with declarationsOnly.
bool ReadShaderSources();

// Translates every source of the Shader XML for the selected targets; true
// also when it is skipped.
bool TranslateShaderXML(const String& path, const TranslationSettings& settings, bool reload);

// The description of the Shader XML last read.
const ShaderDescription& GetDescription();

// The code or text written for a stage, and bit 1 << stage for every stage
// written.
const ByteBuffer& GetStageOutput(int32_t stage);
uint32_t GetStageMask();

// The largest source stamp of the last translation.
int32_t GetStamp();

// The main log's text.
const String& GetLogText();

// Moves the step log into the main log, under the heading when there is one.
void FlushLog(const String& heading);

// Empties the state for the next shader; compilers and translators stay.
void Reset();

}  // namespace ShaderTool
