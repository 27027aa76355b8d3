#include "shadertool/basic/type_code.h"

namespace ShaderTool {

Type MakeTypeFromCode(TypeCode code)
{
    switch (code) {
    case TypeCode::Bool: return Type::MakeVector(BaseType::BOOL, 1);
    case TypeCode::Int: return Type::MakeVector(BaseType::INT, 1);
    case TypeCode::Int2: return Type::MakeVector(BaseType::INT, 2);
    case TypeCode::Int3: return Type::MakeVector(BaseType::INT, 3);
    case TypeCode::Int4: return Type::MakeVector(BaseType::INT, 4);
    case TypeCode::Uint: return Type::MakeVector(BaseType::UINT, 1);
    case TypeCode::Uint2: return Type::MakeVector(BaseType::UINT, 2);
    case TypeCode::Uint3: return Type::MakeVector(BaseType::UINT, 3);
    case TypeCode::Uint4: return Type::MakeVector(BaseType::UINT, 4);
    case TypeCode::Float: return Type::MakeVector(BaseType::FLOAT, 1);
    case TypeCode::Float2: return Type::MakeVector(BaseType::FLOAT, 2);
    case TypeCode::Float3: return Type::MakeVector(BaseType::FLOAT, 3);
    case TypeCode::Float4: return Type::MakeVector(BaseType::FLOAT, 4);
    case TypeCode::Float2x2: return Type::MakeMatrix(2);
    case TypeCode::Float3x3: return Type::MakeMatrix(3);
    case TypeCode::Float4x4: return Type::MakeMatrix(4);
    case TypeCode::Void: return Type::MakeVector(BaseType::VOID, 1);
    case TypeCode::Texture2D: return Type::MakeTexture(TEXTURE_2D);
    case TypeCode::Texture3D: return Type::MakeTexture(TEXTURE_3D);
    case TypeCode::TextureCube: return Type::MakeTexture(TEXTURE_CUBE);
    case TypeCode::Image2D: return Type::MakeImage2D();
    case TypeCode::Uint3Buffer: return Type::MakeVector(BaseType::UINT, 3, 0, 0, true);
    default: return Type();
    }
}

}  // namespace ShaderTool
