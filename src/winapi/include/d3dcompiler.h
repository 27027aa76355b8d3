// The HLSL compiler library: D3DCompile, its flags and the blob objects it
// returns. Programs load the library at run time ("d3dcompiler_47.dll") and
// find D3DCompile with GetProcAddress; pD3DCompile is the entry point's type.
#pragma once

#include <d3dcommon.h>

#define D3DCOMPILER_DLL_A "d3dcompiler_47.dll"
#define D3D_COMPILER_VERSION 47

// Flags1 of D3DCompile.
#define D3DCOMPILE_DEBUG (1 << 0)
#define D3DCOMPILE_SKIP_VALIDATION (1 << 1)
#define D3DCOMPILE_SKIP_OPTIMIZATION (1 << 2)
#define D3DCOMPILE_PACK_MATRIX_ROW_MAJOR (1 << 3)
#define D3DCOMPILE_PACK_MATRIX_COLUMN_MAJOR (1 << 4)
#define D3DCOMPILE_PARTIAL_PRECISION (1 << 5)
#define D3DCOMPILE_FORCE_VS_SOFTWARE_NO_OPT (1 << 6)
#define D3DCOMPILE_FORCE_PS_SOFTWARE_NO_OPT (1 << 7)
#define D3DCOMPILE_NO_PRESHADER (1 << 8)
#define D3DCOMPILE_AVOID_FLOW_CONTROL (1 << 9)
#define D3DCOMPILE_PREFER_FLOW_CONTROL (1 << 10)
#define D3DCOMPILE_ENABLE_STRICTNESS (1 << 11)
#define D3DCOMPILE_ENABLE_BACKWARDS_COMPATIBILITY (1 << 12)
#define D3DCOMPILE_IEEE_STRICTNESS (1 << 13)
#define D3DCOMPILE_OPTIMIZATION_LEVEL0 (1 << 14)
#define D3DCOMPILE_OPTIMIZATION_LEVEL1 0
#define D3DCOMPILE_OPTIMIZATION_LEVEL2 ((1 << 14) | (1 << 15))
#define D3DCOMPILE_OPTIMIZATION_LEVEL3 (1 << 15)
#define D3DCOMPILE_WARNINGS_ARE_ERRORS (1 << 18)
#define D3DCOMPILE_RESOURCES_MAY_ALIAS (1 << 19)
#define D3DCOMPILE_ALL_RESOURCES_BOUND (1 << 21)

// Include handler that opens files relative to the including file.
#define D3D_COMPILE_STANDARD_FILE_INCLUDE ((ID3DInclude*)(UINT_PTR)1)

#ifdef __cplusplus
extern "C" {
#endif

// Compiles HLSL text for the profile pTarget ("vs_4_0", "ps_5_0",
// "vs_4_0_level_9_1", ...) with the entry point pEntrypoint. On success
// *ppCode holds the code; *ppErrorMsgs, when given, receives the warnings or
// errors as text (null when there are none).
HRESULT WINAPI D3DCompile(LPCVOID pSrcData, SIZE_T SrcDataSize, LPCSTR pSourceName, const D3D_SHADER_MACRO* pDefines,
                          ID3DInclude* pInclude, LPCSTR pEntrypoint, LPCSTR pTarget, UINT Flags1, UINT Flags2,
                          ID3DBlob** ppCode, ID3DBlob** ppErrorMsgs);

typedef HRESULT(WINAPI* pD3DCompile)(LPCVOID pSrcData, SIZE_T SrcDataSize, LPCSTR pFileName,
                                     const D3D_SHADER_MACRO* pDefines, ID3DInclude* pInclude, LPCSTR pEntrypoint,
                                     LPCSTR pTarget, UINT Flags1, UINT Flags2, ID3DBlob** ppCode,
                                     ID3DBlob** ppErrorMsgs);

// Makes an empty blob of Size bytes.
HRESULT WINAPI D3DCreateBlob(SIZE_T Size, ID3DBlob** ppBlob);

#ifdef __cplusplus
}
#endif
