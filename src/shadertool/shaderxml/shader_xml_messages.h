#pragma once

// Texts of the Shader XML reader's step-log errors (written as "Error: %s\n").
namespace ShaderTool {

constexpr const char* kXmlInvalidVersion = "file is of invalid version.";
constexpr const char* kXmlInvalidTargets = "info array has invalid target(s).";
constexpr const char* kXmlInvalidFeatureLevel = "info array has invalid feature level.";

constexpr const char* kXmlNameExists = "%s with name '%s' already exists.";
constexpr const char* kXmlSlotUsed = "%s '%s' has already used slot.";
constexpr const char* kXmlNoId = "%s does not have 'id' attribute.";
constexpr const char* kXmlIdUnderscore = "%s id starts with an underscore.";
constexpr const char* kXmlConstantNoId = "constant variable (%s) does not have 'id' attribute.";
constexpr const char* kXmlConstantIdUnderscore = "constant variable (%s) id starts with an underscore.";

constexpr const char* kXmlDefinitionNoValue = "definition / general constant '%s' does not have 'value' attribute.";
constexpr const char* kXmlDefinitionFileMissing = "definition / general constant file path '%s' does not exist.";
constexpr const char* kXmlDefinitionFileNested =
    "definition / general constant files are not allowed outside Shader XMLs.";

constexpr const char* kXmlTooManyVertexInputs = "too many vertex input variables, the maximum is %i.";
constexpr const char* kXmlVertexInputSemantic = "vertex input variable '%s' has invalid semantic.";
constexpr const char* kXmlVertexInputFormat = "vertex input format is invalid.";

constexpr const char* kXmlConstantCount = "constant variable (%s) '%s' has invalid count.";
constexpr const char* kXmlConstantType = "constant variable (%s) '%s' has invalid type.";
constexpr const char* kXmlConstantSemantic = "constant variable (%s) '%s' has invalid semantic.";

constexpr const char* kXmlVertexOutputType = "vertex output variable '%s' has invalid type.";
constexpr const char* kXmlSecondPosition = "multiple vertex output variables with semantic 'POSITION' exist.";

constexpr const char* kXmlTooManyPixelTextures = "too many pixel texture variables, the maximum is %i.";
constexpr const char* kXmlPixelTextureSlot = "pixel texture variable '%s' has invalid slot.";
constexpr const char* kXmlPixelTextureType = "pixel texture variable '%s' has invalid type.";
constexpr const char* kXmlPixelTextureAddress = "pixel texture variable '%s' has invalid address mode.";
constexpr const char* kXmlPixelTextureFilter = "pixel texture variable '%s' has invalid filter mode.";
constexpr const char* kXmlPixelTextureSource = "pixel texture variable '%s' has invalid source.";
constexpr const char* kXmlPixelTextureArray =
    "the type of pixel texture variable '%s' is array, which is not supported with pixel shaders";
constexpr const char* kXmlPixelTextureNoSlot =
    "pixel texture variable '%s' does not have slot specified (required for ray tracing shaders).";

constexpr const char* kXmlBufferSlot = "buffer variable '%s' has invalid slot.";
constexpr const char* kXmlBufferType = "buffer variable '%s' has invalid type.";
constexpr const char* kXmlImageType = "image variable '%s' has invalid type.";
constexpr const char* kXmlRayPayloadSlot = "ray payload variable '%s' has invalid slot.";
constexpr const char* kXmlRayPayloadType = "ray payload variable '%s' has invalid type.";
constexpr const char* kXmlSecondInputPayload = "only one input ray payload variable may be defined.";

constexpr const char* kXmlConstantsInRayStages = "constants are not allowed in '%s' and '%s' shaders.";
constexpr const char* kXmlNoInputPayload = "an input ray payload variable must be defined for '%s' and '%s' shaders.";

constexpr const char* kXmlRequiredArray = "required array '%s' does not exist.";
constexpr const char* kXmlSourceType = "shader source %i has invalid type.";
constexpr const char* kXmlRayTracingGroupRule =
    "'ray_tracing_group' must be set in 'info' array for ray tracing shaders, and must not be set for non ray "
    "tracing shaders.";
constexpr const char* kXmlSourceTargets = "shader source %i has invalid target(s).";
constexpr const char* kXmlSourceNoCode = "shader source %i does not define source code.";
constexpr const char* kXmlSourceFileAndCData = "shader source %i defines both file and CDATA.";
constexpr const char* kXmlSourceFileUnreadable = "failed to open or read shader source file '%s'.";
constexpr const char* kXmlSourcesAllTargets = "multiple %s shader sources target all targets.";
constexpr const char* kXmlSourcesSameTarget = "multiple %s shader sources target the same target.";
constexpr const char* kXmlIncompatibleSources = "incompatible shader types '%s' and '%s' in the same Shader XML.";

// Kind words and phrases that the messages above are given.
constexpr const char* kXmlKindVertexInput = "vertex input";
constexpr const char* kXmlKindConstant = "shader constant";
constexpr const char* kXmlKindVertexOutput = "vertex output";
constexpr const char* kXmlKindPixelTexture = "pixel texture";
constexpr const char* kXmlKindPixelOutput = "pixel output";
constexpr const char* kXmlKindBuffer = "buffer";
constexpr const char* kXmlKindImage = "image";
constexpr const char* kXmlKindRayPayload = "ray payload";
constexpr const char* kXmlPhraseVertexInput = "vertex input variable";
constexpr const char* kXmlPhraseVertexOutput = "vertex output variable";
constexpr const char* kXmlPhrasePixelTexture = "pixel texture variable";
constexpr const char* kXmlPhrasePixelOutput = "pixel output variable";
constexpr const char* kXmlPhraseBuffer = "buffer variable";
constexpr const char* kXmlPhraseImage = "image variable";
constexpr const char* kXmlPhraseRayPayload = "ray payload variable";
constexpr const char* kXmlPhraseDefinition = "definition / general constant";

}  // namespace ShaderTool
