#pragma once

#include <cstdint>

#include "foundation/array.h"
#include "shadertool/ast/node.h"
#include "shadertool/basic/targets.h"
#include "shadertool/basic/type.h"

// The built-in functions of the shading language: type constructors and
// intrinsics are Function records that the translator registers itself.
// The general records are made once, the records of a stage at its first
// source; a parse of the stage before reuses them, and their entries in the
// function table, too.
namespace ShaderTool {

class FunctionTable;
struct FunctionEntry;

// Kept in the subKind of a built-in's record and of every Call resolved to
// it; translators switch on it. 51..98 intrinsics, 99..114 type constructors.
enum IntrinsicId : uint32_t {
    INTRINSIC_ABS = 51,
    INTRINSIC_ACOS = 52,
    INTRINSIC_ALL = 53,
    INTRINSIC_ANY = 54,
    INTRINSIC_ASIN = 55,
    INTRINSIC_ATAN = 56,
    INTRINSIC_ATAN2 = 57,
    INTRINSIC_FLOAT_BITS_TO_UINT = 58,
    INTRINSIC_CEIL = 59,
    INTRINSIC_CLAMP = 60,
    INTRINSIC_COS = 61,
    INTRINSIC_CROSS = 62,
    INTRINSIC_DEGREES = 63,
    INTRINSIC_DISTANCE = 64,
    INTRINSIC_DOT = 65,
    INTRINSIC_EXP = 66,
    INTRINSIC_EXP2 = 67,
    INTRINSIC_FLOOR = 68,
    INTRINSIC_FRAC = 69,
    INTRINSIC_LENGTH = 70,
    INTRINSIC_LERP = 71,
    INTRINSIC_LOAD_INDICES = 72,
    INTRINSIC_LOG = 73,
    INTRINSIC_LOG2 = 74,
    INTRINSIC_MAX = 75,
    INTRINSIC_MIN = 76,
    INTRINSIC_NORMALIZE = 77,
    INTRINSIC_OBJECT_SPACE_TO_WORLD = 78,
    INTRINSIC_POW = 79,
    INTRINSIC_RADIANS = 80,
    INTRINSIC_REFLECT = 81,
    INTRINSIC_RSQRT = 82,
    INTRINSIC_SAMPLE_TEXTURE = 83,
    INTRINSIC_SAMPLE_TEXTURE_COMPARE_LOD_ZERO = 84,
    INTRINSIC_SAMPLE_TEXTURE_GRAD = 85,
    INTRINSIC_SAMPLE_TEXTURE_LOD = 86,
    INTRINSIC_SAMPLE_TEXTURE_LOD_OFFSET = 87,
    INTRINSIC_SATURATE = 88,
    INTRINSIC_SIGN = 89,
    INTRINSIC_SIN = 90,
    INTRINSIC_SMOOTHSTEP = 91,
    INTRINSIC_SQRT = 92,
    INTRINSIC_STEP = 93,
    INTRINSIC_STORE_IMAGE = 94,
    INTRINSIC_TAN = 95,
    INTRINSIC_TRACE = 96,
    INTRINSIC_TRANSPOSE = 97,
    INTRINSIC_UNPACK_UNORM4_TO_FLOAT4 = 98,
    INTRINSIC_BOOL = 99,
    INTRINSIC_FLOAT = 100,
    INTRINSIC_FLOAT2 = 101,
    INTRINSIC_FLOAT3 = 102,
    INTRINSIC_FLOAT4 = 103,
    INTRINSIC_FLOAT2X2 = 104,
    INTRINSIC_FLOAT3X3 = 105,
    INTRINSIC_FLOAT4X4 = 106,
    INTRINSIC_INT = 107,
    INTRINSIC_INT2 = 108,
    INTRINSIC_INT3 = 109,
    INTRINSIC_INT4 = 110,
    INTRINSIC_UINT = 111,
    INTRINSIC_UINT2 = 112,
    INTRINSIC_UINT3 = 113,
    INTRINSIC_UINT4 = 114,
};

constexpr uint32_t FIRST_INTRINSIC_ID = INTRINSIC_ABS;
constexpr uint32_t FIRST_CONSTRUCTOR_ID = INTRINSIC_BOOL;
constexpr uint32_t LAST_INTRINSIC_ID = INTRINSIC_UINT4;

// The name of an intrinsic id as written in source; "" for any other value.
const char* GetIntrinsicName(uint32_t id);

// The general records and those of each stage. Records are owned here and
// freed with the arrays.
struct BuiltInTable {
    BuiltInTable() = default;
    ~BuiltInTable();
    BuiltInTable(const BuiltInTable&) = delete;
    BuiltInTable& operator=(const BuiltInTable&) = delete;

    Array<FunctionNode*> general;
    Array<FunctionNode*> stage[STAGE_COUNT];
    bool stageMade[STAGE_COUNT] = {};

    // What the last PrepareBuiltInsForStage entered into which table: the
    // general records' entries, then the stage's after them.
    const FunctionTable* preparedTable = nullptr;
    const FunctionEntry* lastGeneralEntry = nullptr;
    int32_t preparedStage = STAGE_INVALID;
    int generalEntryCount = 0;
    int preparedEntryCount = 0;
};

// Appends a record with the name, the id, the undefined return type, an
// empty parameter block and an empty signature, and returns it.
FunctionNode* InsertSymbol(const char* name, uint32_t id, Array<FunctionNode*>& records);

// Completes a record made by InsertSymbol: return type, one unnamed
// Variable per parameter, and the signature.
void RegisterBuiltInFunction(FunctionNode& record, const Type& returnType, const Type* parameters, int parameterCount);

// The general records (constructors, then intrinsics), in their fixed order.
void RegisterBuiltInFunctions(Array<FunctionNode*>& general);

// Makes the records that a source of this stage sees, into the stage's
// array, unless they are made already.
void RegisterStageIntrinsics(BuiltInTable& table, int32_t stage);

// Frees every record and its parameter nodes; the count becomes 0.
void ClearFunctionRecords(Array<FunctionNode*>& records);

// Start of every parse: leaves the function table with the general records'
// entries, then the stage records' (a signature already present keeps its
// first record), with clear flags. What the last call for the same table
// entered is kept: only the entries after it, or after the general ones when
// the stage changed, are made again.
void PrepareBuiltInsForStage(BuiltInTable& table, FunctionTable& functions, int32_t stage);

}  // namespace ShaderTool
