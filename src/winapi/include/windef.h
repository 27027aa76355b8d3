// Base types, handle types and the small helper macros of the platform.
// LONG, ULONG and DWORD are 32 bits wide as on the platform (not the 64-bit
// C "long" of this system), so records keep the platform's layout.
#pragma once

#include <basetsd.h>

#ifndef _MSC_VER
#ifndef __stdcall
#define __stdcall
#endif
#ifndef __cdecl
#define __cdecl
#endif
// __declspec(x) expands to the compiler's own attribute for the few
// specifiers that code built against the platform uses.
#ifndef __declspec
#define __declspec(x) HALVO_DECLSPEC_##x
#define HALVO_DECLSPEC_dllexport __attribute__((visibility("default")))
#define HALVO_DECLSPEC_dllimport
#define HALVO_DECLSPEC_noinline __attribute__((noinline))
#define HALVO_DECLSPEC_noreturn __attribute__((noreturn))
#define HALVO_DECLSPEC_novtable
#define HALVO_DECLSPEC_selectany __attribute__((weak))
#define HALVO_DECLSPEC_thread thread_local
#define HALVO_DECLSPEC_align(n) __attribute__((aligned(n)))
#define HALVO_DECLSPEC_uuid(x)
#endif
#endif

#define WINAPI __stdcall
#define WINAPIV __cdecl
#define APIENTRY WINAPI
#define CALLBACK __stdcall
#define PASCAL __stdcall
#define FAR
#define NEAR
#define CONST const
#define VOID void

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef NULL
#ifdef __cplusplus
#define NULL nullptr
#else
#define NULL ((void*)0)
#endif
#endif

#define MAX_PATH 260

typedef int BOOL, *PBOOL, *LPBOOL;
typedef unsigned char BYTE, *PBYTE, *LPBYTE;
typedef unsigned char UCHAR, *PUCHAR;
typedef BYTE BOOLEAN, *PBOOLEAN;
typedef unsigned short WORD, *PWORD, *LPWORD;
typedef unsigned short USHORT, *PUSHORT;
typedef unsigned int DWORD, *PDWORD, *LPDWORD;
typedef int LONG, *PLONG, *LPLONG;
typedef unsigned int ULONG, *PULONG;
typedef unsigned int UINT, *PUINT;
typedef int INT, *PINT, *LPINT;
typedef short SHORT, *PSHORT;
typedef char CHAR, *PCHAR;
typedef float FLOAT, *PFLOAT;
typedef long long LONGLONG, *PLONGLONG;
typedef unsigned long long ULONGLONG, *PULONGLONG;
typedef ULONGLONG DWORDLONG, *PDWORDLONG;
typedef wchar_t WCHAR, *PWCHAR;

typedef void* PVOID;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef char *LPSTR, *PSTR;
typedef const char *LPCSTR, *PCSTR;
typedef WCHAR *LPWSTR, *PWSTR;
typedef const WCHAR *LPCWSTR, *PCWSTR;
typedef char TCHAR, *LPTSTR;
typedef const char* LPCTSTR;
#define TEXT(text) text

typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef WORD ATOM;
typedef DWORD COLORREF;
typedef LONG HRESULT;

typedef void *HANDLE, **PHANDLE, **LPHANDLE;
typedef HANDLE HGLOBAL;
typedef HANDLE HLOCAL;

// Opaque handle types: each is a pointer to its own incomplete record, so that
// handles of different kinds do not convert into one another. The layer that
// owns a kind may complete its record.
#define DECLARE_HANDLE(name) \
    struct name##__;         \
    typedef struct name##__* name
DECLARE_HANDLE(HINSTANCE);
typedef HINSTANCE HMODULE;
DECLARE_HANDLE(HWND);
DECLARE_HANDLE(HDC);
DECLARE_HANDLE(HICON);
DECLARE_HANDLE(HMENU);
DECLARE_HANDLE(HBRUSH);
DECLARE_HANDLE(HMONITOR);
DECLARE_HANDLE(HKEY);
typedef HICON HCURSOR;

// Entry points found at run time. The platform declares these as returning
// INT_PTR; here they return nothing, the one function type that GCC lets
// code cast to the entry point's real type without -Wcast-function-type
// (part of -Wextra) objecting, so callers' casts compile as they are.
typedef void(WINAPI* FARPROC)();
typedef void(WINAPI* NEARPROC)();
typedef void(WINAPI* PROC)();

#define MAKEWORD(low, high) \
    ((WORD)(((BYTE)(((DWORD_PTR)(low)) & 0xff)) | ((WORD)((BYTE)(((DWORD_PTR)(high)) & 0xff))) << 8))
#define MAKELONG(low, high) \
    ((LONG)(((WORD)(((DWORD_PTR)(low)) & 0xffff)) | ((DWORD)((WORD)(((DWORD_PTR)(high)) & 0xffff))) << 16))
#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define LOBYTE(w) ((BYTE)(((DWORD_PTR)(w)) & 0xff))
#define HIBYTE(w) ((BYTE)((((DWORD_PTR)(w)) >> 8) & 0xff))

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT, *PPOINT, *LPPOINT;

typedef struct tagSIZE {
    LONG cx;
    LONG cy;
} SIZE, *PSIZE, *LPSIZE;

typedef struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT, *PRECT, *LPRECT;
typedef const RECT* LPCRECT;
