#include "shadertool/sema/stage_struct.h"

#include <span>

#include "shadertool/parser/tree_builder.h"
#include "shadertool/sema/checks.h"
#include "shadertool/sema/semantic_messages.h"
#include "shadertool/sema/stage_struct_inputs.h"

namespace ShaderTool {

namespace {

constexpr SourceLocation kNoLocation = {0, 0};

// The system values the stage provides; a shader reads them but never writes them.
void AddFixedMembers(StructEntry* entry, std::span<const StageStructInputs::NamedType> members)
{
    for (const StageStructInputs::NamedType& member : members) {
        entry->AddMember(member.name, Type::MakeVector(member.baseType, member.vectorSize, QUALIFIER_CONST),
                         kNoLocation);
    }
}

std::span<const StageStructInputs::NamedType> RayStageInputs(int32_t stage)
{
    switch (stage) {
    case STAGE_RCHIT: return StageStructInputs::kClosestHitInputs;
    case STAGE_RGEN: return StageStructInputs::kRayGenerationInputs;
    default: return StageStructInputs::kMissInputs;
    }
}

void DeclareStructVariable(ParseContext& context, const char* name, const char* structName, SourceLocation location)
{
    VariableNode* variable = CreateVariableNode(context, Type::MakeStruct(structName), name, location);
    variable->isStageVariable = true;
    DeclareSymbol(context, variable);
}

// The stage constants: members of "_Constants" from version 2.3 on, globals of their own before.
void AddStageConstants(ParseContext& context, const ShaderDescription& description, const ConstantList& constants)
{
    StructEntry* constantsStruct = context.structs.Find("_Constants");
    for (const ConstantVariable& constant : constants.variables) {
        if (description.version >= CONSTANTS_STRUCT_VERSION && constantsStruct != nullptr) {
            constantsStruct->AddMember(constant.name.GetText(), constant.type, kNoLocation);
            continue;
        }
        VariableNode* variable = CreateVariableNode(context, constant.type, constant.name.GetText(), kNoLocation);
        variable->isShaderConstant = true;
        DeclareSymbol(context, variable);
    }
}

void AddTextures(ParseContext& context, const ShaderDescription& description)
{
    StructEntry* textures = context.structs.Find("_Texture");
    for (const PixelTextureVariable& texture : description.pixelTextures) {
        textures->AddMember(texture.name.GetText(), texture.type, kNoLocation);
    }
}

// The ray stages see the textures, the buffers and the images.
void AddResources(ParseContext& context, const ShaderDescription& description)
{
    AddTextures(context, description);
    StructEntry* buffers = context.structs.Find("_Buffers");
    for (const BufferVariable& buffer : description.buffers) {
        buffers->AddMember(buffer.name.GetText(), buffer.type, kNoLocation);
    }
    StructEntry* images = context.structs.Find("_Images");
    for (const ImageVariable& image : description.images) {
        images->AddMember(image.name.GetText(), image.type, kNoLocation);
    }
}

StructEntry* InsertStageStruct(ParseContext& context, const char* name, bool* added = nullptr)
{
    StructEntry* entry = context.structs.Insert(name, added);
    entry->isStageStruct = true;
    return entry;
}

void BeginStageStructs(ParseContext& context, const ShaderDescription& description)
{
    for (const char* name : {"_Buffers", "_Images", "_Input", "_Output", "_Texture"}) {
        InsertStageStruct(context, name);
    }
    DeclareStructVariable(context, "buffers", "_Buffers", kNoLocation);
    DeclareStructVariable(context, "images", "_Images", kNoLocation);
    DeclareStructVariable(context, "texture", "_Texture", kNoLocation);
    if (description.version >= CONSTANTS_STRUCT_VERSION) {
        InsertStageStruct(context, "_Constants");
        DeclareStructVariable(context, "constants", "_Constants", kNoLocation);
    }
}

}  // namespace

void BuildStageInterface(ParseContext& context, const ShaderDescription& description)
{
    context.description = &description;
    BeginStageStructs(context, description);
    StructEntry* input = context.structs.Find("_Input");
    StructEntry* output = context.structs.Find("_Output");
    switch (context.stage) {
    case STAGE_VERTEX:
        for (const VertexInputVariable& variable : description.vertexInput) {
            input->AddMember(variable.name.GetText(), variable.type, kNoLocation);
        }
        AddFixedMembers(input, StageStructInputs::kVertexInputs);
        for (const VertexOutputVariable& variable : description.vertexOutput) {
            if (output->AddMember(variable.name.GetText(), variable.type, kNoLocation)) {
                context.unassignedOutputs.Add(variable.name);
            }
        }
        AddStageConstants(context, description, description.vertexConstants);
        break;
    case STAGE_PIXEL:
        for (const VertexOutputVariable& variable : description.vertexOutput) {
            input->AddMember(variable.name.GetText(), variable.type, kNoLocation);
        }
        AddFixedMembers(input, StageStructInputs::kPixelInputs);
        for (const String& name : description.pixelOutput) {
            output->AddMember(name.GetText(), Type::MakeVector(BaseType::FLOAT, 4), kNoLocation);
        }
        if (description.pixelOutput.GetCount() == 0) {
            ReportError(context, 0, 0, SemanticMessage::kNoPixelOutput);
        }
        AddStageConstants(context, description, description.pixelConstants);
        AddTextures(context, description);
        break;
    case STAGE_RCHIT:
    case STAGE_RGEN:
    case STAGE_RMISS:
        AddFixedMembers(input, RayStageInputs(context.stage));
        AddResources(context, description);
        break;
    default: break;
    }
    if (StructEntry* constants = context.structs.Find("_Constants")) {
        for (const ConstantVariable& constant : description.constants.variables) {
            constants->AddMember(constant.name.GetText(), constant.type, kNoLocation);
        }
    }
}

void DeclareMainVariables(ParseContext& context, SourceLocation mainLocation)
{
    DeclareStructVariable(context, "input", "_Input", mainLocation);
    DeclareStructVariable(context, "output", "_Output", mainLocation);
    if (context.stage != STAGE_RCHIT && context.stage != STAGE_RGEN && context.stage != STAGE_RMISS) {
        return;
    }
    // Built apart and entered whole, so that a second main finds the same members.
    StructEntry payloads;
    const int payloadCount = context.description != nullptr ? context.description->rayPayloads.GetCount() : 0;
    for (int index = 0; index < payloadCount; ++index) {
        const RayPayloadVariable& payload = context.description->rayPayloads[index];
        const Type& type = payload.type;
        if (type.baseType == BaseType::STRUCT && context.structs.Find(type.name.GetText()) == nullptr) {
            ReportError(
                context, mainLocation.line, mainLocation.column,
                String::Formatted(SemanticMessage::kInvalidRayPayload, payload.name.GetText(), type.name.GetText())
                    .GetText());
            continue;
        }
        payloads.AddMember(payload.name.GetText(), type, kNoLocation);
    }
    bool added = false;
    StructEntry* entry = InsertStageStruct(context, "_RayPayloads", &added);
    if (added) {
        entry->members = payloads.members;
    }
    DeclareStructVariable(context, "ray_payloads", "_RayPayloads", mainLocation);
}

}  // namespace ShaderTool
