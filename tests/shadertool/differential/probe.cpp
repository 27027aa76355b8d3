#include "shadertool/differential/probe.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <sstream>

namespace {

std::vector<double> Numbers(const char* text)
{
    std::istringstream words(text);
    std::vector<double> numbers;
    for (double number = 0; words >> number;) numbers.push_back(number);
    return numbers;
}

template <typename Value>
void Put(std::vector<uint8_t>& bytes, size_t offset, Value value)
{
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

}  // namespace

std::vector<std::string> ListProbes()
{
    std::vector<std::string> names;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(HALVO_TEST_DATA_DIR) / "shaders" / "probes")) {
        if (entry.path().extension() == ".xml") names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool ReadProbe(const std::filesystem::path& path, Probe* probe, std::string* error)
{
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_file(path.c_str());
    if (!parsed) {
        *error = std::string("not XML: ") + parsed.description();
        return false;
    }
    const pugi::xml_node database = document.child("database");
    for (pugi::xml_node node : database.find_child_by_attribute("array", "id", "expected").children("node")) {
        ProbeColumn column;
        column.output = node.attribute("output").as_int(0);
        column.index = node.attribute("id").as_int(-1);
        const std::vector<double> values = Numbers(node.attribute("value").value());
        // Each output's pixels from 0 without gaps, the outputs in order.
        const bool next = probe->columns.empty() ? column.output == 0 && column.index == 0
                          : column.output == probe->columns.back().output
                              ? column.index == probe->columns.back().index + 1
                              : column.output == probe->columns.back().output + 1 && column.index == 0;
        if (!next || values.size() != 4) {
            *error = "expected pixel " + std::to_string(column.index) + " of output " + std::to_string(column.output) +
                     " is out of order or lacks four values";
            return false;
        }
        probe->width = std::max(probe->width, column.index + 1);
        std::copy(values.begin(), values.end(), column.values);
        column.tolerance = node.attribute("tolerance").as_double(column.tolerance);
        column.note = node.attribute("note").value();
        probe->columns.push_back(column);
    }
    if (probe->columns.empty()) {
        *error = "no expected values";
        return false;
    }
    for (pugi::xml_node node : database.find_child_by_attribute("array", "id", "constant_values").children("node")) {
        probe->constantValues[node.attribute("id").value()] = Numbers(node.attribute("value").value());
    }
    for (pugi::xml_node node : database.find_child_by_attribute("array", "id", "vertex_values").children("node")) {
        probe->vertexValues[node.attribute("id").value()] = Numbers(node.attribute("value").value());
    }
    for (pugi::xml_node node : database.find_child_by_attribute("array", "id", "texture_values").children("node")) {
        RowTexture texture;
        texture.width = node.attribute("width").as_uint();
        texture.height = node.attribute("height").as_uint();
        texture.levels = node.attribute("levels").as_uint(1);
        for (double number : Numbers(node.attribute("value").value())) texture.texels.push_back(uint8_t(number));
        if (texture.width == 0 || texture.height == 0 || texture.levels == 0 ||
            texture.texels.size() != texture.Size()) {
            *error = std::string("texture ") + node.attribute("id").value() + " needs " +
                     std::to_string(texture.Size()) + " bytes for its size and levels";
            return false;
        }
        probe->textures[node.attribute("id").value()] = texture;
    }
    return true;
}

bool ConstantSlot(const ShaderTool::ConstantVariable& constant, const Probe& probe, std::vector<uint8_t>* bytes,
                  std::string* error)
{
    const ShaderTool::Type& type = constant.type;
    const int elements = type.arraySize > 0 ? type.arraySize : 1;
    const int size = type.matrixSize;  // 0 for the four-component types
    const size_t perElement = size > 0 ? size_t(size * size) : 4;
    const auto found = probe.constantValues.find(constant.name.GetText());
    if (found == probe.constantValues.end() || found->second.size() != perElement * size_t(elements)) {
        *error = std::string("constant ") + constant.name.GetText() + " needs " +
                 std::to_string(perElement * size_t(elements)) + " numbers";
        return false;
    }
    const std::vector<double>& numbers = found->second;
    bytes->assign(size_t(elements) * (size > 0 ? 64 : 16), 0);
    for (int element = 0; element < elements; ++element) {
        const double* values = numbers.data() + size_t(element) * perElement;
        if (size == 0) {
            for (int component = 0; component < 4; ++component) {
                const size_t at = size_t(element) * 16 + size_t(component) * 4;
                if (type.baseType == ShaderTool::BaseType::INT) {
                    Put(*bytes, at, int32_t(values[component]));
                } else {
                    Put(*bytes, at, float(values[component]));
                }
            }
            continue;
        }
        // Register c of the element is column c: component r of it is row r's value in column c.
        for (int row = 0; row < size; ++row) {
            for (int column = 0; column < size; ++column) {
                Put(*bytes, size_t(element) * 64 + size_t(column) * 16 + size_t(row) * 4,
                    float(values[row * size + column]));
            }
        }
    }
    return true;
}

bool ConstantBlock(const ShaderTool::ConstantList& stage, const ShaderTool::ConstantList& shared, const Probe& probe,
                   std::vector<uint8_t>* block, std::string* error)
{
    block->clear();
    for (const ShaderTool::ConstantList* list : {&stage, &shared}) {
        for (const ShaderTool::ConstantVariable& constant : list->variables) {
            std::vector<uint8_t> slot;
            if (!ConstantSlot(constant, probe, &slot, error)) return false;
            block->insert(block->end(), slot.begin(), slot.end());
        }
    }
    return true;
}

namespace {

// The engine's vertex semantics: the HLSL word and index, and the format of the values.
struct SemanticLayout {
    uint32_t bit;
    const char* semantic;
    uint32_t index;
    RowFormat format;
};
constexpr SemanticLayout kSemanticLayouts[] = {
    {1, "POSITION", 0, RowFormat::Float4},      {2, "COLOR", 0, RowFormat::Unorm8x4},
    {4, "TEXCOORD", 0, RowFormat::Float2},      {8, "NORMAL", 0, RowFormat::Float3},
    {16, "TEXCOORD", 1, RowFormat::Float2},     {32, "TANGENT", 0, RowFormat::Float3},
    {64, "BINORMAL", 0, RowFormat::Float3},     {128, "BLENDINDICES", 0, RowFormat::Uint8x4},
    {256, "BLENDWEIGHT", 0, RowFormat::Float4},
};

}  // namespace

bool ProbeVertices(const ShaderTool::ShaderDescription& description, const Probe& probe, RowVertices* vertices,
                   std::string* error)
{
    vertices->attributes.clear();
    uint32_t offset = 0;
    std::vector<std::vector<double>> values;
    for (const ShaderTool::VertexInputVariable& input : description.vertexInput) {
        const SemanticLayout* layout = nullptr;
        for (const SemanticLayout& candidate : kSemanticLayouts) {
            if (candidate.bit == input.semantic) layout = &candidate;
        }
        if (layout == nullptr) {
            *error = std::string("vertex input ") + input.name.GetText() + " has no semantic of the engine";
            return false;
        }
        RowAttribute attribute{input.name.GetText(), layout->semantic, layout->index, layout->format, offset};
        const int components = RowFormatComponents(layout->format);
        offset += RowFormatIsBytes(layout->format) ? 4 : uint32_t(components) * 4;
        vertices->attributes.push_back(attribute);
        if (input.semantic == 1) {
            values.emplace_back();
            continue;
        }
        const auto found = probe.vertexValues.find(attribute.name);
        if (found == probe.vertexValues.end() || int(found->second.size()) != components) {
            *error = "vertex input " + attribute.name + " needs " + std::to_string(components) + " values";
            return false;
        }
        values.push_back(found->second);
    }
    vertices->stride = offset > 0 ? offset : 16;
    vertices->bytes.assign(size_t(vertices->stride) * 6, 0);
    for (size_t corner = 0; corner < 6; ++corner) {
        uint8_t* vertex = vertices->bytes.data() + corner * vertices->stride;
        for (size_t index = 0; index < vertices->attributes.size(); ++index) {
            const RowAttribute& attribute = vertices->attributes[index];
            const bool position = values[index].empty();
            for (int component = 0; component < RowFormatComponents(attribute.format); ++component) {
                const double value = position ? kCoveringQuad[corner][component] : values[index][size_t(component)];
                if (RowFormatIsBytes(attribute.format)) {
                    vertex[attribute.offset + size_t(component)] = uint8_t(value);
                } else {
                    const float narrowed = float(value);
                    std::memcpy(vertex + attribute.offset + size_t(component) * 4, &narrowed, 4);
                }
            }
        }
    }
    return true;
}
