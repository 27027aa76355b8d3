#pragma once

#include <cstdint>

#include "foundation/string.h"

namespace ShaderTool {

// The Windows headers define VOID as a macro; keep the enumerator's name
// usable in this header even when they were included before it.
#pragma push_macro("VOID")
#undef VOID

// Kind of a value. Scoped, because BOOL, FLOAT, INT and UINT are also
// Windows type names that code of this namespace may need.
enum class BaseType : uint32_t {
    BOOL = 0,
    FLOAT = 1,
    IMAGE = 2,
    INT = 3,
    STRUCT = 4,
    TEXTURE = 5,
    UINT = 6,
    VOID = 7,
    UNDEFINED = 8,  // not typed yet; never valid
};

#pragma pop_macro("VOID")

enum TextureDimension : uint32_t {
    TEXTURE_2D = 0,
    TEXTURE_3D = 1,
    TEXTURE_CUBE = 2,
    TEXTURE_NONE = 3,
};

// Bits of Type::qualifiers.
constexpr uint32_t QUALIFIER_CONST = 1;

// The image shape of the two-dimensional image; every other type carries 1.
constexpr int32_t IMAGE_SHAPE_2D = 0;

// The type of every value, variable, parameter, struct member and node of
// the shading language. A plain value, copied wherever it is kept.
struct Type {
    String name;            // struct name; empty for every other kind
    int32_t arraySize = 0;  // 0: no array; N > 0: N elements
    BaseType baseType = BaseType::UNDEFINED;
    int32_t vectorSize = 0;   // 1 scalar, 2..4 vector; 0 for matrices and resources
    int32_t imageShape = 1;   // IMAGE_SHAPE_2D for the 2D image, 1 for everything else
    int32_t matrixSize = 0;   // N for an N x N float matrix
    uint32_t qualifiers = 0;  // QUALIFIER_ bits
    TextureDimension textureDimension = TEXTURE_NONE;
    uint8_t isBuffer = 0;       // a buffer resource of elements of this type
    uint8_t isConstant = 0;     // value known at translation time
    uint8_t isIndexBuffer = 0;  // a buffer of uint3 triangle indices

    // A default Type is the undefined type that fresh nodes and records start with.
    Type() = default;

    static Type MakeVector(BaseType baseType, int32_t vectorSize, uint32_t qualifiers = 0, int32_t arraySize = 0,
                           bool isBuffer = false);
    static Type MakeMatrix(int32_t matrixSize, uint32_t qualifiers = 0, int32_t arraySize = 0, bool isBuffer = false);
    // A const texture of one dimension, as the built-in signatures take it.
    static Type MakeTexture(TextureDimension dimension);
    // The const two-dimensional image.
    static Type MakeImage2D();
    static Type MakeStruct(const char* structName, uint32_t qualifiers = 0, int32_t arraySize = 0);

    // Whether a variable, parameter or Shader XML variable may have this type.
    bool IsValidVariableType() const;
    bool IsNumeric() const;
};

// Long form ("float3", "float4x4", "Texture2D", struct name) for messages and
// target text; short form ("f3", "fx4", "t2", "_Light", "b_u3[2") for signatures.
String GetTypeText(const Type& type, bool shortForm);

// Text of the base kind alone, long or short.
String GetBaseTypeName(const Type& type, bool shortForm);

// Whether a value of the actual type may stand where the expected type is
// required. Conversions, when allowed: int or uint to float, int to uint.
// Array sizes are not compared; an actual array is refused unless allowed.
bool TypesMatch(const Type& expected, const Type& actual, bool allowConversion, bool allowArray);

}  // namespace ShaderTool
