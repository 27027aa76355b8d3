// A probe of the differential tests: a Shader XML of tests/data/shaders/probes
// whose pixel stage writes one value per pixel of a row, with two arrays of
// its own beside the Shader XML's: "expected", the four values each pixel must
// read (worked out by hand from the language's rules), and "constant_values",
// the values the program gives each constant; when it samples textures,
// "texture_values", each texture's size, levels and texels; and when it
// has vertex inputs besides the position, "vertex_values", the values every
// corner gives each of them.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "shadertool/basic/shader_description.h"
#include "support/row_texture.h"
#include "support/row_vertices.h"

struct ProbeColumn {
    int output = 0;           // the pixel output, in declaration order
    int index = 0;            // the pixel, from the left
    double values[4] = {};    // what it must read
    double tolerance = 1e-5;  // of the difference, relative to values above 1
    std::string note;         // how the values come about
};

struct Probe {
    std::vector<ProbeColumn> columns;  // per output (the "output" attribute, 0 when none) in pixel order from 0
    int width = 0;                     // pixels of every output's row
    // Per constant name: its numbers in the language's order (a matrix row after row, an array element
    // after element).
    std::map<std::string, std::vector<double>> constantValues;
    std::map<std::string, RowTexture> textures;  // per pixel texture name
    std::map<std::string, std::vector<double>> vertexValues;
};

// The probes' file names, sorted.
std::vector<std::string> ListProbes();

// Reads the expected values and the constant values of the probe file; false with the reason.
bool ReadProbe(const std::filesystem::path& path, Probe* probe, std::string* error);

// The bytes of one constant's slot in the engine's constant block: 16 per
// element of a four-component type, 64 per element of a matrix, whose
// register c holds column c of the matrix (the platform's default packing).
// False with the reason when the probe gives the constant the wrong count of numbers.
bool ConstantSlot(const ShaderTool::ConstantVariable& constant, const Probe& probe, std::vector<uint8_t>* bytes,
                  std::string* error);

// One stage's constant block as the engine builds it: the stage's own constants, then the shared ones,
// each at its slot in declaration order.
bool ConstantBlock(const ShaderTool::ConstantList& stage, const ShaderTool::ConstantList& shared, const Probe& probe,
                   std::vector<uint8_t>* block, std::string* error);

// The six corners with every vertex input of the description, each in the
// format the engine's vertex layout gives its semantic (floats, the colour and
// the bone indices as four bytes, the colour normalised); the position is the
// corner's.
bool ProbeVertices(const ShaderTool::ShaderDescription& description, const Probe& probe, RowVertices* vertices,
                   std::string* error);
