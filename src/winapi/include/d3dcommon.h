// Types shared by the Direct3D interfaces and the HLSL compiler library:
// blobs, macro definitions, include handlers and feature levels.
#pragma once

#include <unknwn.h>
#include <windef.h>

#include <basetsd.h>

// A block of bytes handed out by the compiler (code, messages).
DEFINE_GUID(IID_ID3D10Blob, 0x8ba5fb08, 0x5195, 0x40e2, 0xac, 0x58, 0x0d, 0x98, 0x9c, 0x3a, 0x01, 0x02);

struct ID3D10Blob : public IUnknown {
  virtual LPVOID STDMETHODCALLTYPE GetBufferPointer() = 0;
  virtual SIZE_T STDMETHODCALLTYPE GetBufferSize() = 0;
};
DECLARE_UUIDOF(ID3D10Blob, IID_ID3D10Blob);
typedef ID3D10Blob* LPD3D10BLOB;
typedef ID3D10Blob ID3DBlob;
typedef ID3DBlob* LPD3DBLOB;
#define IID_ID3DBlob IID_ID3D10Blob

// One preprocessor definition; an array of them ends with a record of two nulls.
typedef struct _D3D_SHADER_MACRO {
  LPCSTR Name;
  LPCSTR Definition;
} D3D_SHADER_MACRO;
typedef D3D_SHADER_MACRO* LPD3D_SHADER_MACRO;

typedef enum _D3D_INCLUDE_TYPE {
  D3D_INCLUDE_LOCAL = 0,
  D3D_INCLUDE_SYSTEM = 1,
  D3D_INCLUDE_FORCE_DWORD = 0x7fffffff
} D3D_INCLUDE_TYPE;

// Opens the files named by #include on the caller's behalf.
struct ID3DInclude {
  virtual HRESULT STDMETHODCALLTYPE Open(D3D_INCLUDE_TYPE IncludeType, LPCSTR pFileName, LPCVOID pParentData,
                                        LPCVOID* ppData, UINT* pBytes) = 0;
  virtual HRESULT STDMETHODCALLTYPE Close(LPCVOID pData) = 0;
};
typedef ID3DInclude* LPD3DINCLUDE;

typedef enum D3D_FEATURE_LEVEL {
  D3D_FEATURE_LEVEL_9_1 = 0x9100,
  D3D_FEATURE_LEVEL_9_2 = 0x9200,
  D3D_FEATURE_LEVEL_9_3 = 0x9300,
  D3D_FEATURE_LEVEL_10_0 = 0xa000,
  D3D_FEATURE_LEVEL_10_1 = 0xa100,
  D3D_FEATURE_LEVEL_11_0 = 0xb000,
  D3D_FEATURE_LEVEL_11_1 = 0xb100
} D3D_FEATURE_LEVEL;
