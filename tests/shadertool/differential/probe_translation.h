// A probe translated by the engine's translation driver for one target, as
// the renderer asks for it: the Shader XML read from "res://", HLSL11
// compiled by our HLSL compiler library, every other target's text taken
// from the files the driver writes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shadertool/basic/shader_description.h"

struct ProbeStages {
    bool forTarget = false;  // the probe's target list names the target
    bool translated = false;
    std::string log;  // the driver's main log
    ShaderTool::ShaderDescription description;
    std::string texts[2];           // vertex and pixel text (every target but HLSL11)
    std::vector<uint8_t> codes[2];  // vertex and pixel code (HLSL11)
};

// Makes the driver ready for the targets with the probes folder as "res://"; false with the log.
bool PrepareProbeDriver(const std::string& probesFolder, uint32_t targets, std::string* log);

ProbeStages TranslateProbe(const std::string& file, uint32_t target);
